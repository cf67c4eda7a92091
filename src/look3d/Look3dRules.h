#pragma once

// The decisions of the three-dimensional dialog look that need no window: which system
// version gets what, which controls are subclassed, which bitmap cell a box shows, the
// colours and the geometry of the painted lines. Window messages and styles are written as
// the numbers Windows gives them, so that this file needs no <windows.h>.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace setup::look3d {

// System versions as major * 256 + minor.
inline constexpr std::uint16_t kVersion300 = 0x300;
inline constexpr std::uint16_t kVersion30A = 0x30A;
// From here on the system draws most of the look itself.
inline constexpr std::uint16_t kVersion35F = 0x35F;

// From the value GetVersion gives: low byte major, next byte minor.
std::uint16_t WinVersionOf(std::uint32_t systemVersion);

// 32: new windows are subclassed when they are created; 16: at their first message, on
// systems that are no Windows NT and older than 3.95.
enum class HookMode { AtFirstMessage = 16, AtCreation = 32 };
HookMode HookModeOf(std::uint32_t systemVersion);

bool DisplayTakesLook(int bitsPerPixel, int planes, int width, int height);

// The character that marks a mnemonic besides '&' on double-byte systems, 0 on others.
char MnemonicPrefix(bool doubleByte, std::string_view kanjiMenu, std::string_view hangeulMenu);
// What of a button text is seen: mnemonic markers and the prefix character dropped.
std::string VisibleLabel(std::string_view text, char prefix);

// Colours as COLORREF values (0x00BBGGRR).
struct Look3dColours {
  std::uint32_t highlight, face, shadow, buttonText, window, windowText, grayText, frame;
};
Look3dColours FixColours(Look3dColours system, std::uint16_t winVersion);

// The check box bitmap's colour table (RGBQUAD read as little-endian 0x00RRGGBB): the entries
// the bitmap is drawn with become the current colours.
inline constexpr std::array<int, 6> kReplacedPaletteEntries{0, 7, 8, 10, 11, 15};
void ReplaceBitmapColours(std::span<std::uint32_t, 16> table, const Look3dColours& colours);

// Private messages between the look and the windows it serves.
inline constexpr unsigned kQueryFramePaint = 0x11EF;
inline constexpr unsigned kQueryLook = 0x11F0;
inline constexpr unsigned kQuerySubclassed = 0x1943;
inline constexpr unsigned kQuerySubclassedToo = 0x1944;
inline constexpr std::uint32_t kQueryUnanswered = 666;
inline constexpr unsigned kOwnColourOffset = 0xCBF;
enum QueryAnswer : int {
  kAnswerButton = 1000,
  kAnswerList = 1001,
  kAnswerEdit = 1002,
  kAnswerCombo = 1003,
  kAnswerStatic = 1004,
  kAnswerDialog = 1006
};

// The dialog style bit of the system's own three-dimensional look.
inline constexpr std::uint32_t kStyle3dLook = 0x4;
bool DialogGetsLook(std::uint16_t winVersion, std::uint32_t dialogStyle);
// Visible, with the dialog frame and the modal frame bit.
bool DialogFramePainted(std::uint32_t dialogStyle);

enum class ControlClass { Button, ListBox, Edit, ComboBox, Static, ComboLBox };
enum ClassBit : unsigned {
  kButtonBit = 1,
  kListBit = 2,
  kEditBit = 4,
  kComboBit = 8,
  kStaticTextBit = 0x10,
  kStaticFrameBit = 0x20,
  kAllClassBits = 0x3F
};
struct ControlClassRow {
  const char* name;
  ControlClass kind;
  unsigned classBit;
};
inline constexpr std::array<ControlClassRow, 6> kControlClassTable{{
    {"Button", ControlClass::Button, kButtonBit},
    {"ListBox", ControlClass::ListBox, kListBit},
    {"Edit", ControlClass::Edit, kEditBit},
    {"ComboBox", ControlClass::ComboBox, kComboBit},
    {"Static", ControlClass::Static, kStaticTextBit | kStaticFrameBit},
    {"ComboLBox", ControlClass::ComboLBox, kListBit},
}};
// The row of a class name (compared ignoring case, as Windows does), or null.
const ControlClassRow* FindControlClass(std::string_view className);

