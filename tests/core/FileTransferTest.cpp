#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/FileTransfer.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Kind = FakePrompts::Kind;
constexpr WindowRef kOwner = 0x10;
constexpr std::uint64_t kDay = 864000000000, k1998 = 125911584000000000;

class FileTransferTest : public ::testing::Test {
 protected:
  FileTransferTest() {
    FillCatalogue(state().Catalogue, "EN");
    world_.files.MakeDirectories("C:\\WINNT\\system32");
  }

  ProgramState& state() { return *world_.state; }
  SandboxFiles& files() { return world_.files; }
  FakePrompts& prompts() { return world_.prompts; }

  // A file dated that day of 1998.
  void Put(const std::string& path, std::string_view bytes, int day) {
    files().SetAttributes(path, Files::kNormal);
    files().PutFile(path, bytes);
    files().SetLastWriteTime(path, k1998 + static_cast<std::uint64_t>(day) * kDay);
  }

  // One letter per prompt: A abort/retry/ignore, Q question with All, W warning yes/no.
  std::string Asked() const {
    std::string kinds;
    for (const auto& shown : world_.prompts.shown())
      kinds += shown.kind == Kind::AbortRetryIgnore  ? 'A'
               : shown.kind == Kind::QuestionWithAll ? 'Q'
               : shown.kind == Kind::WarningYesNo    ? 'W'
                                                     : '?';
    return kinds;
  }

  AppWorld world_;
};

TEST_F(FileTransferTest, AsksAboutMissingSourcesProtectedAndNewerTargetsAndAnswersDecide) {
  struct Case {
    const char* name;
    bool source, readOnly;
    int targetDay;  // -1: no target
    int overwriteAll;
    std::vector<int> answers;
    const char* asked;
    int result;
    const char* target;  // what the target holds afterwards
    int overwriteAllAfter;
  };
  const Case cases[] = {
      {"missing, retried, ignored", false, false, -1, 0, {-2, -3}, "AA", kIgnored, nullptr, 0},
      {"missing, aborted", false, false, -1, 0, {-1}, "A", kAborted, nullptr, 0},
      {"no target", true, false, -1, 0, {}, "", kTransferred, "NEW", 0},
      {"same date", true, false, 10, 0, {}, "", kTransferred, "NEW", 0},
      {"older target", true, false, 9, 0, {}, "", kTransferred, "NEW", 0},
      {"newer, no", true, false, 11, 0, {0}, "Q", kSkipped, "OLD", 0},
      {"newer, yes", true, false, 11, 0, {1}, "Q", kTransferred, "NEW", 0},
      {"newer, all", true, false, 11, 0, {2}, "Q", kTransferred, "NEW", 1},
      {"newer, cancel", true, false, 11, 0, {-1}, "Q", kAborted, "OLD", 0},
      {"newer after all", true, false, 11, 1, {}, "", kTransferred, "NEW", 1},
      {"read-only, no", true, true, 11, 0, {0}, "W", kTransferred, "OLD", 0},
      {"read-only, yes", true, true, 9, 0, {1}, "W", kTransferred, "NEW", 0},
      {"read-only, yes, newer", true, true, 11, 0, {1, 0}, "WQ", kSkipped, "OLD", 0},
  };
  for (bool expand : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (expand ? ", expanded" : ", copied"));
      const std::string source = "A:\\DISK\\FILE.SY_", target = "C:\\VELMAR\\FILE.SYS";
      world_.prompts = FakePrompts();
      files().MakeDirectories("C:\\VELMAR");
      files().SetAttributes(target, Files::kNormal);
      files().Delete(target);
      files().Delete(source);
      if (c.source) Put(source, expand ? Szdd("NEW") : "NEW", 10);
      if (c.targetDay >= 0) Put(target, "OLD", c.targetDay);
      if (c.readOnly) files().SetAttributes(target, Files::kReadOnly);
      state().OverwriteAll = c.overwriteAll;
      for (int answer : c.answers) prompts().Answer(answer);

      EXPECT_EQ(TransferFile(world_.services, state(), kOwner, source, target, expand), c.result);
      EXPECT_EQ(Asked(), c.asked);
      EXPECT_EQ(files().FileBytes(target).value_or("(none)"), c.target ? c.target : "(none)");
      EXPECT_EQ(state().OverwriteAll, c.overwriteAllAfter);
    }
  }
}

// The three batches of an install over one medium, as the install runs them.
class BatchTest : public FileTransferTest {
 protected:
  BatchTest() {
    files().PutFile(
        "A:\\SETUP.KVX",
        "[ADDFILES]\r\n1\r\n2\r\ndoc\r\nREADME.TXT\r\nGONE.TXT\r\n\r\n[COMPFILES]\r\n2\r\n"
        "1\r\ndrivers\r\nVMDSS1.SY_\r\nvmdss1.sys\r\n!NOSETUPDIR\r\nsystem32\\drivers\r\n"
        "!VERSION_ON\r\n1\r\n\r\nCAPI.DL_\r\nCAPI.DLL\r\n\r\nsystem32\r\n!VERSION_ON\r\n");
    files().PutFile("A:\\SETUP.EXE", "MZ");
    files().PutFile("A:\\doc\\README.TXT", "readme");
    files().PutFile("A:\\drivers\\VMDSS1.SY_", Szdd("driver image"));
    files().PutFile("A:\\CAPI.DL_", Szdd("capi dll"));
    state().SourceDir.Assign("A:\\");
    state().InstallDestDir.Assign("C:\\VELMAR");
    state().Catalogue.SetText(text::INFO_COPYFILE, "%s>%s");
    state().Catalogue.SetText(text::INFO_EXPANDFILE, "%s>>%s");
  }

