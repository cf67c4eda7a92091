#include <windows.h>

#include <string>

#include "look3d/Gdi.h"
#include "look3d/Look3dState.h"

namespace setup::look3d {
namespace {

constexpr int kImageSize = kCellHeight;  // the cell's last column only spaces the cells
constexpr int kTextOffset = 18;
constexpr int kComboEditId = 1001, kComboListId = 1000;

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The brush the parent paints the control's background with; the look's face otherwise.
HBRUSH ParentBrush(HWND control, HDC dc, UINT colourMessage) {
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(control), colourMessage,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(control)));
  return brush ? brush : State().faceBrush;
}

void SelectFont(HWND control, HDC dc) {
  if (const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)))
    SelectObject(dc, font);
}

RECT ClientRect(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return r;
}

// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// ---- Buttons ----

enum Part : unsigned { kBackground = 1, kText = 2, kImage = 4, kAllParts = 7 };

UINT ButtonState(const Message& msg) {
  return static_cast<UINT>(CallWindowProcA(msg.previous, msg.window, BM_GETSTATE, 0, 0));
}

// The messages whose painting the previous procedure is kept from, and what they repaint.
std::optional<unsigned> StatePartsOf(UINT message) {
  switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
      return kImage;
    case WM_ENABLE:
      return kText | kImage;
    case WM_SETFOCUS:
    case WM_SETTEXT:
      return kAllParts;
    case WM_KILLFOCUS:
      return 0u;
    default:
      return std::nullopt;
  }
}

// Messages after which the button's state may have changed without a state message.
bool MayChangeState(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case BM_CLICK:
      return true;
    default:
      return false;
  }
}

LRESULT PassUnseen(const Message& msg) {
  const LONG style = GetWindowLongA(msg.window, GWL_STYLE);
  if (!(style & WS_VISIBLE)) return msg.Pass();
  SetWindowLongA(msg.window, GWL_STYLE, style & ~WS_VISIBLE);
  const LRESULT result = msg.Pass();
  SetWindowLongA(msg.window, GWL_STYLE, GetWindowLongA(msg.window, GWL_STYLE) | WS_VISIBLE);
  return result;
}

struct ButtonLook {
  HWND window;
  HDC dc;
  RECT client;
  std::uint32_t style;
  UINT state;
  bool enabled;
  std::string text;
  HBRUSH brush;

  COLORREF TextColour() const {
    return enabled ? State().colours.buttonText : State().colours.grayText;
  }
};

