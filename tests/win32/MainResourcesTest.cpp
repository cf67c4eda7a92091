#include <gtest/gtest.h>
#include <windows.h>

namespace {

INT_PTR CALLBACK Passive(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

// Opens a template of the program's own, hidden, as a modeless dialog.
class Template {
 public:
  explicit Template(const char* name)
      : window_(CreateDialogParamA(GetModuleHandleA(nullptr), name, nullptr, Passive, 0)) {
    if (window_) ShowWindow(window_, SW_HIDE);
  }
  ~Template() {
    if (window_) DestroyWindow(window_);
  }
  HWND window() const { return window_; }
  LONG_PTR Style(int id) const { return GetWindowLongPtrA(GetDlgItem(window_, id), GWL_STYLE); }

 private:
  HWND window_;
};

TEST(MainTemplates, MainDialogHasItsControls) {
  Template main("DLG_main");
  ASSERT_NE(main.window(), nullptr);
  const LONG_PTR style = GetWindowLongPtrA(main.window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  for (int id : {3, 7, 8, 9, 10, 11, 12}) EXPECT_NE(GetDlgItem(main.window(), id), nullptr) << id;
  EXPECT_EQ(main.Style(3) & 0x0F, BS_DEFPUSHBUTTON);
  EXPECT_EQ(main.Style(7) & 0x0F, BS_PUSHBUTTON);
  EXPECT_EQ(main.Style(9) & 0x03, CBS_DROPDOWNLIST);
  EXPECT_FALSE(main.Style(9) & CBS_SORT);
  EXPECT_EQ(main.Style(10) & SS_TYPEMASK, SS_CENTER);
  EXPECT_EQ(main.Style(11) & SS_TYPEMASK, SS_LEFT);
}

TEST(MainTemplates, IntroIsABareVisiblePopup) {
  Template intro("WND_intro");
  ASSERT_NE(intro.window(), nullptr);
  EXPECT_EQ(GetWindow(intro.window(), GW_CHILD), nullptr);
  const LONG_PTR style = GetWindowLongPtrA(intro.window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION);
}

}  // namespace
