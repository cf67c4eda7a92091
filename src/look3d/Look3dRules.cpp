#include "look3d/Look3dRules.h"

#include <algorithm>
#include <cctype>

namespace setup::look3d {
namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::uint32_t SwapRedBlue(std::uint32_t colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

bool StaticEligible(std::uint32_t type, unsigned classBits, bool beforeSystemLook) {
  switch (type) {
    case 0:
    case 1:
    case 2:
    case 12:
      return classBits & kStaticTextBit;
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
      return classBits & kStaticFrameBit;
    case 16:
    case 17:
    case 18:
      return beforeSystemLook && (classBits & kStaticFrameBit);
    default:  // icons, bitmaps and owner-drawn statics keep their own painting
      return false;
  }
}

Rect Shrunk(Rect r, int by) {
  return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

}  // namespace

std::uint16_t WinVersionOf(std::uint32_t systemVersion) {
  return static_cast<std::uint16_t>(((systemVersion & 0xFF) << 8) | ((systemVersion >> 8) & 0xFF));
}

HookMode HookModeOf(std::uint32_t systemVersion) {
  const bool notNt = systemVersion & 0x80000000u;
  return notNt && WinVersionOf(systemVersion) < kVersion35F ? HookMode::AtFirstMessage
                                                            : HookMode::AtCreation;
}

bool DisplayTakesLook(int bitsPerPixel, int planes, int width, int height) {
  return bitsPerPixel * planes >= 4 && !(width == 640 && height == 350);
}

char MnemonicPrefix(bool doubleByte, std::string_view kanjiMenu, std::string_view hangeulMenu) {
  if (!doubleByte) return 0;
  return EqualIgnoringCase(kanjiMenu, "kanji") || EqualIgnoringCase(hangeulMenu, "hangeul") ? 31
                                                                                            : 30;
}

std::string VisibleLabel(std::string_view text, char prefix) {
  std::string seen;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (prefix && text[i] == prefix) continue;
    if (text[i] == '&' && ++i == text.size()) break;
    seen += text[i];
  }
  return seen;
}

Look3dColours FixColours(Look3dColours system, std::uint16_t winVersion) {
  if (winVersion == kVersion300) system.highlight = 0xFFFFFF;
  if (system.grayText == 0 || system.grayText == system.face)
    system.grayText = system.face == 0x808080 ? 0xC0C0C0 : 0x808080;
  return system;
}

void ReplaceBitmapColours(std::span<std::uint32_t, 16> table, const Look3dColours& colours) {
  const std::array<std::uint32_t, 6> replacements{colours.windowText, colours.shadow,
                                                  colours.face,       colours.frame,
                                                  colours.window,     colours.highlight};
  for (std::size_t i = 0; i < replacements.size(); ++i)
    table[kReplacedPaletteEntries[i]] = SwapRedBlue(replacements[i]);
}

bool DialogGetsLook(std::uint16_t winVersion, std::uint32_t dialogStyle) {
  return winVersion < kVersion35F || !(dialogStyle & kStyle3dLook);
}

bool DialogFramePainted(std::uint32_t dialogStyle) {
  constexpr std::uint32_t kVisible = 0x10000000, kDialogFrame = 0x00400000, kModalFrame = 0x80;
  return (dialogStyle & kVisible) && (dialogStyle & kDialogFrame) && (dialogStyle & kModalFrame);
}

const ControlClassRow* FindControlClass(std::string_view className) {
  for (const ControlClassRow& row : kControlClassTable)
    if (EqualIgnoringCase(row.name, className)) return &row;
  return nullptr;
}

bool IsEligible(const Candidate& c) {
  const bool beforeSystemLook = c.winVersion < kVersion35F;
  switch (c.kind) {
    case ControlClass::Button:
      return beforeSystemLook && (c.classBits & kButtonBit) &&
             ((c.style & 0xFFFF) & ~kLeftText) <= 9;
    case ControlClass::ListBox:
      return (c.classBits & kListBit) && (beforeSystemLook || !c.parentIsCombo);
    case ControlClass::Edit:
      return (c.classBits & kEditBit) && (beforeSystemLook || !c.parentIsCombo);
    case ControlClass::ComboBox:
      // A drop-down combo's edit is made after the combo; the combo waits for its dialog.
      return beforeSystemLook && (c.classBits & kComboBit) && !(c.creating && (c.style & 3) == 2);
    case ControlClass::Static:
      return StaticEligible(c.style & 0x1F, c.classBits, beforeSystemLook);
    case ControlClass::ComboLBox:
      return beforeSystemLook && (c.classBits & kListBit) &&
             (!c.creating || (c.ownerComboStyle & 3) <= 1);
  }
  return false;
}

ComboChildren ComboChildrenOf(std::uint32_t comboStyle) {
  switch (comboStyle & 3) {
    case 2:
      return ComboChildren::FirstAsEdit;
    case 3:
      return ComboChildren::None;
    default:
      return ComboChildren::FirstAsListNextAsEdit;
  }
}

bool ComboNeedsChild(std::uint32_t comboStyle) {
  return (comboStyle & 3) < 2;
}

bool IsDropDownList(std::uint32_t comboStyle) {
  return (comboStyle & 3) == 3;
}

ButtonKind ButtonKindOf(std::uint32_t style) {
  switch (style & 0xF) {
    case 0:
    case 1:
      return ButtonKind::Push;
    case 2:
    case 3:
      return ButtonKind::CheckBox;
    case 4:
    case 9:
      return ButtonKind::Radio;
    case 5:
    case 6:
      return ButtonKind::ThreeState;
    case 7:
      return ButtonKind::GroupBox;
    default:
      return ButtonKind::Other;
  }
}

Point CheckBoxCell(ButtonKind kind, bool pushed, int checkState, bool disabled) {
  const int checked = checkState != 0;
  int row = 0;
  if (kind == ButtonKind::Radio) row = 1;
  if (kind == ButtonKind::ThreeState && checkState == 2) row = 2;
  // The cells: unchecked, checked, pushed or disabled unchecked, pushed checked, disabled
  // checked. Pushing a disabled box must not move it past the last cell.
  const int cell = disabled ? (checked ? 4 : 2) : 2 * pushed + checked;
  return {cell * kCellWidth, row * kCellHeight};
}

bool IsColourMessage(unsigned message) {
  return message >= kFirstColourMessage && message <= kLastColourMessage;
}

bool LookAnswersColour(unsigned message, std::uint16_t winVersion, bool controlHasChild,
                       bool controlIsDropDownList) {
  constexpr unsigned kListBox = 0x134, kButton = 0x135, kDialog = 0x136, kStatic = 0x138;
  switch (message) {
    case kListBox:
      return winVersion < kVersion35F && controlHasChild && !controlIsDropDownList;
    case kButton:
    case kDialog:
    case kStatic:
      return true;
    default:
      return false;
  }
}

void AddBox(Fills& fills, Rect r, Role topLeft, Role bottomRight) {
  fills.push_back({{r.left, r.top, r.right - 1, r.top + 1}, topLeft});
  fills.push_back({{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft});
  fills.push_back({{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight});
  fills.push_back({{r.right - 1, r.top, r.right, r.bottom - 1}, bottomRight});
}

Fills DialogFrame(int width, int height, const FrameMetrics& m, bool hasCaption) {
  Fills fills;
  AddBox(fills, {0, 0, width, height}, Role::Shadow, Role::Frame);
  AddBox(fills, {1, 1, width - 1, height - 1}, Role::Highlight, Role::Shadow);
  const Rect in = Shrunk({0, 0, width, height}, 2);
  const int top = m.frameHeight - (hasCaption ? 1 : 0);
  const int left = in.left + m.frameWidth, right = in.right - m.frameWidth;
  fills.push_back({{in.left, in.top, left, in.bottom}, Role::Face});
  fills.push_back({{right, in.top, in.right, in.bottom}, Role::Face});
  fills.push_back({{left, in.top, right, in.top + top}, Role::Face});
  fills.push_back({{left, in.bottom - m.frameHeight, right, in.bottom}, Role::Face});
  if (hasCaption)
    AddBox(fills, {left, in.top + top, right, in.top + top + m.captionHeight}, Role::Shadow,
           Role::Highlight);
  return fills;
}

Fills SunkenBorder(Rect r, int scrollWidth, int scrollHeight) {
  Fills fills;
  fills.push_back({{r.left, r.top, r.right - 1, r.top + 1}, Role::Frame});
  fills.push_back({{r.left, r.top, r.left + 1, r.bottom - 1}, Role::Frame});
  // Beside a scroll bar the inner line gives way to the bar; its strip ends in the frame
  // colour, and the outer highlight line alone makes the edge.
  if (scrollHeight == 0) {
    fills.push_back({{r.left, r.bottom - 1, r.right - scrollWidth, r.bottom}, Role::Face});
    if (scrollWidth)
      fills.push_back({{r.right - scrollWidth, r.bottom - 1, r.right, r.bottom}, Role::Frame});
  }
  if (scrollWidth == 0) {
    fills.push_back(
        {{r.right - 1, r.top, r.right, r.bottom - (scrollHeight ? scrollHeight : 1)}, Role::Face});
    if (scrollHeight)
      fills.push_back({{r.right - 1, r.bottom - scrollHeight, r.right, r.bottom}, Role::Frame});
  }
  AddBox(fills, Shrunk(r, -1), Role::Shadow, Role::Highlight);
  return fills;
}

Fills PushButtonEdges(Rect r, bool pushed, bool thickBorder) {
  Fills fills;
  AddBox(fills, r, Role::Frame, Role::Frame);
  if (thickBorder) AddBox(fills, Shrunk(r, 1), Role::Frame, Role::Frame);
  const Rect in = Shrunk(r, thickBorder ? 2 : 1);
  if (pushed) {
    AddBox(fills, in, Role::Shadow, Role::Face);
    fills.push_back({Shrunk(in, 1), Role::Face});
    return fills;
  }
  AddBox(fills, in, Role::Highlight, Role::Shadow);
  AddBox(fills, Shrunk(in, 1), Role::Highlight, Role::Shadow);
  fills.push_back({Shrunk(in, 2), Role::Face});
  return fills;
}

Fills EtchedBox(Rect r) {
  Fills fills;
  AddBox(fills, {r.left + 1, r.top + 1, r.right, r.bottom}, Role::Highlight, Role::Highlight);
  AddBox(fills, {r.left, r.top, r.right - 1, r.bottom - 1}, Role::Shadow, Role::Shadow);
  return fills;
}

Fills StaticLines(Rect r, std::uint32_t style) {
  Fills fills;
  switch (style & 0x1F) {
    case 4:
    case 7:
      AddBox(fills, r, Role::Shadow, Role::Highlight);
      break;
    case 6:
    case 9:
      AddBox(fills, r, Role::Highlight, Role::Shadow);
      break;
    case 5:
    case 8:
    case 16:
    case 17:
    case 18:
      fills = EtchedBox(r);
      break;
    default:
      break;
  }
  return fills;
}

std::uint32_t AutoSubclassFlags(std::uint32_t given) {
  return given & 2 ? given & ~3u : given | kAutoSubclass;
}

HookEntry* ThreadHookTable::Find(std::uint32_t thread) {
  if (lastUsed_ && *lastUsed_ < size_ && entries_[*lastUsed_].thread == thread)
    return &entries_[*lastUsed_];
  for (std::size_t i = 0; i < size_; ++i) {
    if (entries_[i].thread == thread) {
      lastUsed_ = i;
      return &entries_[i];
    }
  }
  return nullptr;
}

bool ThreadHookTable::Add(const HookEntry& entry) {
  if (size_ == kCapacity) return false;
  entries_[size_++] = entry;
  return true;
}

std::optional<std::uintptr_t> ThreadHookTable::Release(std::uint32_t thread,
                                                       std::uintptr_t instance) {
  HookEntry* entry = Find(thread);
  if (!entry) return std::nullopt;
  if (entry->count-- > 1 && entry->instance != instance) return std::nullopt;
  const std::uintptr_t hook = entry->hook;
  RemoveAt(static_cast<std::size_t>(entry - entries_.data()));
  return hook;
}

void ThreadHookTable::RemoveAt(std::size_t index) {
  std::copy(entries_.begin() + index + 1, entries_.begin() + size_, entries_.begin() + index);
  --size_;
  // The remembered index may now name another thread's entry.
  lastUsed_.reset();
}

}  // namespace setup::look3d
