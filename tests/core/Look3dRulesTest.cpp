// The decisions of the dialog look that need no window.
#include <gtest/gtest.h>

#include <cstdint>

#include "look3d/Look3dRules.h"

namespace setup::look3d {
namespace {

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
      {"ListBox", 0, k40, kAllClassBits, true, true, 0, false},
      {"Edit", 0, k40, kAllClassBits, false, false, 0, true},
      {"ComboBox", 2, k351, kAllClassBits, true, false, 0, false},
      {"ComboBox", 2, k351, kAllClassBits, false, false, 0, true},
      {"ComboLBox", 0, k351, kAllClassBits, true, false, 3, false},
      {"Static", 7, k40, kStaticFrameBit, true, false, 0, true},
      {"Static", 0x12, k40, kAllClassBits, true, false, 0, false},
  };
  for (const auto& c : cases) {
    const ControlClassRow* row = FindControlClass(c.className);
    ASSERT_NE(row, nullptr) << c.className;
    EXPECT_EQ(IsEligible({row->kind, c.style, c.version, c.bits, c.creating, c.parentIsCombo,
                          c.ownerStyle}),
              c.eligible)
        << c.className << " style " << std::hex << c.style << " version " << c.version;
  }
  // A dialog that draws the system's own look keeps it.
  EXPECT_TRUE(DialogGetsLook(0x333, kStyle3dLook));
  EXPECT_FALSE(DialogGetsLook(0x35F, kStyle3dLook));
}

TEST(Look3dCheckBoxCell, EveryKindAndStateStaysInsideTheBitmap) {
  using K = ButtonKind;
  for (K kind : {K::CheckBox, K::Radio, K::ThreeState})
    for (int i = 0; i < 12; ++i) {  // pushed, disabled and the state 0 to 2
      const Point cell = CheckBoxCell(kind, i & 1, i >> 2, (i & 2) != 0);
      EXPECT_LE(cell.x + kCellWidth, kBitmapWidth) << i;
      EXPECT_LE(cell.y + kCellHeight, kBitmapHeight) << i;
    }
}

}  // namespace
}  // namespace setup::look3d
