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
using Names = std::vector<std::string>;

constexpr UINT kQueryLook = 0x11F0;

// Older than 3.95: the look is the program's own.
bool RunsWithFullLook() {
  const DWORD version = GetVersion();
  return LOBYTE(version) < 3 || (LOBYTE(version) == 3 && HIBYTE(LOWORD(version)) < 95);
}

class DialogLookFull : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunsWithFullLook())
      GTEST_SKIP() << "run by DialogLookWin32.RunsTheFullLookUnderNt351AndWin31";
    ASSERT_TRUE(RegisterLook3d(instance_));
    ASSERT_TRUE(AutoSubclassLook3d(instance_, 0));
  }
  void TearDown() override {
    DestroyWindow(dialog_);
    UnregisterLook3d(instance_);
  }
  HWND Open(DLGPROC procedure) {
    dialog_ = CreateDialogParamA(instance_, "DLG_test_look", nullptr, procedure, 0);
    EXPECT_NE(dialog_, nullptr);
    for (const DWORD end = GetTickCount() + 500; static_cast<int>(end - GetTickCount()) > 0;
         Sleep(20))
      for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
    return dialog_;
  }
  HINSTANCE instance_ = GetModuleHandleA(nullptr);
  HWND dialog_ = nullptr;
};

constexpr int kScrollBar = 50;

// Keeps the plain look. Its scroll bar carries what another module's look left on it.
INT_PTR CALLBACK PlainDialog(HWND dialog, UINT message, WPARAM, LPARAM flag) {
  if (message != kQueryLook) return FALSE;
  if (HWND scrollBar = GetDlgItem(dialog, kScrollBar))
    SetPropA(scrollBar, "C3dLNew", reinterpret_cast<HANDLE>(1));
  *reinterpret_cast<std::uint32_t*>(flag) = 0;
  return TRUE;
}

// Under Windows NT 3.51 new windows are subclassed as they are created; under Windows 3.1
// with Win32s at their first message.
TEST(DialogLookWin32, RunsTheFullLookUnderNt351AndWin31) {
  if (RunsWithFullLook()) GTEST_SKIP() << "this is a copy that runs the checks";
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  for (const char* version : {"nt351", "win31"}) {
    SCOPED_TRACE(version);
    WineVersionFor pretend(std::strrchr(path, '\\') + 1, version);
    EXPECT_EQ(RunAndWait(std::string("\"") + path + "\" --gtest_filter=DialogLookFull.*", 120000),
              0u)
        << "the checks failed; their output is above";
  }
}

TEST_F(DialogLookFull, EveryControlGetsTheLook) {
  EXPECT_EQ(SubclassedWindows(Open(nullptr)),
            (Names{"#32770 0", "Button 40", "Button 41", "Button 42", "Button 43", "Button 44",
                   "Button 45", "Button 46", "Edit 47", "ListBox 48", "Button 49", "ComboBox 51"}));
}

TEST_F(DialogLookFull, ADialogThatClearsTheLookFlagKeepsThePlainLook) {
  HWND dialog = Open(PlainDialog);
  EXPECT_EQ(SubclassedWindows(dialog), Names{});
  EXPECT_EQ(GetPropA(GetDlgItem(dialog, kScrollBar), "C3dD"), reinterpret_cast<HANDLE>(1));
}

}  // namespace
}  // namespace setup
