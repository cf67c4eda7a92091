// The dialog look in this process. The whole look belongs to systems older than the one the
// tests run on: its checks run in copies of this program that Wine tells they run on such
// systems.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Scratch.h"
#include "WindowProbe.h"
#include "look3d/Look3d.h"

namespace setup {
namespace {

using namespace probe;
using C = LookColours;
using Names = std::vector<std::string>;

constexpr UINT kQueryLook = 0x11F0;

// Older than 3.95: the look is the program's own.
bool RunsWithFullLook() {
  const DWORD version = GetVersion();
  return LOBYTE(version) < 3 || (LOBYTE(version) == 3 && HIBYTE(LOWORD(version)) < 95);
}

void PumpFor(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  MSG msg;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
}

// Runs in the copies only.
class DialogLookFull : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunsWithFullLook())
      GTEST_SKIP() << "run by DialogLookWin32.RunsTheFullLookUnderNt351AndWin31";
    ASSERT_TRUE(RegisterLook3d(instance_));
    ASSERT_TRUE(AutoSubclassLook3d(instance_, 0));
  }
  void TearDown() override {
    for (HWND dialog : dialogs_) DestroyWindow(dialog);
    UnregisterLook3d(instance_);
  }
  HWND Open(DLGPROC procedure) {
    HWND dialog = CreateDialogParamA(instance_, "DLG_test_look", nullptr, procedure, 0);
    dialogs_.push_back(dialog);
    return dialog;
  }
  HINSTANCE instance_ = GetModuleHandleA(nullptr);
  std::vector<HWND> dialogs_;
};

constexpr int kPush = 49, kScrollBar = 50;

// Keeps the plain look. Its scroll bar carries what another module's look left on it.
INT_PTR CALLBACK PlainDialog(HWND dialog, UINT message, WPARAM, LPARAM flag) {
  if (message != kQueryLook) return FALSE;
  if (HWND scrollBar = GetDlgItem(dialog, kScrollBar))
    SetPropA(scrollBar, "C3dLNew", reinterpret_cast<HANDLE>(1));
  *reinterpret_cast<std::uint32_t*>(flag) = 0;
  return TRUE;
}

// Another module takes the push button over after the look and passes nothing on.
INT_PTR CALLBACK LookDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  WNDCLASSA button{};
  GetClassInfoA(nullptr, "Button", &button);
  SetWindowLongPtrA(GetDlgItem(dialog, kPush), GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(button.lpfnWndProc));
  return TRUE;
}

// Runs the full look's checks in a copy of this program that Wine tells it runs on `version`;
// its exit code.
DWORD RunCopyAs(const char* version) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  WineVersionFor pretend(std::strrchr(path, '\\') + 1, version);
  return RunAndWait(std::string("\"") + path + "\" --gtest_filter=DialogLookFull.*", 120000);
}

// Under Windows NT 3.51 new windows are subclassed as they are created; under Windows 3.1
// with Win32s at their first message.
TEST(DialogLookWin32, RunsTheFullLookUnderNt351AndWin31) {
  if (RunsWithFullLook()) GTEST_SKIP() << "this is a copy that runs the checks";
  for (const char* version : {"nt351", "win31"}) {
    SCOPED_TRACE(version);
    EXPECT_EQ(RunCopyAs(version), 0u) << "the checks failed; their output is above";
  }
}

