// What only the real dialog manager shows: the trampoline's exception barrier, the hand-over
// of WM_QUIT and a cancelled version scan.
#include <windows.h>

#include <stdexcept>

#include "Scratch.h"
#include "ScriptedUser.h"
#include "app/FileVersions.h"
#include "support/AppWorld.h"
#include "support/PortContracts.h"
#include "ui/DialogPrompts.h"
#include "win32/Win32DialogHost.h"
#include "win32/Win32DialogView.h"
#include "win32/Win32Expander.h"
#include "win32/Win32Files.h"

namespace setup {
namespace {

TEST(Win32DialogHost, FailingLogicEndsItsDialogAndAQuitDuringAnOperationWaitsForIt) {
  Win32DialogHost host(GetModuleHandleA(nullptr));
  ProbeDialog failsToOpen;
  failsToOpen.init = [](DialogView&) { throw std::runtime_error("no memory"); };
  EXPECT_EQ(host.RunModal("DLG_yesno", kNoWindow, failsToOpen), -1);
  EXPECT_EQ(host.CreateModeless("DLG_info", kNoWindow, failsToOpen), kNoWindow);
  struct FailsOnClick : ProbeDialog {
    void OnCommand(DialogView&, int, int) override { throw std::runtime_error("no memory"); }
  } failsOnClick;
  ScriptedUser user;
  user.Press(111);
  EXPECT_EQ(host.RunModal("DLG_yesno", kNoWindow, failsOnClick), -1);
  EXPECT_EQ(failsOnClick.destroyed, 1);

  // A quit posted during a long operation must not starve its progress window, and must still
  // end the modal loop that owns the thread once the operation returns.
  struct Counting : Dialog {
    int timers = 0, presses = 0;
    void OnInit(DialogView& view) override { view.StartTimer(1, 10); }
    void OnTimer(DialogView&, int) override { ++timers; }
    void OnCommand(DialogView&, int id, int code) override { presses += id == 111 && code == 0; }
  } progress;
  ProbeDialog operation;
  operation.init = [&](DialogView&) {
    PostQuitMessage(7);
    const WindowRef window = host.CreateModeless("DLG_yesno", kNoWindow, progress);
    PostMessageA(HwndOf(window), WM_COMMAND, MAKEWPARAM(111, BN_CLICKED), 0);
    for (int i = 0; i < 100 && (progress.timers < 3 || !progress.presses); ++i)
      host.PumpMessages(window);
    host.DestroyModeless(window);
  };
  host.RunModal("DLG_yesno", kNoWindow, operation);
  EXPECT_GE(progress.timers, 3);
  EXPECT_EQ(progress.presses, 1);
  EXPECT_EQ(operation.destroyed, 1);
  MSG msg{};
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 7u);
}

// Clicks Cancel while the third file is announced.
struct CancellingUser : DialogPrompts {
  using DialogPrompts::DialogPrompts;
  int announced = 0;
  void SetProgressText(WindowRef progress, std::string_view text) override {
    DialogPrompts::SetProgressText(progress, text);
    if (++announced == 3) PostMessageA(GetDlgItem(HwndOf(progress), 1), BM_CLICK, 0, 0);
  }
};

TEST(Win32DialogHost, VersionScanCancelledLeavesNoTemporaryCopyAndTheDirectoryAsItWas) {
  Win32DialogHost host(GetModuleHandleA(nullptr));
  AppWorld w;
  ScratchFolder scratch("file-versions");
  Win32Files files;
  Win32Expander expander;
  CancellingUser prompts(host, w.state->Catalogue);
  Services services{files, expander, w.system, w.registry, prompts, host, w.programGroups};
  FillCatalogue(w.state->Catalogue, "EN");
  w.state->SourceDir.Assign(BesideThisProgram("medium"));
  w.system.windowsDirectory = scratch.path();
  const std::string startedIn = files.CurrentDirectory();
  int listed = -1;
  ProbeDialog dialog;
  dialog.init = [&](DialogView& view) {
    listed = FillVersionList(services, *w.state, view);
    view.End(0);
  };
  EXPECT_EQ(host.RunModal("DLG_fileversion", kNoWindow, dialog), 0);
  EXPECT_EQ(listed, 0);
  EXPECT_TRUE(prompts.ProgressCancelled());
  EXPECT_EQ(files.CurrentDirectory(), startedIn);
  EXPECT_EQ(GetFileAttributesA((scratch.path() + "\\VERTMP.$$$").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace setup
