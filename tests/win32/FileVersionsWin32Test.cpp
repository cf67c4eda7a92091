// The version list of the sample medium in its own template, with the real progress window,
// directory listing and LZ32, then cancelled mid-scan.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "Win32World.h"
#include "app/FileVersions.h"
#include "script/CaseFold.h"
#include "support/contracts/DialogHostContract.h"
#include "ui/DialogPrompts.h"
#include "win32/Win32DialogView.h"

namespace setup {
namespace {

// Clicks Cancel while the file of announcement `cancelAt` (from 1) is shown.
class CancellingUser : public DialogPrompts {
 public:
  using DialogPrompts::DialogPrompts;
  int cancelAt = 0, announced = 0;

  void SetProgressText(WindowRef progress, std::string_view text) override {
    DialogPrompts::SetProgressText(progress, text);
    if (++announced == cancelAt) PostMessageA(GetDlgItem(HwndOf(progress), 1), BM_CLICK, 0, 0);
  }
};

class FileVersionsWin32 : public Win32World<CancellingUser> {
 protected:
  FileVersionsWin32() : Win32World("file-versions") {}
};

TEST_F(FileVersionsWin32, MediumShowsTheStampsOfTheCompressedFilesAndCancelLeavesNothing) {
  FillCatalogue(state_->Catalogue, "EN");
  state_->SourceDir.Assign(BesideThisProgram("medium"));
  system_.windowsDirectory = scratch_.path();
  const std::string startedIn = files_.CurrentDirectory();
  // The directory listing spells directories in lower case.
  std::string medium = BesideThisProgram("medium");
  for (char& c : medium) c = FoldCase(c);
  const std::vector<std::string> expected = {medium + "\\drivers\\VMDSS1.SY_\tv2.10 (rev.07)",
                                             medium + "\\drivers\\VM1TR6.SY_\tv2.10 (rev.05)",
                                             medium + "\\drivers\\VMNI1.SY_\tv2.2 (rev.1b)",
                                             medium + "\\capi\\win32\\CAPI2032.DL_\tv2.1 (rev.05)",
                                             medium + "\\VMTRACE.EX_\tv1.1 (rev.02)",
                                             medium + "\\VMTRACE.TX_\tEN [TEXT_UNKNOWNVERSION]"};

  // After two files have been expanded into the temporary directory and deleted again.
  for (int cancelAt : {0, 3}) {
    prompts_.cancelAt = cancelAt;
    prompts_.announced = 0;
    std::vector<std::string> lines;
    ProbeDialog dialog;
    dialog.init = [&](DialogView& view) {
      if (FillVersionList(services_, *state_, view))
        for (int i = 0; i < view.ListCount(version_dialog::kList); ++i)
          lines.push_back(view.ListItemText(version_dialog::kList, i));
      view.End(0);
    };
    EXPECT_EQ(host_.RunModal("DLG_fileversion", kNoWindow, dialog), 0);
    EXPECT_EQ(lines, cancelAt ? std::vector<std::string>() : expected);
    EXPECT_EQ(prompts_.ProgressCancelled(), cancelAt != 0);
    EXPECT_EQ(files_.CurrentDirectory(), startedIn);
    EXPECT_EQ(GetFileAttributesA((scratch_.path() + "\\VERTMP.$$$").c_str()),
              INVALID_FILE_ATTRIBUTES);
  }
}

}  // namespace
}  // namespace setup
