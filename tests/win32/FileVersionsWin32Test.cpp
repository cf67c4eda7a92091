// The version list through its own template, the real progress window, directory listing and
// LZ32: from the sample medium, cancelled, and from a hand-made installed copy.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Scratch.h"
#include "app/FileVersions.h"
#include "script/CaseFold.h"
#include "support/AppWorld.h"
#include "ui/DialogPrompts.h"
#include "win32/Win32DialogHost.h"
#include "win32/Win32DialogView.h"
#include "win32/Win32Expander.h"
#include "win32/Win32Files.h"

namespace setup {
namespace {

// The user clicks Cancel while the file of announcement `at` (from 1) is shown.
class CancellingUser : public DialogPrompts {
 public:
  using DialogPrompts::DialogPrompts;
  int at = 0;
  std::string temporary;
  bool temporaryExisted = false;

  WindowRef OpenProgressWindow(WindowRef owner, bool withCancel, bool confirmCancel) override {
    announced_ = 0;
    return DialogPrompts::OpenProgressWindow(owner, withCancel, confirmCancel);
  }
  void SetProgressText(WindowRef progress, std::string_view text) override {
    DialogPrompts::SetProgressText(progress, text);
    if (++announced_ != at) return;
    temporaryExisted = GetFileAttributesA(temporary.c_str()) != INVALID_FILE_ATTRIBUTES;
    PostMessageA(GetDlgItem(HwndOf(progress), 1), BM_CLICK, 0, 0);
  }

 private:
  int announced_ = 0;
};

// Reads the list while the dialog is up, as the user would see it, then presses OK.
class ReadingUser : public Dialog {
 public:
  ReadingUser(Services& services, const ProgramState& state) : dialog_(services, state) {}
  std::vector<std::string> lines;

  void OnInit(DialogView& view) override {
    dialog_.OnInit(view);
    // EndDialog hides the window at once.
    if (!IsWindowVisible(HwndOf(view.Window()))) return;
    for (int i = 0; i < view.ListCount(version_dialog::kList); ++i)
      lines.push_back(view.ListItemText(version_dialog::kList, i));
    dialog_.OnCommand(view, version_dialog::kOk, 0);
  }

 private:
  FileVersionDialog dialog_;
};

class FileVersionsWin32 : public ::testing::Test {
 protected:
  FileVersionsWin32() {
    FillCatalogue(state_->Catalogue, "EN");
    state_->SourceDir.Assign(BesideThisProgram("medium"));
    system_.windowsDirectory = scratch_.path() + "\\WINNT";
    CreateDirectoryA(system_.windowsDirectory.c_str(), nullptr);
    prompts_.temporary = system_.windowsDirectory + "\\VERTMP.$$$";
  }

  std::vector<std::string> Show() {
    ReadingUser user(services_, *state_);
    EXPECT_EQ(host_.RunModal("DLG_fileversion", kNoWindow, user), 0);
    EXPECT_EQ(files_.CurrentDirectory(), startedIn_);
    EXPECT_EQ(GetFileAttributesA(prompts_.temporary.c_str()), INVALID_FILE_ATTRIBUTES);
    return user.lines;
  }

  // Each line as the path the list shows, which the system may spell in another case, and
  // the version.
  static void ExpectLines(const std::vector<std::string>& lines,
                          const std::vector<std::pair<std::string, std::string>>& expected) {
    ASSERT_EQ(lines.size(), expected.size()) << ::testing::PrintToString(lines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::size_t tab = lines[i].find('\t');
      EXPECT_TRUE(EqualIgnoringCase(lines[i].substr(0, tab), expected[i].first)) << lines[i];
      EXPECT_EQ(lines[i].substr(tab + 1), expected[i].second) << lines[i];
    }
  }

  ScratchFolder scratch_{"file-versions"};
  Win32Files files_;
  Win32Expander expander_;
  FixedSystemInfo system_;
  MemoryRegistry registry_;
  std::unique_ptr<ProgramState> state_ = std::make_unique<ProgramState>();
  Win32DialogHost host_{GetModuleHandleA(nullptr)};
  CancellingUser prompts_{host_, state_->Catalogue};
  Services services_{files_, expander_, system_, registry_, prompts_, host_};
  const std::string startedIn_ = files_.CurrentDirectory();
  const std::string unknown_ = "EN [TEXT_UNKNOWNVERSION]";
};

TEST_F(FileVersionsWin32, MediumListsTheStampsOfTheCompressedFilesAndCancelLeavesNothing) {
  const std::string medium(state_->SourceDir.view());
  ExpectLines(Show(), {{medium + "\\drivers\\VMDSS1.SY_", "v2.10 (rev.07)"},
                       {medium + "\\drivers\\VM1TR6.SY_", "v2.10 (rev.05)"},
                       {medium + "\\drivers\\VMNI1.SY_", "v2.2 (rev.1b)"},
                       {medium + "\\capi\\win32\\CAPI2032.DL_", "v2.1 (rev.05)"},
                       {medium + "\\VMTRACE.EX_", "v1.1 (rev.02)"},
                       {medium + "\\VMTRACE.TX_", unknown_}});

  prompts_.at = 3;
  EXPECT_EQ(Show().size(), 0u);
  EXPECT_TRUE(prompts_.temporaryExisted);
  EXPECT_TRUE(prompts_.ProgressCancelled());
}

// Drivers in the Windows tree; the trace tool only in the setup directory, started from
// there with /c; one driver and the readme never installed.
TEST_F(FileVersionsWin32, InstalledCopiesAreReadWhereTheInstallPutThem) {
  const std::string setupDir = scratch_.path() + "\\VELMAR";
  const std::string windows = system_.windowsDirectory;
  for (const std::string& directory : {setupDir, setupDir + "\\tools", setupDir + "\\tools\\trace",
                                       windows + "\\system32", windows + "\\system32\\drivers"})
    CreateDirectoryA(directory.c_str(), nullptr);
  CopyFileA((state_->SourceDir.c_str() + std::string("\\SETUP.KVX")).c_str(),
            (setupDir + "\\SETUP.KVX").c_str(), FALSE);
  for (const auto& [name, target] : {std::pair{"vmdss1.sys", windows + "\\system32\\drivers"},
                                     {"vm1tr6.sys", windows + "\\system32\\drivers"},
                                     {"CAPI2032.DLL", windows + "\\system32"},
                                     {"vmtrace.exe", setupDir + "\\tools\\trace"}})
    ASSERT_TRUE(CopyFileA(BesideThisProgram((std::string("payload\\") + name).c_str()).c_str(),
                          (target + "\\" + name).c_str(), FALSE))
        << name;
  state_->SourceDir.Assign(setupDir);
  state_->StartMode = state_->InitialStartMode = 1;

  ExpectLines(Show(), {{windows + "\\system32\\drivers\\vmdss1.sys", "v2.10 (rev.07)"},
                       {windows + "\\system32\\drivers\\vm1tr6.sys", "v2.10 (rev.05)"},
                       {windows + "\\system32\\drivers\\vmni1.sys", unknown_},
                       {windows + "\\system32\\CAPI2032.DLL", "v2.1 (rev.05)"},
                       {setupDir + "\\tools\\trace\\vmtrace.exe", "v1.1 (rev.02)"},
                       {setupDir + "\\tools\\trace\\vmtrace.txt", unknown_}});
}

}  // namespace
}  // namespace setup