void PaintPushButton(const ButtonLook& b) {
  const bool pushed = b.state & BST_PUSHED;
  FillRoles(b.dc, PushButtonEdges(ToRect(b.client), pushed,
                                  (b.style & 0xF) == BS_DEFPUSHBUTTON && b.enabled));
  for (POINT corner :
       {POINT{b.client.left, b.client.top}, POINT{b.client.right - 1, b.client.top},
        POINT{b.client.left, b.client.bottom - 1}, POINT{b.client.right - 1, b.client.bottom - 1}})
    PatBlt(b.dc, corner.x, corner.y, 1, 1, PATCOPY);
  RECT text{};
  DrawTextA(b.dc, b.text.c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
  const int width = text.right, height = text.bottom, shift = pushed ? 1 : 0;
  text.left = (b.client.right - width) / 2 + shift;
  text.top = (b.client.bottom - height) / 2 + shift;
  text.right = std::min<LONG>(text.left + width, b.client.right - 3);
  text.bottom = std::min<LONG>(text.top + height, b.client.bottom - 3);
  SetTextColor(b.dc, b.TextColour());
  DrawTextA(b.dc, b.text.c_str(), -1, &text, DT_SINGLELINE);
  if (b.state & BST_FOCUS) {
    InflateRect(&text, 1, 1);
    DrawFocusRect(b.dc, &text);
  }
}

void PaintBoxImage(const ButtonLook& b, ButtonKind kind) {
  const Point cell = CheckBoxCell(kind, b.state & BST_PUSHED, b.state & 3, !b.enabled);
  const int x = b.style & kLeftText ? b.client.right - kImageSize : 0;
  MemoryDc memory(b.dc);
  SavedDc saved(memory.get());
  SelectObject(memory.get(), State().checkBoxBitmap);
  BitBlt(b.dc, x, (b.client.bottom - kImageSize) / 2, kImageSize, kImageSize, memory.get(), cell.x,
         cell.y, SRCCOPY);
}

// The text strip is cleared first, which also takes an old focus rectangle away.
void PaintBoxText(const ButtonLook& b) {
  const bool leftText = b.style & kLeftText;
  RECT area = b.client;
  if (leftText)
    area.right -= kTextOffset;
  else
    area.left += kTextOffset;
  FillRect(b.dc, &area, b.brush);
  SetTextColor(b.dc, b.TextColour());
  DrawTextA(b.dc, b.text.c_str(), -1, &area,
            DT_SINGLELINE | DT_VCENTER | (leftText ? DT_RIGHT : DT_LEFT));
  if (!(b.state & BST_FOCUS)) return;
  const std::string seen = VisibleLabel(b.text, State().mnemonicPrefix);
  SIZE size{};
  GetTextExtentPoint32A(b.dc, seen.c_str(), static_cast<int>(seen.size()), &size);
  RECT focus{leftText ? area.right - size.cx : area.left, (area.bottom - size.cy) / 2, 0, 0};
  focus.right = focus.left + size.cx;
  focus.bottom = focus.top + size.cy;
  InflateRect(&focus, 1, 1);
  IntersectRect(&focus, &focus, &b.client);
  DrawFocusRect(b.dc, &focus);
}

int GroupTextHeight(const ButtonLook& b) {
  SIZE size{};
  const std::string measured = b.text.empty() ? "X" : b.text;
  GetTextExtentPoint32A(b.dc, measured.c_str(), static_cast<int>(measured.size()), &size);
  return size.cy;
}

void PaintGroupBox(const ButtonLook& b) {
  const int height = GroupTextHeight(b);
  RECT strip{b.client.left, b.client.top, b.client.right, b.client.top + height};
  FillRect(b.dc, &strip, b.brush);
  FillRoles(b.dc, EtchedBox({b.client.left, height / 2, b.client.right, b.client.bottom}));
  if (b.text.empty()) return;
  RECT text{4, 0, b.client.right, height};
  SetTextColor(b.dc, b.TextColour());
  DrawTextA(b.dc, b.text.c_str(), -1, &text, DT_SINGLELINE);
}

void PaintButton(HWND window, HDC dc, unsigned parts, bool erase) {
  SavedDc saved(dc);
  ButtonLook b{window,
               dc,
               ClientRect(window),
               static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE)),
               0,
               IsWindowEnabled(window) != FALSE,
               WindowText(window),
               nullptr};
  b.state = static_cast<UINT>(SendMessageA(window, BM_GETSTATE, 0, 0));
  IntersectClipRect(dc, b.client.left, b.client.top, b.client.right, b.client.bottom);
  SelectFont(window, dc);
  b.brush = ParentBrush(window, dc, WM_CTLCOLORBTN);
  SelectObject(dc, b.brush);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, State().colours.face);
  const ButtonKind kind = ButtonKindOf(b.style);
  if (erase && kind != ButtonKind::GroupBox) FillRect(dc, &b.client, b.brush);
  switch (kind) {
    case ButtonKind::Push:
      PaintPushButton(b);
      break;
    case ButtonKind::CheckBox:
    case ButtonKind::Radio:
    case ButtonKind::ThreeState:
      if (parts & kImage) PaintBoxImage(b, kind);
      if (parts & kText) PaintBoxText(b);
      break;
    case ButtonKind::GroupBox:
      PaintGroupBox(b);
      break;
    case ButtonKind::Other:
      break;
  }
}

// Painting outside WM_PAINT leaves the part still to be updated to the coming WM_PAINT.
void RepaintButton(HWND window, unsigned parts) {
  WindowDc dc(window);
  SavedDc saved(dc.get());
  OwnedGdi pending(CreateRectRgn(0, 0, 0, 0));
  if (GetUpdateRgn(window, static_cast<HRGN>(pending.get()), FALSE) > NULLREGION)
    ExtSelectClipRgn(dc.get(), static_cast<HRGN>(pending.get()), RGN_DIFF);
  PaintButton(window, dc.get(), parts, parts & kBackground);
}

