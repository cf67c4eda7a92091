// The decisions of the dialog look that need no window.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "look3d/Look3dRules.h"

namespace setup::look3d {
namespace {

TEST(Look3dVersion, VersionHookModeAndDisplay) {
  const struct {
    std::uint32_t system;
    std::uint16_t winVersion;
    HookMode mode;
  } cases[] = {
      {0x04000004, 0x400, HookMode::AtCreation},      // NT 4.0
      {0x80000A03, 0x30A, HookMode::AtFirstMessage},  // Windows 3.10 with Win32s
      {0xC0000004, 0x400, HookMode::AtCreation},      // Windows 95
      {0x80005F03, 0x35F, HookMode::AtCreation},      // 3.95 draws its own look
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WinVersionOf(c.system), c.winVersion) << std::hex << c.system;
    EXPECT_EQ(HookModeOf(c.system), c.mode) << std::hex << c.system;
  }
  EXPECT_TRUE(DisplayTakesLook(4, 1, 640, 480));
  EXPECT_TRUE(DisplayTakesLook(1, 4, 800, 600));
  EXPECT_FALSE(DisplayTakesLook(1, 1, 1024, 768));
  EXPECT_FALSE(DisplayTakesLook(8, 1, 640, 350));
}

TEST(Look3dColours, FixUps) {
  const Look3dColours system{0xF0F0F0, 0xC0C0C0, 0x808080, 0x000001,
                             0xFFFFFE, 0x000002, 0x000000, 0x0000FF};
  EXPECT_EQ(FixColours(system, 0x30A).grayText, 0x808080u);
  EXPECT_EQ(FixColours(system, 0x30A).highlight, 0xF0F0F0u);
  EXPECT_EQ(FixColours(system, 0x300).highlight, 0xFFFFFFu);
  Look3dColours darkFace = system;
  darkFace.face = darkFace.grayText = 0x808080;
  EXPECT_EQ(FixColours(darkFace, 0x400).grayText, 0xC0C0C0u);
  Look3dColours ownGray = system;
  ownGray.grayText = 0x102030;
  EXPECT_EQ(FixColours(ownGray, 0x400).grayText, 0x102030u);
}

TEST(Look3dText, MnemonicPrefixAndVisibleLabel) {
  EXPECT_EQ(MnemonicPrefix(false, "kanji", ""), 0);
  EXPECT_EQ(MnemonicPrefix(true, "roman", "english"), 30);
  EXPECT_EQ(MnemonicPrefix(true, "KANJI", "english"), 31);
  EXPECT_EQ(MnemonicPrefix(true, "roman", "Hangeul"), 31);
  EXPECT_EQ(VisibleLabel("&Install", 0), "Install");
  EXPECT_EQ(VisibleLabel("A && B&", 0), "A & B");
  EXPECT_EQ(VisibleLabel("Ja\x1e(J)", 30), "Ja(J)");
}

TEST(Look3dEligibility, ByClassStyleVersionAndMoment) {
  constexpr std::uint16_t k351 = 0x333, k40 = 0x400;
  const struct {
    const char* className;
    std::uint32_t style;
    std::uint16_t version;
    unsigned bits;
    bool creating, parentIsCombo;
    std::uint32_t ownerStyle;
    bool eligible;
  } cases[] = {
      {"Button", 0x00000029, k351, kAllClassBits, true, false, 0, true},   // left-text radio
      {"Button", 0x0000000B, k351, kAllClassBits, true, false, 0, false},  // owner-drawn
      {"Button", 0x00000000, k40, kAllClassBits, true, false, 0, false},
      {"Button", 0x00000000, k351, kListBit, false, false, 0, false},
      {"ListBox", 0, k351, kAllClassBits, true, true, 0, true},
      {"ListBox", 0, k40, kAllClassBits, true, true, 0, false},
      {"Edit", 0, k40, kAllClassBits, false, false, 0, true},
      {"ComboBox", 2, k351, kAllClassBits, true, false, 0, false},
      {"ComboBox", 2, k351, kAllClassBits, false, false, 0, true},
      {"ComboBox", 3, k351, kAllClassBits, true, false, 0, true},
      {"ComboLBox", 0, k351, kAllClassBits, true, false, 1, true},
      {"ComboLBox", 0, k351, kAllClassBits, true, false, 3, false},
      {"Static", 3, k351, kAllClassBits, true, false, 0, false},  // icon
      {"Static", 12, k351, kStaticTextBit, true, false, 0, true},
      {"Static", 2, k351, kStaticFrameBit, true, false, 0, false},
      {"Static", 7, k40, kStaticFrameBit, true, false, 0, true},
      {"Static", 0x12, k40, kAllClassBits, true, false, 0, false},
      {"Static", 0xE, k351, kAllClassBits, true, false, 0, false},  // bitmap
  };
  for (const auto& c : cases) {
    const ControlClassRow* row = FindControlClass(c.className);
    ASSERT_NE(row, nullptr) << c.className;
    EXPECT_EQ(IsEligible({row->kind, c.style, c.version, c.bits, c.creating, c.parentIsCombo,
                          c.ownerStyle}),
              c.eligible)
        << c.className << " style " << std::hex << c.style << " version " << c.version;
  }
  EXPECT_EQ(ComboChildrenOf(0x2 | 0x40), ComboChildren::FirstAsEdit);
  EXPECT_EQ(ComboChildrenOf(3), ComboChildren::None);
  EXPECT_EQ(ComboChildrenOf(1), ComboChildren::FirstAsListNextAsEdit);
  EXPECT_TRUE(ComboNeedsChild(1));
  EXPECT_FALSE(ComboNeedsChild(3));
}

TEST(Look3dDialog, WhichDialogsGetTheLookAndTheirFrameAndColours) {
  EXPECT_TRUE(DialogGetsLook(0x333, kStyle3dLook));
  EXPECT_TRUE(DialogGetsLook(0x400, 0x80));
  EXPECT_FALSE(DialogGetsLook(0x35F, kStyle3dLook));
  EXPECT_TRUE(DialogFramePainted(0x10C800C0));
  EXPECT_FALSE(DialogFramePainted(0x00C800C0));  // hidden
  EXPECT_FALSE(DialogFramePainted(0x10C80040));  // no modal frame

  const unsigned list = 0x134, button = 0x135, edit = 0x133, scroll = 0x137, box = 0x132;
  EXPECT_TRUE(LookAnswersColour(button, 0x400, false, false));
  EXPECT_TRUE(LookAnswersColour(list, 0x333, true, false));
  EXPECT_FALSE(LookAnswersColour(list, 0x333, true, true));
  EXPECT_FALSE(LookAnswersColour(list, 0x333, false, false));
  EXPECT_FALSE(LookAnswersColour(list, 0x400, true, false));
  for (unsigned other : {edit, scroll, box}) EXPECT_FALSE(LookAnswersColour(other, 0x333, 1, 0));
}

TEST(Look3dCheckBoxCell, EveryKindAndStateStaysInsideTheBitmap) {
  using K = ButtonKind;
  for (K kind : {K::CheckBox, K::Radio, K::ThreeState})
    for (int i = 0; i < 12; ++i) {  // pushed, disabled and the state 0 to 2
      const Point cell = CheckBoxCell(kind, i & 1, i >> 2, (i & 2) != 0);
      EXPECT_LE(cell.x + kCellWidth, kBitmapWidth) << i;
      EXPECT_LE(cell.y + kCellHeight, kBitmapHeight) << i;
    }
  EXPECT_EQ(CheckBoxCell(K::CheckBox, true, 1, false), (Point{42, 0}));
  EXPECT_EQ(CheckBoxCell(K::CheckBox, true, 1, true), (Point{56, 0}));  // not past the bitmap
  EXPECT_EQ(CheckBoxCell(K::CheckBox, true, 0, true), (Point{28, 0}));
  EXPECT_EQ(CheckBoxCell(K::Radio, false, 1, false), (Point{14, 13}));
  EXPECT_EQ(CheckBoxCell(K::ThreeState, true, 2, true), (Point{56, 26}));
  EXPECT_EQ(ButtonKindOf(0x29), ButtonKind::Radio);
  EXPECT_EQ(ButtonKindOf(6), ButtonKind::ThreeState);
  EXPECT_EQ(ButtonKindOf(7), ButtonKind::GroupBox);
  EXPECT_EQ(ButtonKindOf(1), ButtonKind::Push);
}

}  // namespace
}  // namespace setup::look3d
