#include "win32/Win32DialogView.h"

#include <string>

#include "ui/Geometry.h"

namespace setup {
namespace {

std::string WindowText(HWND window) {
  if (!window) return {};
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

ScreenRect WindowRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void MoveToDesktopCentre(HWND window, UINT flags) {
  const ScreenPoint origin = CentredOrigin(WindowRectOf(GetDesktopWindow()), WindowRectOf(window));
  SetWindowPos(window, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE | flags);
}

}  // namespace

void CentreOnDesktop(HWND window) {
  MoveToDesktopCentre(window, SWP_SHOWWINDOW);
  SetActiveWindow(window);
  SetForegroundWindow(window);
}

void Win32DialogView::SetCaption(std::string_view text) {
  SetWindowTextA(window_, std::string(text).c_str());
}

std::string Win32DialogView::Caption() const {
  return WindowText(window_);
}

void Win32DialogView::SetText(int id, std::string_view text) {
  SetDlgItemTextA(window_, id, std::string(text).c_str());
}

std::string Win32DialogView::Text(int id) const {
  return WindowText(GetDlgItem(window_, id));
}

void Win32DialogView::Enable(int id, bool enabled) {
  EnableWindow(GetDlgItem(window_, id), enabled);
}

bool Win32DialogView::IsEnabled(int id) const {
  HWND control = GetDlgItem(window_, id);
  return control && IsWindowEnabled(control);
}

void Win32DialogView::ShowControl(int id, bool visible) {
  ::ShowWindow(GetDlgItem(window_, id), visible ? SW_SHOW : SW_HIDE);
}

void Win32DialogView::DestroyControl(int id) {
  if (HWND control = GetDlgItem(window_, id)) DestroyWindow(control);
}

bool Win32DialogView::IsModified(int id) const {
  return Send(id, EM_GETMODIFY) != 0;
}

int Win32DialogView::Caret(int id) const {
  DWORD start = 0, end = 0;
  Send(id, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end);
}

void Win32DialogView::SetCaret(int id, int at) {
  Send(id, EM_SETSEL, static_cast<WPARAM>(at), at);
}

void Win32DialogView::SetCheck(int id, bool checked) {
  CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32DialogView::IsChecked(int id) const {
  return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void Win32DialogView::SetPushed(int id, bool pushed) {
  Send(id, BM_SETSTATE, pushed ? TRUE : FALSE);
}

void Win32DialogView::SetTextLimit(int id, int characters) {
  Send(id, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

void Win32DialogView::SetFocus(int id) {
  ::SetFocus(GetDlgItem(window_, id));
  focusChosen_ = true;
}

void Win32DialogView::ShowWindow(bool visible) {
  hidden_ = !visible;
  ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
  // Centred while it was being filled: it comes to the front now, as centring brings it.
  if (visible && frontWhenShown_) SetForegroundWindow(window_);
  frontWhenShown_ = false;
}

void Win32DialogView::Centre() {
  if (!hidden_) return CentreOnDesktop(window_);
  MoveToDesktopCentre(window_, SWP_NOACTIVATE);
  frontWhenShown_ = true;
}

void Win32DialogView::BringToFront() {
  SetForegroundWindow(window_);
}

void Win32DialogView::ComboClear(int id) {
  Send(id, CB_RESETCONTENT);
}

int Win32DialogView::ComboAdd(int id, std::string_view text) {
  const std::string item(text);
  return static_cast<int>(Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
}

int Win32DialogView::ComboCount(int id) const {
  const LRESULT count = Send(id, CB_GETCOUNT);
  return count > 0 ? static_cast<int>(count) : 0;
}

std::string Win32DialogView::ComboItemText(int id, int index) const {
  const LRESULT length = Send(id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length < 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      Send(id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

void Win32DialogView::ComboSelect(int id, int index) {
  Send(id, CB_SETCURSEL, static_cast<WPARAM>(index));
}

int Win32DialogView::ComboSelection(int id) const {
  // A missing control would answer 0, the first entry.
  if (!GetDlgItem(window_, id)) return -1;
  return static_cast<int>(Send(id, CB_GETCURSEL));
}

void Win32DialogView::ListClear(int id) {
  Send(id, LB_RESETCONTENT);
}

int Win32DialogView::ListAdd(int id, std::string_view text) {
  const std::string item(text);
  return static_cast<int>(Send(id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
}

int Win32DialogView::ListCount(int id) const {
  const LRESULT count = Send(id, LB_GETCOUNT);
  return count > 0 ? static_cast<int>(count) : 0;
}

std::string Win32DialogView::ListItemText(int id, int index) const {
  const LRESULT length = Send(id, LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length < 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      Send(id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

int Win32DialogView::ListSelection(int id) const {
  if (!GetDlgItem(window_, id)) return -1;
  const LRESULT selected = Send(id, LB_GETCURSEL);
  return selected >= 0 ? static_cast<int>(selected) : -1;
}

void Win32DialogView::ListSelect(int id, int index) {
  Send(id, LB_SETCURSEL, static_cast<WPARAM>(index));
}

void Win32DialogView::ListDelete(int id, int index) {
  Send(id, LB_DELETESTRING, static_cast<WPARAM>(index));
}

int Win32DialogView::ListInsert(int id, int index, std::string_view text) {
  const std::string item(text);
  return static_cast<int>(Send(id, LB_INSERTSTRING, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(item.c_str())));
}

void Win32DialogView::SetTabStops(int id, std::span<const int> stops) {
  std::vector<INT> units(stops.begin(), stops.end());
  Send(id, LB_SETTABSTOPS, units.size(), reinterpret_cast<LPARAM>(units.data()));
}

bool Win32DialogView::ListDirectory(int staticId, std::string_view directory) {
  // DlgDirList writes into the path it is given, a file pattern among other things, so the
  // buffer has room beyond the path.
  std::string path(directory);
  path.resize(path.size() + MAX_PATH, '\0');
  return DlgDirListA(window_, path.data(), 0, staticId, 0) != 0;
}

void Win32DialogView::StartTimer(int timer, unsigned milliseconds) {
  SetTimer(window_, static_cast<UINT_PTR>(timer), milliseconds, nullptr);
}

void Win32DialogView::StopTimer(int timer) {
  KillTimer(window_, static_cast<UINT_PTR>(timer));
}

bool Win32DialogView::SetFont(int id, const FontSpec& wanted) {
  HDC screen = GetDC(window_);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(window_, screen);
  const int height = -(wanted.points * pixelsPerInch) / 72;
  GdiObject<HFONT> font(CreateFontA(height, 0, 0, 0, wanted.weight, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, wanted.face));
  if (!font) return false;
  Send(id, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  fonts_.push_back(std::move(font));
  return true;
}

BackgroundResult Win32DialogView::SetPatternBackground(const char* bitmap) {
  GdiObject<HBITMAP> picture(LoadBitmapA(instance_, bitmap));
  if (!picture) return BackgroundResult::NoBitmap;
  GdiObject<HBRUSH> brush(CreatePatternBrush(picture.get()));
  if (!brush) return BackgroundResult::NoBrush;
  bitmap_ = std::move(picture);
  brush_ = std::move(brush);
  InvalidateRect(window_, nullptr, TRUE);
  return BackgroundResult::Painted;
}

void Win32DialogView::SetClassIcon(const char* icon) {
  SetClassLongPtrA(window_, GCLP_HICON, reinterpret_cast<LONG_PTR>(LoadIconA(instance_, icon)));
}

void Win32DialogView::End(int result) {
  if (mode_ == Mode::Modal)
    EndDialog(window_, result);
  else
    DestroyWindow(window_);
}

}  // namespace setup