void InvalidateGroupText(HWND window) {
  WindowDc dc(window);
  SavedDc saved(dc.get());
  SelectFont(window, dc.get());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc.get(), &metrics);
  RECT strip = ClientRect(window);
  strip.bottom = metrics.tmHeight;
  InvalidateRect(window, &strip, TRUE);
}

std::optional<LRESULT> OnButtonMessage(const Message& msg) {
  const auto style = static_cast<std::uint32_t>(GetWindowLongA(msg.window, GWL_STYLE));
  const ButtonKind kind = ButtonKindOf(style);
  if (kind == ButtonKind::Other) return std::nullopt;
  if (msg.message == WM_PAINT) {
    PaintDc paint(msg.window);
    PaintButton(msg.window, paint.get(), kAllParts, paint.erase());
    return 0;
  }
  const std::optional<unsigned> stateParts = StatePartsOf(msg.message);
  if (!stateParts && !MayChangeState(msg.message)) return std::nullopt;
  const UINT before = ButtonState(msg);
  if (msg.message == WM_KILLFOCUS && (style & 0xF) == BS_AUTORADIOBUTTON)
    SendMessageA(msg.window, BM_SETSTATE, FALSE, 0);
  const LRESULT result = stateParts && msg.message != WM_SETFOCUS ? PassUnseen(msg) : msg.Pass();
  const UINT after = ButtonState(msg);
  unsigned parts = stateParts.value_or(0);
  if ((msg.message == BM_SETCHECK || msg.message == BM_SETSTATE) && before == after) parts = 0;
  if ((before ^ after) & (3 | BST_PUSHED)) parts |= kImage;
  if ((before ^ after) & BST_FOCUS) parts |= kText;
  if (!IsWindowVisible(msg.window)) return result;
  if (kind == ButtonKind::GroupBox && msg.message == WM_SETTEXT)
    InvalidateGroupText(msg.window);
  else if (parts)
    RepaintButton(msg.window, parts);
  return result;
}

// ---- Edits, lists and combo boxes ----

bool IsComboPart(HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id != kComboEditId && id != kComboListId) return false;
  HWND parent = GetParent(control);
  if (HasClass(parent, "ComboBox")) return true;
  std::uint32_t value = kQueryUnanswered;
  return SendMessageA(parent, kQuerySubclassed, 0, reinterpret_cast<LPARAM>(&value)) ==
         kAnswerCombo;
}

// The border lies one pixel outside the control: moving it must repaint that ring in the
// parent (which, without clipped children, repaints the control too).
void InvalidateBorderRing(HWND control) {
  HWND parent = GetParent(control);
  if (!parent) return;
  RECT r = RectInParent(control);
  OwnedGdi ring(CreateRectRgn(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1));
  OwnedGdi inside(CreateRectRgn(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1));
  CombineRgn(static_cast<HRGN>(ring.get()), static_cast<HRGN>(ring.get()),
             static_cast<HRGN>(inside.get()), RGN_DIFF);
  InvalidateRgn(parent, static_cast<HRGN>(ring.get()), TRUE);
}

bool MovesOrHides(const Message& msg) {
  if (msg.message != WM_WINDOWPOSCHANGING && msg.message != WM_WINDOWPOSCHANGED) return false;
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(msg.lParam);
  return (pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE) ||
         (pos->flags & SWP_HIDEWINDOW);
}

void DrawBorder(HWND control, Fills fills) {
  HWND parent = GetParent(control);
  WindowDc dc(parent);
  FillRoles(dc.get(), fills);
}