TEST_F(DialogLookFull, EveryControlGetsTheLookAndBoxesShowTheirBitmapCells) {
  HWND dialog = Open(LookDialog);
  ASSERT_NE(dialog, nullptr);
  CheckDlgButton(dialog, 41, BST_CHECKED);
  CheckDlgButton(dialog, 42, BST_CHECKED);
  CheckDlgButton(dialog, 44, BST_CHECKED);
  CheckDlgButton(dialog, 45, BST_INDETERMINATE);
  // Pushed: an unchecked box shows the cell of a disabled one; a disabled box ignores it.
  SendDlgItemMessageA(dialog, 40, BM_SETSTATE, TRUE, 0);
  SendDlgItemMessageA(dialog, 42, BM_SETSTATE, TRUE, 0);
  PumpFor(500);
  EXPECT_EQ(SubclassedWindows(dialog),
            (Names{"#32770 0", "Button 40", "Button 41", "Button 42", "Button 43", "Button 44",
                   "Button 45", "Button 46", "Edit 47", "ListBox 48", "Button 49", "ComboBox 51"}));

  // Pixels of a box's cell, relative to the image at its left edge, centred vertically.
  const std::pair<int, Probe> cells[] = {
      {40, {0, 0, &C::shadow}},     {40, {1, 1, &C::frame}},  {40, {12, 12, &C::highlight}},
      {40, {2, 2, &C::face}},       {40, {5, 8, &C::face}},   {41, {2, 2, &C::window}},
      {41, {5, 8, &C::windowText}}, {42, {2, 2, &C::face}},   {42, {5, 8, &C::shadow}},
      {43, {2, 2, &C::face}},       {43, {5, 8, &C::face}},   {44, {5, 5, &C::windowText}},
      {44, {5, 0, &C::shadow}},     {44, {5, 1, &C::frame}},  {44, {3, 5, &C::window}},
      {45, {2, 2, &C::window}},     {45, {5, 8, &C::shadow}},
  };
  Names wrong;
  for (auto [id, p] : cells) {
    HWND box = GetDlgItem(dialog, id);
    p.y += (SizeOf(box).cy - 13) / 2;
    for (const std::string& w : WrongPixels(box, ("box " + std::to_string(id)).c_str(), {p}))
      wrong.push_back(w);
  }
  EXPECT_EQ(wrong, Names{});

  HWND group = GetDlgItem(dialog, 46), edit = GetDlgItem(dialog, 47), list = GetDlgItem(dialog, 48),
       push = GetDlgItem(dialog, kPush), combo = GetDlgItem(dialog, 51);
  const SIZE g = SizeOf(group), p = SizeOf(push);
  EXPECT_EQ(WrongPixels(group, "etched group box",
                        {{0, g.cy / 2, &C::shadow},
                         {1, g.cy / 2, &C::highlight},
                         {g.cx - 2, g.cy / 2, &C::shadow},
                         {g.cx - 1, g.cy / 2, &C::highlight},
                         {g.cx / 2, g.cy - 2, &C::shadow},
                         {g.cx / 2, g.cy - 1, &C::highlight}}),
            Names{});
  EXPECT_EQ(WrongPixels(edit, "edit", SunkenBorder(edit)), Names{});
  EXPECT_EQ(WrongPixels(list, "list", SunkenBorder(list)), Names{});
  std::vector<Probe> border = SunkenBorder(combo);
  border.push_back({SizeOf(combo).cx - 1, 2, &C::frame});  // the drop button's edge
  EXPECT_EQ(WrongPixels(combo, "drop-down list", border), Names{});
  EXPECT_EQ(WrongPixels(push, "raised button",
                        {{1, 0, &C::frame},
                         {1, 1, &C::highlight},
                         {p.cx - 2, p.cy - 2, &C::shadow},
                         {3, p.cy / 2, &C::face}}),
            Names{});
  const SIZE d = SizeOf(dialog);
  EXPECT_EQ(WrongPixels(dialog, "dialog frame",
                        {{0, d.cy / 2, &C::shadow},
                         {1, d.cy / 2, &C::highlight},
                         {d.cx - 1, d.cy / 2, &C::frame}}),
            Names{});
}

TEST_F(DialogLookFull, ADialogThatClearsTheLookFlagKeepsThePlainLook) {
  HWND dialog = Open(PlainDialog);
  ASSERT_NE(dialog, nullptr);
  PumpFor(300);
  EXPECT_EQ(SubclassedWindows(dialog), Names{});
  EXPECT_EQ(GetPropA(GetDlgItem(dialog, kScrollBar), "C3dD"), reinterpret_cast<HANDLE>(1));
  HWND edit = GetDlgItem(dialog, 47);
  EXPECT_NE(ScreenImage(edit).At(-1, SizeOf(edit).cy / 2), C().shadow);
}

}  // namespace
}  // namespace setup