  // The results of the three batches, run as an install runs them until one is aborted.
  std::vector<int> Install() {
    const WindowRef progress = prompts().OpenProgressWindow(kOwner, true, true);
    std::vector<int> results{
        CopySetupFiles(world_.services, state(), progress, kOwner, "A:\\", "C:\\VELMAR")};
    if (results.back() != kAborted)
      results.push_back(
          InstallAddFiles(world_.services, state(), progress, kOwner, "A:\\", "C:\\VELMAR"));
    if (results.back() != kAborted)
      results.push_back(InstallCompFiles(world_.services, state(), progress, kOwner, "A:\\"));
    if (!prompts().ProgressCancelled()) prompts().CloseProgressWindow(progress);
    return results;
  }
};

TEST_F(BatchTest, InstallsEveryFileWhereTheListsSayAndAnIgnoredFileMakesItsBatchZero) {
  prompts().Answer(Prompts::kIgnore);  // GONE.TXT
  EXPECT_EQ(Install(), (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(prompts().Texts(Kind::AbortRetryIgnore),
            std::vector<std::string>{"EN [ERR_FILENOTFOUND]"});
  for (const auto& [path, bytes] :
       {std::pair{"C:\\VELMAR\\SETUP.KVX", files().FileBytes("A:\\SETUP.KVX").value()},
        {"C:\\VELMAR\\SETUP.EXE", "MZ"},
        {"C:\\VELMAR\\README.TXT", "readme"},
        {"C:\\WINNT\\system32\\drivers\\vmdss1.sys", "driver image"},
        {"C:\\WINNT\\system32\\CAPI.DLL", "capi dll"},
        {"C:\\VELMAR\\CAPI.DLL", "capi dll"}})
    EXPECT_EQ(files().FileBytes(path).value_or("(none)"), bytes) << path;
  // Empty subdirectories add no doubled backslash; the Windows target comes first.
  const std::vector<std::string> progress = prompts().Texts(Kind::Progress);
  EXPECT_LT(
      std::find(progress.begin(), progress.end(), "A:\\CAPI.DL_>>C:\\WINNT\\system32\\CAPI.DLL"),
      std::find(progress.begin(), progress.end(), "A:\\CAPI.DL_>>C:\\VELMAR\\CAPI.DLL"));
}

TEST_F(BatchTest, AllAnsweredOnceCoversLaterBatchesAndCancelStopsBeforeTheNextFile) {
  files().PutFile("A:\\doc\\GONE.TXT", "back");
  Install();
  for (const char* path : {"C:\\VELMAR\\README.TXT", "C:\\WINNT\\system32\\CAPI.DLL"})
    files().SetLastWriteTime(path, files().LastWriteTime("A:\\SETUP.EXE").value() + kDay);
  prompts().Answer(Prompts::kAll);
  state().OverwriteAll = 0;
  EXPECT_EQ(Install(), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(prompts().Texts(Kind::QuestionWithAll).size(), 1u);

  // The window is gone after the cancel: FakePrompts fails any later use of it.
  files().Delete("C:\\VELMAR\\README.TXT");
  prompts().CancelProgressAfter(2);
  EXPECT_EQ(Install(), (std::vector<int>{1, kAborted}));
  EXPECT_FALSE(files().FileBytes("C:\\VELMAR\\README.TXT"));
}

TEST_F(BatchTest, NeverWritesACutPathAPartialExpansionOrAFileOntoItself) {
  files().PutFile("A:\\CAPI.DL_", Szdd("capi dll").substr(0, 15));
  Put("C:\\VELMAR\\CAPI.DLL", "old dll", 0);
  files().PutFile("C:\\WINDIR", "a file where the Windows directory should be");
  world_.system.windowsDirectory = "C:\\WINDIR";
  // Both Windows targets cannot be created: aborted, they are skipped, not stopped. The
  // short expansion is a failed copy: ignored. Then the two paths that do not fit: ignored.
  for (int answer :
       {Prompts::kAbort, Prompts::kAbort, Prompts::kIgnore, Prompts::kIgnore, Prompts::kIgnore})
    prompts().Answer(answer);
  const WindowRef progress = prompts().OpenProgressWindow(kOwner, true, true);
  EXPECT_EQ(InstallCompFiles(world_.services, state(), progress, kOwner, "A:\\"), 0);
  EXPECT_EQ(files().FileBytes("C:\\VELMAR\\CAPI.DLL"), "old dll");
  EXPECT_FALSE(files().FileBytes("C:\\VELMAR\\EXPAND.$$$"));
  const std::string tooLong = "C:\\" + std::string(250, 'D');
  EXPECT_EQ(CopySetupFiles(world_.services, state(), progress, kOwner, "A:\\", tooLong), 0);
  std::vector<WindowRef> owners;
  for (const FakePrompts::Shown& shown : prompts().shown())
    if (shown.kind == Kind::AbortRetryIgnore) owners.push_back(shown.owner);
  EXPECT_EQ(owners, (std::vector<WindowRef>{kNoWindow, kNoWindow, kOwner, kOwner, kOwner}));

  // Source and target the same file, by another case and another route.
  EXPECT_EQ(CopySetupFiles(world_.services, state(), progress, kOwner, "a:\\", "A:\\doc\\.."), 1);
  EXPECT_EQ(files().FileBytes("A:\\SETUP.EXE"), "MZ");
}

}  // namespace
}  // namespace setup