void DrawSunkenBorder(HWND control) {
  HWND framed = IsComboPart(control) ? GetParent(control) : control;
  if (!IsWindowVisible(framed)) return;
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const int scrollWidth =
      framed == control && (style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  const int scrollHeight =
      framed == control && (style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
  const bool caret = HasClass(control, "Edit");
  if (caret) HideCaret(control);
  DrawBorder(framed, SunkenBorder(ToRect(RectInParent(framed)), scrollWidth, scrollHeight));
  if (caret) ShowCaret(control);
}

std::optional<LRESULT> OnBorderedMessage(const Message& msg) {
  if (MovesOrHides(msg)) {
    const LRESULT result = msg.Pass();
    InvalidateBorderRing(msg.window);
    return result;
  }
  if (msg.message != WM_PAINT) return std::nullopt;
  const LRESULT result = msg.Pass();
  DrawSunkenBorder(msg.window);
  return result;
}

void DrawDropDownListBorder(HWND combo) {
  const Rect r = ToRect(RectInParent(combo));
  Fills fills = SunkenBorder(r, 0, 0);
  const int button = GetSystemMetrics(SM_CXVSCROLL);
  fills.push_back({{r.right - 1, r.top, r.right, r.bottom}, Role::Frame});
  fills.push_back({{r.right - button, r.bottom - 1, r.right, r.bottom}, Role::Frame});
  DrawBorder(combo, fills);
}

std::optional<LRESULT> OnComboMessage(const Message& msg) {
  const auto style = static_cast<std::uint32_t>(GetWindowLongA(msg.window, GWL_STYLE));
  // A drop-down combo's edit draws the border.
  if (ComboChildrenOf(style) == ComboChildren::FirstAsEdit) return std::nullopt;
  if (MovesOrHides(msg)) {
    const LRESULT result = msg.Pass();
    InvalidateBorderRing(msg.window);
    return result;
  }
  if (msg.message != WM_PAINT || !IsDropDownList(style)) return std::nullopt;
  const LRESULT result = msg.Pass();
  if (IsWindowVisible(msg.window) && !SendMessageA(msg.window, CB_GETDROPPEDSTATE, 0, 0))
    DrawDropDownListBorder(msg.window);
  return result;
}

// ---- Statics ----

bool IsTextStatic(std::uint32_t type) {
  return type <= SS_RIGHT || type == SS_LEFTNOWORDWRAP;
}

void PaintStatic(HWND window, HDC dc) {
  SavedDc saved(dc);
  const RECT client = ClientRect(window);
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  const auto style = static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE));
  const std::uint32_t type = style & SS_TYPEMASK;
  if (!IsTextStatic(type)) {
    FillRoles(dc, StaticLines(ToRect(client), style));
    return;
  }
  FillRect(dc, &client, ParentBrush(window, dc, WM_CTLCOLORSTATIC));
  SelectFont(window, dc);
  if (!IsWindowEnabled(window)) SetTextColor(dc, State().colours.grayText);
  SetBkMode(dc, TRANSPARENT);
  const UINT align = type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
  const UINT lines = type == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK;
  RECT area = client;
  DrawTextA(dc, WindowText(window).c_str(), -1, &area,
            align | lines | DT_EXPANDTABS | (style & SS_NOPREFIX ? DT_NOPREFIX : 0));
}

std::optional<LRESULT> OnStaticMessage(const Message& msg) {
  if (!IsWindowVisible(msg.window)) return std::nullopt;
  if (msg.message == WM_PAINT) {
    PaintDc paint(msg.window);
    PaintStatic(msg.window, paint.get());
    return 0;
  }
  if (msg.message != WM_ENABLE) return std::nullopt;
  const LRESULT result = msg.Pass();
  WindowDc dc(msg.window);
  PaintStatic(msg.window, dc.get());
  return result;
}

LRESULT Run(HWND window, UINT message, WPARAM wParam, LPARAM lParam, ControlClass kind, int answer,
            Handler handler) {
  const WNDPROC previous = PreviousProcedure(window, ClassProcedure(kind));
  return Dispatch({window, message, wParam, lParam, previous}, answer, handler);
}

}  // namespace

LRESULT CALLBACK ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Run(window, message, wParam, lParam, ControlClass::Button, kAnswerButton, OnButtonMessage);
}

LRESULT CALLBACK ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const ControlClass kind =
      HasClass(window, "ComboLBox") ? ControlClass::ComboLBox : ControlClass::ListBox;
  return Run(window, message, wParam, lParam, kind, kAnswerList, OnBorderedMessage);
}

LRESULT CALLBACK EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Run(window, message, wParam, lParam, ControlClass::Edit, kAnswerEdit, OnBorderedMessage);
}

LRESULT CALLBACK ComboProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Run(window, message, wParam, lParam, ControlClass::ComboBox, kAnswerCombo, OnComboMessage);
}

LRESULT CALLBACK StaticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Run(window, message, wParam, lParam, ControlClass::Static, kAnswerStatic, OnStaticMessage);
}

}  // namespace setup::look3d
