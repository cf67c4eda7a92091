// The version list in its own template, with the real progress window, directory listing and
// LZ32: from the sample medium, cancelled mid-scan, and from a hand-made installed copy.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Win32World.h"
#include "app/FileVersions.h"
#include "script/CaseFold.h"
#include "ui/DialogPrompts.h"
#include "win32/Win32DialogView.h"

namespace setup {
namespace {

// Clicks Cancel while the file of announcement `cancelAt` (from 1) is shown.
class CancellingUser : public DialogPrompts {
 public:
  using DialogPrompts::DialogPrompts;
  int cancelAt = 0;

  WindowRef OpenProgressWindow(WindowRef owner, bool withCancel, bool confirmCancel) override {
    announced_ = 0;
    return DialogPrompts::OpenProgressWindow(owner, withCancel, confirmCancel);
  }
  void SetProgressText(WindowRef progress, std::string_view text) override {
    DialogPrompts::SetProgressText(progress, text);
    if (++announced_ == cancelAt) PostMessageA(GetDlgItem(HwndOf(progress), 1), BM_CLICK, 0, 0);
  }

 private:
  int announced_ = 0;
};

// Runs `body` in a dialog from the given template, ended right after.
struct Inside : Dialog {
  std::function<void(DialogView&)> body;
  void OnInit(DialogView& view) override {
    body(view);
    view.End(0);
  }
};

// The directory listing spells directories in lower case.
std::string Lower(std::string text) {
  for (char& c : text) c = FoldCase(c);
  return text;
}

class FileVersionsWin32 : public Win32World<CancellingUser> {
 protected:
  FileVersionsWin32() : Win32World("file-versions") {
    FillCatalogue(state_->Catalogue, "EN");
    state_->SourceDir.Assign(BesideThisProgram("medium"));
    CreateDirectoryA(windows_.c_str(), nullptr);
    system_.windowsDirectory = windows_;
  }

  // FillVersionList in the real dialog: the list it built, empty when it gave up.
  std::vector<std::string> Show() {
    std::vector<std::string> lines;
    Inside dialog;
    dialog.body = [&](DialogView& view) {
      if (FillVersionList(services_, *state_, view))
        for (int i = 0; i < view.ListCount(version_dialog::kList); ++i)
          lines.push_back(view.ListItemText(version_dialog::kList, i));
    };
    EXPECT_EQ(host_.RunModal("DLG_fileversion", kNoWindow, dialog), 0);
    EXPECT_EQ(files_.CurrentDirectory(), startedIn_);
    EXPECT_EQ(GetFileAttributesA((windows_ + "\\VERTMP.$$$").c_str()), INVALID_FILE_ATTRIBUTES);
    return lines;
  }

  const std::string windows_ = scratch_.path() + "\\WINNT";
  const std::string startedIn_ = files_.CurrentDirectory();
  const std::string unknown_ = "\tEN [TEXT_UNKNOWNVERSION]";
};

TEST_F(FileVersionsWin32, MediumShowsTheStampsOfTheCompressedFilesAndCancelLeavesNothing) {
  const std::string medium = Lower(BesideThisProgram("medium"));
  EXPECT_EQ(Show(), (std::vector<std::string>{medium + "\\drivers\\VMDSS1.SY_\tv2.10 (rev.07)",
                                              medium + "\\drivers\\VM1TR6.SY_\tv2.10 (rev.05)",
                                              medium + "\\drivers\\VMNI1.SY_\tv2.2 (rev.1b)",
                                              medium + "\\capi\\win32\\CAPI2032.DL_\tv2.1 (rev.05)",
                                              medium + "\\VMTRACE.EX_\tv1.1 (rev.02)",
                                              medium + "\\VMTRACE.TX_" + unknown_}));
  // After two files have been expanded into the temporary directory and deleted again.
  prompts_.cancelAt = 3;
  EXPECT_TRUE(Show().empty());
  EXPECT_TRUE(prompts_.ProgressCancelled());
}

// Run with /c from the installed copy: the drivers in the Windows tree, the trace tool only
// in the setup directory; the rest never installed.
TEST_F(FileVersionsWin32, InstalledCopiesAreReadWhereTheInstallPutThem) {
  const std::string setupDir = scratch_.path() + "\\VELMAR", drivers = windows_ + "\\system32";
  for (const std::string& directory : {setupDir, setupDir + "\\tools", setupDir + "\\tools\\trace",
                                       drivers, drivers + "\\drivers"})
    CreateDirectoryA(directory.c_str(), nullptr);
  CopyFileA((state_->SourceDir.c_str() + std::string("\\SETUP.KVX")).c_str(),
            (setupDir + "\\SETUP.KVX").c_str(), FALSE);
  for (const auto& [name, target] : {std::pair{"vmdss1.sys", drivers + "\\drivers"},
                                     {"vmtrace.exe", setupDir + "\\tools\\trace"}})
    ASSERT_TRUE(CopyFileA(BesideThisProgram((std::string("payload\\") + name).c_str()).c_str(),
                          (target + "\\" + name).c_str(), FALSE));
  state_->SourceDir.Assign(setupDir);
  state_->StartMode = state_->InitialStartMode = 1;

  const std::string system = Lower(drivers), tools = Lower(setupDir) + "\\tools\\trace";
  EXPECT_EQ(Show(),
            (std::vector<std::string>{
                system + "\\drivers\\vmdss1.sys\tv2.10 (rev.07)",
                system + "\\drivers\\vm1tr6.sys" + unknown_,
                system + "\\drivers\\vmni1.sys" + unknown_, system + "\\CAPI2032.DLL" + unknown_,
                tools + "\\vmtrace.exe\tv1.1 (rev.02)", tools + "\\vmtrace.txt" + unknown_}));
}

}  // namespace
}  // namespace setup
