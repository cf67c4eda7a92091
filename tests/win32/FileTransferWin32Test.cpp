// The install's three batches on the sample medium, with the real LZ32 and the program's own
// dialogs, answered by a scripted user.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedUser.h"
#include "Win32World.h"
#include "install/FileTransfer.h"
#include "script/FileLists.h"
#include "ui/DialogPrompts.h"

namespace setup {
namespace {

class FileTransferWin32 : public Win32World<DialogPrompts> {
 protected:
  FileTransferWin32() : Win32World("file-transfer") {
    FillCatalogue(state_->Catalogue, "EN");
    state_->SourceDir.Assign(BesideThisProgram("medium"));
    state_->InstallDestDir.Assign(scratch_.path() + "\\VELMAR");
    system_.windowsDirectory = scratch_.path();
  }

  // The batches as the install runs them.
  std::vector<int> Install(bool allBatches = true) {
    ProgramState& state = *state_;
    progress_ = prompts_.OpenProgressWindow(kNoWindow, true, true);
    std::vector<int> results;
    if (allBatches) {
      results.push_back(CopySetupFiles(services_, state, progress_, kNoWindow,
                                       state.SourceDir.view(), state.InstallDestDir.view()));
      results.push_back(InstallAddFiles(services_, state, progress_, kNoWindow,
                                        state.SourceDir.view(), state.InstallDestDir.view()));
    }
    results.push_back(
        InstallCompFiles(services_, state, progress_, kNoWindow, state.SourceDir.view()));
    if (!prompts_.ProgressCancelled()) prompts_.CloseProgressWindow(progress_);
    return results;
  }

  // Every installed copy of the compressed files, with the original it must equal.
  std::vector<std::pair<std::string, std::string>> Expanded() {
    auto list = std::make_unique<CompFileList>();
    ReadCompFiles(files_, prompts_, state_->Script(), *list);
    std::vector<std::pair<std::string, std::string>> copies;
    for (std::size_t i = 0; i < static_cast<std::size_t>(list->count); ++i) {
      const std::string name(list->targetNames[i].view());
      const std::string original = BesideThisProgram("payload\\" + name);
      if (list->windowsSubdirs[i] != kNoWinSystem)
        copies.emplace_back(
            JoinPathParts({system_.windowsDirectory, list->windowsSubdirs[i].view(), name}),
            original);
      if (list->setupSubdirs[i] != kNoSetupDir)
        copies.emplace_back(
            JoinPathParts({state_->InstallDestDir.view(), list->setupSubdirs[i].view(), name}),
            original);
    }
    return copies;
  }

  std::string Installed(const char* name) {
    return state_->InstallDestDir.c_str() + std::string("\\") + name;
  }
  std::string Medium(const char* name) {
    return state_->SourceDir.c_str() + std::string("\\doc\\") + name;
  }

  WindowRef progress_ = kNoWindow;
};

TEST_F(FileTransferWin32, InstallsTheSampleThenAsksAboutProtectedAndNewerFilesAndStopsOnCancel) {
  ASSERT_EQ(Install(), (std::vector<int>{1, 1, 1}));
  const auto expanded = Expanded();
  ASSERT_GE(expanded.size(), 7u);
  for (const auto& [copy, original] : expanded) EXPECT_EQ(Bytes(copy), Bytes(original)) << copy;
  EXPECT_EQ(Bytes(Installed("README.TXT")), Bytes(Medium("README.TXT")));

  // A protected file answered No stays; one newer target answered All stops the asking.
  const std::string& protectedFile = expanded.front().first;
  { std::ofstream(protectedFile, std::ios::binary) << "kept"; }
  SetFileAttributesA(protectedFile.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::uint64_t later = 0x01F0000000000000;  // in the 2100s
  for (const char* name : {"README.TXT", "LIESMICH.TXT"})
    ASSERT_TRUE(SetLastWriteTime(Installed(name), later)) << name;
  ScriptedUser user;
  user.Press(113);   // All, for README.TXT
  user.Press(IDNO);  // the write-protected driver image
  EXPECT_EQ(Install(), (std::vector<int>{1, 1, 1}));
  EXPECT_TRUE(user.Done());
  EXPECT_EQ(state_->OverwriteAll, 1);
  EXPECT_EQ(Bytes(protectedFile), "kept");
  EXPECT_EQ(Bytes(Installed("LIESMICH.TXT")), Bytes(Medium("LIESMICH.TXT")));

  // Cancelled, and confirmed, while the same question is up: the file it asks about is the
  // last one the batch touches.
  for (std::size_t i = 1; i < expanded.size(); ++i) DeleteFileA(expanded[i].first.c_str());
  state_->OverwriteAll = 0;
  user.Press(1, IDNO);
  user.Press(IDYES);
  user.Press(IDNO);
  EXPECT_EQ(Install(false), (std::vector<int>{kAborted}));
  EXPECT_TRUE(user.Done());
  EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(progress_)));
  for (std::size_t i = 1; i < expanded.size(); ++i)
    EXPECT_EQ(GetFileAttributesA(expanded[i].first.c_str()), INVALID_FILE_ATTRIBUTES)
        << expanded[i].first;
}

}  // namespace
}  // namespace setup
