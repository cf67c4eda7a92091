// What only the real dialog manager shows: placement, fonts, brushes, the trampoline's
// exception barrier and the hand-over of WM_QUIT.
#include <windows.h>

#include <functional>
#include <stdexcept>

#include "ScriptedUser.h"
#include "support/contracts/DialogHostContract.h"
#include "win32/Win32DialogHost.h"

namespace setup {
namespace {

class Win32DialogHostTest : public ::testing::Test {
 protected:
  Win32DialogHost host_{GetModuleHandleA(nullptr)};
};

// Centred by the view itself, or by the host for a window it knows only by its handle; a
// font made for the screen; a pattern brush only once its bitmap loads.
TEST_F(Win32DialogHostTest, CentreFontAndPatternBackgroundReachTheWindow) {
  for (bool byHost : {false, true}) {
    RECT placed{}, desktop{};
    HWND window = nullptr, active = nullptr;
    bool visible = false;
    LOGFONTA font{};
    int pixelsPerInch = 0;
    LRESULT before = 0, after = 0;
    BackgroundResult missing = BackgroundResult::Painted, found = BackgroundResult::NoBitmap;
    ProbeDialog probe;
    probe.init = [&](DialogView& view) {
      window = reinterpret_cast<HWND>(view.Window());
      view.ShowWindow(false);
      SetWindowPos(window, nullptr, 3, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      byHost ? host_.CentreWindow(view.Window()) : view.Centre();
      GetWindowRect(window, &placed);
      visible = IsWindowVisible(window);
      active = GetActiveWindow();

      EXPECT_TRUE(view.SetFont(109, FontSpec{12, 700, "MS Sans Serif"}));
      HDC dc = GetDC(window);
      pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
      GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(window, 109, WM_GETFONT, 0, 0)),
                 sizeof font, &font);
      const auto background = [&] {
        return SendMessageA(window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(window));
      };
      missing = view.SetPatternBackground("nosuchbitmap");
      before = background();
      found = view.SetPatternBackground("velmarbmp");
      after = background();
      ReleaseDC(window, dc);
      view.End(0);
    };
    ASSERT_EQ(host_.RunModal("DLG_yesno", kNoWindow, probe), 0);
    GetWindowRect(GetDesktopWindow(), &desktop);
    const LONG width = placed.right - placed.left, height = placed.bottom - placed.top;
    EXPECT_EQ(placed.left, desktop.right / 2 - width / 2) << byHost;
    EXPECT_EQ(placed.top, desktop.bottom / 2 - height / 2) << byHost;
    EXPECT_TRUE(visible) << byHost;
    EXPECT_EQ(active, window) << byHost;
    EXPECT_EQ(font.lfHeight, -(12 * pixelsPerInch) / 72);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(missing, BackgroundResult::NoBitmap);
    EXPECT_EQ(found, BackgroundResult::Painted);
    EXPECT_NE(after, 0);
    EXPECT_NE(after, before);  // before: the dialog manager's face colour
  }
}

TEST_F(Win32DialogHostTest, FailingLogicEndsItsDialogInsteadOfUnwindingThroughTheSystem) {
  ProbeDialog failsToOpen;
  failsToOpen.init = [](DialogView&) { throw std::runtime_error("no memory"); };
  EXPECT_EQ(host_.RunModal("DLG_yesno", kNoWindow, failsToOpen), -1);
  EXPECT_EQ(host_.CreateModeless("DLG_info", kNoWindow, failsToOpen), kNoWindow);

  struct FailsOnClick : ProbeDialog {
    void OnCommand(DialogView&, int, int) override { throw std::runtime_error("no memory"); }
  } failsOnClick;
  ScriptedUser user;
  user.Press(111);
  EXPECT_EQ(host_.RunModal("DLG_yesno", kNoWindow, failsOnClick), -1);
  EXPECT_EQ(failsOnClick.destroyed, 1);
}

// A quit posted during a long operation must not starve its progress window, and must still
// end the modal loop that owns the thread once the operation returns.
TEST_F(Win32DialogHostTest, PumpsAfterAQuitServeTimersAndButtonsThenTheQuitEndsTheModalLoop) {
  struct Counting : Dialog {
    int timers = 0, presses = 0;
    void OnInit(DialogView& view) override { view.StartTimer(1, 10); }
    void OnTimer(DialogView&, int) override { ++timers; }
    void OnCommand(DialogView&, int id, int code) override { presses += id == 111 && code == 0; }
  } progress;
  ProbeDialog operation;
  operation.init = [&](DialogView&) {
    PostQuitMessage(7);
    const WindowRef window = host_.CreateModeless("DLG_yesno", kNoWindow, progress);
    ASSERT_NE(window, kNoWindow);
    PostMessageA(reinterpret_cast<HWND>(window), WM_COMMAND, MAKEWPARAM(111, BN_CLICKED), 0);
    for (int i = 0; i < 100 && (progress.timers < 3 || progress.presses < 1); ++i)
      host_.PumpMessages(window);
    host_.DestroyModeless(window);
  };
  host_.RunModal("DLG_yesno", kNoWindow, operation);
  EXPECT_GE(progress.timers, 3);
  EXPECT_EQ(progress.presses, 1);
  EXPECT_EQ(operation.destroyed, 1);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
}  // namespace setup
