#include <windows.h>

#include <functional>
#include <stdexcept>

#include "Scratch.h"
#include "ScriptedUser.h"
#include "support/contracts/DialogHostContract.h"
#include "win32/Win32DialogHost.h"
#include "win32/Win32Files.h"

namespace setup {
namespace {

class Win32DialogEnv {
 public:
  DialogHost& host() { return host_; }
  Files& files() { return files_; }
  const std::string& directory() const { return scratch_.path(); }

  void Press(const char*, int id) { user_.Press(id); }
  void Close(const char*) { user_.Close(); }
  void Click(const char*) { user_.Click(); }
  void Escape(const char*) { user_.Key(VK_ESCAPE); }
  void Wait(const char*) {}
  void Missing(const char* name) { ASSERT_EQ(FindResourceA(nullptr, name, RT_DIALOG), nullptr); }
  void PumpUntil(WindowRef window, const std::function<bool()>& done) {
    for (int i = 0; i < 50 && !done(); ++i) host_.PumpMessages(window);
  }

 private:
  Win32DialogHost host_{GetModuleHandleA(nullptr)};
  ScriptedUser user_;
  Win32Files files_;
  ScratchFolder scratch_{"dialog-host"};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, DialogHostContract, Win32DialogEnv);

HWND Hwnd(const DialogView& view) {
  return reinterpret_cast<HWND>(view.Window());
}

class Win32DialogHostTest : public ::testing::Test {
 protected:
  // Runs "DLG_yesno" with `init` as its opening, ended right after it.
  void RunWith(std::function<void(DialogView&)> init) {
    ProbeDialog probe;
    probe.init = [&init](DialogView& view) {
      init(view);
      view.End(0);
    };
    ASSERT_EQ(host_.RunModal("DLG_yesno", kNoWindow, probe), 0);
  }

  HINSTANCE instance_ = GetModuleHandleA(nullptr);
  Win32DialogHost host_{instance_};
};

// By the view itself, or by the host for a window it knows only by its handle.
TEST_F(Win32DialogHostTest, CentrePutsTheWindowInTheMiddleAndActivatesIt) {
  for (bool byHost : {false, true}) {
    RECT desktop{}, placed{};
    bool visible = false;
    HWND active = nullptr, window = nullptr;
    RunWith([&](DialogView& view) {
      window = Hwnd(view);
      view.ShowWindow(false);
      SetWindowPos(window, nullptr, 3, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      if (byHost)
        host_.CentreWindow(view.Window());
      else
        view.Centre();
      GetWindowRect(window, &placed);
      visible = IsWindowVisible(window);
      active = GetActiveWindow();
    });
    GetWindowRect(GetDesktopWindow(), &desktop);
    const LONG width = placed.right - placed.left, height = placed.bottom - placed.top;
    EXPECT_EQ(placed.left, desktop.right / 2 - width / 2) << byHost;
    EXPECT_EQ(placed.top, desktop.bottom / 2 - height / 2) << byHost;
    EXPECT_TRUE(visible) << byHost;
    EXPECT_EQ(active, window) << byHost;
  }
}

TEST_F(Win32DialogHostTest, FontIsMadeForTheScreenAndGivenToTheControl) {
  LOGFONTA font{};
  int pixelsPerInch = 0;
  RunWith([&](DialogView& view) {
    ASSERT_TRUE(view.SetFont(109, FontSpec{12, 700, "MS Sans Serif"}));
    HDC screen = GetDC(Hwnd(view));
    pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(Hwnd(view), screen);
    auto made = reinterpret_cast<HFONT>(SendDlgItemMessageA(Hwnd(view), 109, WM_GETFONT, 0, 0));
    ASSERT_EQ(GetObjectA(made, sizeof font, &font), static_cast<int>(sizeof font));
  });
  EXPECT_EQ(font.lfHeight, -(12 * pixelsPerInch) / 72);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
}

TEST_F(Win32DialogHostTest, PatternBrushPaintsTheBackgroundOnlyWhenTheBitmapLoads) {
  LRESULT before = 0, after = 0;
  BackgroundResult missing = BackgroundResult::Painted;
  RunWith([&](DialogView& view) {
    HDC dc = GetDC(Hwnd(view));
    missing = view.SetPatternBackground("nosuchbitmap");
    before = SendMessageA(Hwnd(view), WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(Hwnd(view)));
    EXPECT_EQ(view.SetPatternBackground("velmarbmp"), BackgroundResult::Painted);
    after = SendMessageA(Hwnd(view), WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(Hwnd(view)));
    ReleaseDC(Hwnd(view), dc);
  });
  EXPECT_EQ(missing, BackgroundResult::NoBitmap);
  EXPECT_NE(after, 0);
  EXPECT_NE(after, before);  // before: the dialog manager's face colour
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
