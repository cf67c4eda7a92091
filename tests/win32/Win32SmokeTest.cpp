#include <gtest/gtest.h>
#include <windows.h>

// The program's own resources are linked into this test: the icons the dialogs use load.
TEST(Resources, IconsAndBitmapLoad) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  EXPECT_NE(LoadIconA(instance, "mainico"), nullptr);
  EXPECT_NE(LoadIconA(instance, "cardico"), nullptr);
  EXPECT_NE(LoadIconA(instance, "novelmarico"), nullptr);
  HBITMAP bitmap = LoadBitmapA(instance, "velmarbmp");
  EXPECT_NE(bitmap, nullptr);
  DeleteObject(bitmap);
}
