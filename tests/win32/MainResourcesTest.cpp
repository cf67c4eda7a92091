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

  HWND about = CreateDialogParamA(instance, "DLG_about", nullptr, Passive, 0);
  ASSERT_NE(about, nullptr);
  for (int id : {0, 15, 16, 17, 170}) EXPECT_NE(GetDlgItem(about, id), nullptr) << id;
  DestroyWindow(about);

  // The list keeps the scan's order and shows the version in a column of its own; the
  // static for resolved paths lies below the visible area.
  HWND versions = CreateDialogParamA(instance, "DLG_fileversion", nullptr, Passive, 0);
  ASSERT_NE(versions, nullptr);
  for (int id : {0, 104, 172, 173}) EXPECT_NE(GetDlgItem(versions, id), nullptr) << id;
  const LONG_PTR lines = GetWindowLongPtrA(GetDlgItem(versions, 173), GWL_STYLE);
  EXPECT_TRUE(lines & LBS_USETABSTOPS);
  EXPECT_FALSE(lines & LBS_SORT);
  RECT client{}, hidden{};
  GetClientRect(versions, &client);
  GetWindowRect(GetDlgItem(versions, 104), &hidden);
  MapWindowPoints(nullptr, versions, reinterpret_cast<POINT*>(&hidden), 2);
  EXPECT_GE(hidden.top, client.bottom);
  DestroyWindow(versions);

  HWND intro = CreateDialogParamA(instance, "WND_intro", nullptr, Passive, 0);
  ASSERT_NE(intro, nullptr);
  EXPECT_EQ(GetWindow(intro, GW_CHILD), nullptr);
  EXPECT_FALSE(GetWindowLongPtrA(intro, GWL_STYLE) & WS_CAPTION);
  DestroyWindow(intro);
}

}  // namespace
