// The dialog look in this process. The whole look belongs to systems older than the one the
// tests run on: its checks run in copies of this program that Wine tells they run on such
// systems.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Scratch.h"
#include "WindowProbe.h"
#include "look3d/Look3d.h"

namespace setup {
namespace {

using namespace probe;
using Names = std::vector<std::string>;

struct LookColours {
  COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
  COLORREF window = GetSysColor(COLOR_WINDOW);
  COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
};
using C = LookColours;

// A pixel of control `id` (0: the dialog) or of the line around it, away from any text: `dx`
// and `dy` from the control's left or top edge (`x`, `y` 0), its middle (1) or its right or
// bottom edge (2); a box's `y` -1 is the top of its cell, 13 pixels high and centred.
struct Pixel {
  int id, x, dx, y, dy;
  COLORREF C::*colour;
};

// "id at x,y is RRGGBB" for each pixel that does not show its colour.
Names WrongPixels(HWND dialog, const std::vector<Pixel>& pixels) {
  Names wrong;
  for (const Pixel& p : pixels) {
    HWND window = p.id ? GetDlgItem(dialog, p.id) : dialog;
    RECT r{};
    GetWindowRect(window, &r);
    const int height = r.bottom - r.top;
    const int x = p.x * (r.right - r.left) / 2 + p.dx;
    const int y = (p.y < 0 ? (height - 13) / 2 : p.y * height / 2) + p.dy;
    const COLORREF seen = ScreenImage(window).At(x, y);
    char line[64];
    std::snprintf(line, sizeof line, "%d at %d,%d is %06lX", p.id, x, y,
                  static_cast<unsigned long>(seen));
    if (seen != C().*p.colour) wrong.push_back(line);
  }
  return wrong;
}

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

  // The boxes' cells, the etched group box, the raised push button, the drop-down list's
  // button and the dialog's frame.
  std::vector<Pixel> pixels = {
      {40, 0, 0, -1, 0, &C::shadow},      {40, 0, 1, -1, 1, &C::frame},
      {40, 0, 12, -1, 12, &C::highlight}, {40, 0, 2, -1, 2, &C::face},
      {40, 0, 5, -1, 8, &C::face},        {41, 0, 2, -1, 2, &C::window},
      {41, 0, 5, -1, 8, &C::windowText},  {42, 0, 2, -1, 2, &C::face},
      {42, 0, 5, -1, 8, &C::shadow},      {43, 0, 2, -1, 2, &C::face},
      {43, 0, 5, -1, 8, &C::face},        {44, 0, 5, -1, 5, &C::windowText},
      {44, 0, 5, -1, 0, &C::shadow},      {44, 0, 5, -1, 1, &C::frame},
      {44, 0, 3, -1, 5, &C::window},      {45, 0, 2, -1, 2, &C::window},
      {45, 0, 5, -1, 8, &C::shadow},      {46, 0, 0, 1, 0, &C::shadow},
      {46, 0, 1, 1, 0, &C::highlight},    {46, 2, -2, 1, 0, &C::shadow},
      {46, 2, -1, 1, 0, &C::highlight},   {46, 1, 0, 2, -2, &C::shadow},
      {46, 1, 0, 2, -1, &C::highlight},   {kPush, 0, 1, 0, 0, &C::frame},
      {kPush, 0, 1, 0, 1, &C::highlight}, {kPush, 2, -2, 2, -2, &C::shadow},
      {kPush, 0, 3, 1, 0, &C::face},      {51, 2, -1, 0, 2, &C::frame},
      {0, 0, 0, 1, 0, &C::shadow},        {0, 0, 1, 1, 0, &C::highlight},
      {0, 2, -1, 1, 0, &C::frame},
  };
  // A sunken border: window-frame and face colours on the control's outermost pixels, shadow
  // and highlight one pixel outside.
  for (int id : {47, 48, 51})
    pixels.insert(pixels.end(), {{id, 0, -1, 1, 0, &C::shadow},
                                 {id, 1, 0, 0, -1, &C::shadow},
                                 {id, 0, 0, 1, 0, &C::frame},
                                 {id, 1, 0, 0, 0, &C::frame},
                                 {id, 2, 0, 1, 0, &C::highlight},
                                 {id, 1, 0, 2, 0, &C::highlight},
                                 {id, 1, 0, 2, -1, &C::face}});
  EXPECT_EQ(WrongPixels(dialog, pixels), Names{});
}

TEST_F(DialogLookFull, ADialogThatClearsTheLookFlagKeepsThePlainLook) {
  HWND dialog = Open(PlainDialog);
  ASSERT_NE(dialog, nullptr);
  PumpFor(300);
  EXPECT_EQ(SubclassedWindows(dialog), Names{});
  EXPECT_EQ(GetPropA(GetDlgItem(dialog, kScrollBar), "C3dD"), reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(WrongPixels(dialog, {{47, 0, -1, 1, 0, &C::shadow}}).size(), 1u);
}

}  // namespace
}  // namespace setup
