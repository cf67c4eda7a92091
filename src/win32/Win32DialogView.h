#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "platform/Dialog.h"

namespace setup {

inline HWND HwndOf(WindowRef window) {
  return reinterpret_cast<HWND>(window);
}

inline WindowRef RefOf(HWND window) {
  return reinterpret_cast<WindowRef>(window);
}

// Moves the window to the middle of the desktop, on top and shown, and activates it.
void CentreOnDesktop(HWND window);

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

// A dialog window as its portable logic sees it. Each method is one window message or call;
// the fonts, bitmap and brush made for the window live exactly as long as this view.
class Win32DialogView : public DialogView {
 public:
  enum class Mode { Modal, Modeless };

  Win32DialogView(HWND window, HINSTANCE instance, Mode mode)
      : window_(window), instance_(instance), mode_(mode) {}

  // The pattern brush of the background, or null when none was made.
  HBRUSH Background() const { return brush_.get(); }
  // Whether the logic chose the focus itself, so the dialog manager must not.
  bool FocusChosen() const { return focusChosen_; }

  WindowRef Window() const override { return RefOf(window_); }
  void SetCaption(std::string_view text) override;
  std::string Caption() const override;
  void SetText(int id, std::string_view text) override;
  std::string Text(int id) const override;
  void Enable(int id, bool enabled) override;
  bool IsEnabled(int id) const override;
  void ShowControl(int id, bool visible) override;
  void DestroyControl(int id) override;
  void SetFocus(int id) override;
  void SetTextLimit(int id, int characters) override;
  bool IsModified(int id) const override;
  int Caret(int id) const override;
  void SetCaret(int id, int at) override;
  void SetCheck(int id, bool checked) override;
  bool IsChecked(int id) const override;
  void SetPushed(int id, bool pushed) override;
  void ShowWindow(bool visible) override;
  void Centre() override;
  void BringToFront() override;
  void ComboClear(int id) override;
  int ComboAdd(int id, std::string_view text) override;
  int ComboCount(int id) const override;
  std::string ComboItemText(int id, int index) const override;
  void ComboSelect(int id, int index) override;
  int ComboSelection(int id) const override;
  void ListClear(int id) override;
  int ListAdd(int id, std::string_view text) override;
  int ListCount(int id) const override;
  std::string ListItemText(int id, int index) const override;
  int ListSelection(int id) const override;
  void ListSelect(int id, int index) override;
  void ListDelete(int id, int index) override;
  int ListInsert(int id, int index, std::string_view text) override;
  void SetTabStops(int id, std::span<const int> stops) override;
  bool ListDirectory(int staticId, std::string_view directory) override;
  void StartTimer(int timer, unsigned milliseconds) override;
  void StopTimer(int timer) override;
  bool SetFont(int id, const FontSpec& font) override;
  BackgroundResult SetPatternBackground(const char* bitmap) override;
  void SetClassIcon(const char* icon) override;
  void End(int result) override;

 private:
  LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendDlgItemMessageA(window_, id, message, wParam, lParam);
  }

  HWND window_;
  HINSTANCE instance_;
  Mode mode_;
  bool focusChosen_ = false;
  // The logic hid the window to fill it; centring then must not show it.
  bool hidden_ = false;
  bool frontWhenShown_ = false;
  std::vector<GdiObject<HFONT>> fonts_;
  GdiObject<HBITMAP> bitmap_;
  GdiObject<HBRUSH> brush_;
};

}  // namespace setup
