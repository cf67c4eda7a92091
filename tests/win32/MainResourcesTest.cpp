#include <gtest/gtest.h>
#include <windows.h>

namespace {

INT_PTR CALLBACK Passive(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

// The program's own templates and images, linked into this test, as the dialog logic
// relies on them: the language box keeps the order of the language table.
TEST(MainResources, TemplatesHaveTheControlsTheLogicUses) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (const char* icon : {"mainico", "cardico", "novelmarico"})
    EXPECT_NE(LoadIconA(instance, icon), nullptr) << icon;

  HWND main = CreateDialogParamA(instance, "DLG_main", nullptr, Passive, 0);
  ASSERT_NE(main, nullptr);
  for (int id : {3, 7, 8, 9, 10, 11, 12}) EXPECT_NE(GetDlgItem(main, id), nullptr) << id;
  const LONG_PTR list = GetWindowLongPtrA(GetDlgItem(main, 9), GWL_STYLE);
  EXPECT_EQ(list & 0x03, CBS_DROPDOWNLIST);
  EXPECT_FALSE(list & CBS_SORT);
  EXPECT_TRUE(GetWindowLongPtrA(main, GWL_STYLE) & WS_MINIMIZEBOX);
  DestroyWindow(main);

  HWND install = CreateDialogParamA(instance, "DLG_install", nullptr, Passive, 0);
  ASSERT_NE(install, nullptr);
  for (int id : {0, 1, 20, 21, 22, 23, 24, 25}) EXPECT_NE(GetDlgItem(install, id), nullptr) << id;
  DestroyWindow(install);

  HWND changeDir = CreateDialogParamA(instance, "DLG_changedir", nullptr, Passive, 0);
  ASSERT_NE(changeDir, nullptr);
  for (int id : {0, 1, 102, 103, 104, 105, 106, 107})
    EXPECT_NE(GetDlgItem(changeDir, id), nullptr) << id;
  EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(changeDir, 102), GWL_STYLE) & (LBS_NOTIFY | LBS_SORT),
            LBS_NOTIFY);
  DestroyWindow(changeDir);

  HWND deinstall = CreateDialogParamA(instance, "DLG_deinstall", nullptr, Passive, 0);
  ASSERT_NE(deinstall, nullptr);
  for (int id : {0, 1, 28, 29, 30}) EXPECT_NE(GetDlgItem(deinstall, id), nullptr) << id;
  DestroyWindow(deinstall);

  HWND intro = CreateDialogParamA(instance, "WND_intro", nullptr, Passive, 0);
  ASSERT_NE(intro, nullptr);
  EXPECT_EQ(GetWindow(intro, GW_CHILD), nullptr);
  EXPECT_FALSE(GetWindowLongPtrA(intro, GWL_STYLE) & WS_CAPTION);
  DestroyWindow(intro);
}

}  // namespace