struct Candidate {
  ControlClass kind;
  std::uint32_t style;
  std::uint16_t winVersion;
  unsigned classBits;
  bool creating;
  bool parentIsCombo;
  std::uint32_t ownerComboStyle;  // for a combo's list only
};
bool IsEligible(const Candidate& candidate);

// What a combo box's subclassing does to its children, once its dialog subclasses controls.
enum class ComboChildren { None, FirstAsEdit, FirstAsListNextAsEdit };
ComboChildren ComboChildrenOf(std::uint32_t comboStyle);
bool ComboNeedsChild(std::uint32_t comboStyle);
bool IsDropDownList(std::uint32_t comboStyle);

enum class ButtonKind { Push, CheckBox, Radio, ThreeState, GroupBox, Other };
ButtonKind ButtonKindOf(std::uint32_t style);
inline constexpr std::uint32_t kLeftText = 0x20;

inline constexpr int kCellWidth = 14, kCellHeight = 13;
inline constexpr int kBitmapWidth = 70, kBitmapHeight = 39;
struct Point {
  int x, y;
  friend bool operator==(const Point&, const Point&) = default;
};
// The top left of the bitmap cell a box shows; checkState 2 is the third state. A disabled
// box ignores being pushed: it shows the same cell whether pushed or not.
Point CheckBoxCell(ButtonKind kind, bool pushed, int checkState, bool disabled);

// The colour messages (WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC) and which of them the look
// itself answers.
inline constexpr unsigned kFirstColourMessage = 0x132, kLastColourMessage = 0x138;
bool IsColourMessage(unsigned message);
bool LookAnswersColour(unsigned message, std::uint16_t winVersion, bool controlHasChild,
                       bool controlIsDropDownList);

// Lines and bands to be filled, each with one of the look's colours.
enum class Role { Highlight, Face, Shadow, Frame };
struct Rect {
  int left, top, right, bottom;
  friend bool operator==(const Rect&, const Rect&) = default;
};
struct Fill {
  Rect rect;
  Role role;
  friend bool operator==(const Fill&, const Fill&) = default;
};
using Fills = std::vector<Fill>;

// A one-pixel line around `r`, `topLeft` on the top and left edges, `bottomRight` on the others.
void AddBox(Fills& fills, Rect r, Role topLeft, Role bottomRight);

// The dialog frame over the window's rectangle (0, 0, width, height). `frameWidth` and
// `frameHeight` are the system's dialog frame metrics less one.
struct FrameMetrics {
  int frameWidth, frameHeight, captionHeight;
};
Fills DialogFrame(int width, int height, const FrameMetrics& metrics, bool hasCaption);

// The sunken border of an edit, list or combo `r` (in its parent's coordinates); a scroll bar
// strip of `scrollWidth` at the right or `scrollHeight` at the bottom changes that edge.
Fills SunkenBorder(Rect r, int scrollWidth, int scrollHeight);

// Raised push button edges inside its client rectangle `r`, inside the window frame border.
Fills PushButtonEdges(Rect r, bool pushed, bool thickBorder);

// Static frames by style; none for text and icon styles.
Fills StaticLines(Rect r, std::uint32_t style);
// An etched rectangle: a shadow box, and a highlight one one pixel to the right and below.
Fills EtchedBox(Rect r);

// Threads whose creation of windows the look watches.
struct HookEntry {
  std::uintptr_t instance;
  std::uint32_t thread;
  std::uintptr_t hook;
  std::uint32_t count;
  std::uint32_t flags;
};
inline constexpr std::uint32_t kAutoSubclass = 1;
std::uint32_t AutoSubclassFlags(std::uint32_t given);

class ThreadHookTable {
 public:
  static constexpr std::size_t kCapacity = 128;

  // The thread's entry; the last one found is tried first.
  HookEntry* Find(std::uint32_t thread);
  // False when the table is full.
  bool Add(const HookEntry& entry);
  // Takes a reference of the thread's entry away; when that was the last one, or when the
  // entry belongs to `instance`, removes the entry and gives its hook to be removed.
  std::optional<std::uintptr_t> Release(std::uint32_t thread, std::uintptr_t instance);
  std::size_t size() const { return size_; }

 private:
  void RemoveAt(std::size_t index);

  std::array<HookEntry, kCapacity> entries_{};
  std::size_t size_ = 0;
  std::optional<std::size_t> lastUsed_;
};

}  // namespace setup::look3d
