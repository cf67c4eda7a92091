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

  std::vector<Kind> Asked() const {
    std::vector<Kind> kinds;
    for (const auto& shown : world_.prompts.shown()) kinds.push_back(shown.kind);
    return kinds;
  }

  AppWorld world_;
};

TEST_F(FileTransferTest, AsksAboutMissingSourcesProtectedAndNewerTargetsAndAnswersDecide) {
  struct Case {
    const char* name;
    bool source;
    int targetDay;  // -1: no target
    bool readOnly;
    int overwriteAll;
    std::vector<int> answers;
    std::vector<Kind> asked;
    int result;
    const char* target;  // what the target holds afterwards
    int overwriteAllAfter;
  };
  const std::vector<Kind> none;
  const Case cases[] = {
      {"missing, retried, ignored",
       false,
       -1,
       false,
       0,
       {-2, -3},
       {Kind::AbortRetryIgnore, Kind::AbortRetryIgnore},
       kIgnored,
       nullptr,
       0},
      {"missing, aborted",
       false,
       -1,
       false,
       0,
       {-1},
       {Kind::AbortRetryIgnore},
       kAborted,
       nullptr,
       0},
      {"no target", true, -1, false, 0, {}, none, kTransferred, "NEW", 0},
      {"same date", true, 10, false, 0, {}, none, kTransferred, "NEW", 0},
      {"older target", true, 9, false, 0, {}, none, kTransferred, "NEW", 0},
      {"newer, no", true, 11, false, 0, {0}, {Kind::QuestionWithAll}, kSkipped, "OLD", 0},
      {"newer, yes", true, 11, false, 0, {1}, {Kind::QuestionWithAll}, kTransferred, "NEW", 0},
      {"newer, all", true, 11, false, 0, {2}, {Kind::QuestionWithAll}, kTransferred, "NEW", 1},
      {"newer, cancel", true, 11, false, 0, {-1}, {Kind::QuestionWithAll}, kAborted, "OLD", 0},
      {"newer after all", true, 11, false, 1, {}, none, kTransferred, "NEW", 1},
      {"read-only, no", true, 11, true, 0, {0}, {Kind::WarningYesNo}, kTransferred, "OLD", 0},
      {"read-only, yes", true, 9, true, 0, {1}, {Kind::WarningYesNo}, kTransferred, "NEW", 0},
      {"read-only, yes, newer",
       true,
       11,
       true,
       0,
       {1, 0},
       {Kind::WarningYesNo, Kind::QuestionWithAll},
       kSkipped,
       "OLD",
       0},
  };
  for (bool expand : {false, true}) {
    for (const Case& c : cases) {
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

      EXPECT_EQ(TransferFile(world_.services, state(), kOwner, source, target, expand), c.result)
          << c.name;
      EXPECT_EQ(Asked(), c.asked) << c.name;
      EXPECT_EQ(files().FileBytes(target).value_or("(none)"), c.target ? c.target : "(none)")
          << c.name << (expand ? " expanded" : " copied");
      EXPECT_EQ(state().OverwriteAll, c.overwriteAllAfter) << c.name;
    }
  }
}

// The three batches of an install over one medium, as the install runs them.
class BatchTest : public FileTransferTest {
 protected:
  BatchTest() {
    files().PutFile("A:\\SETUP.KVX", CrLfLines({"[ADDFILES]",
                                                "1",
                                                "2",
                                                "doc",
                                                "README.TXT",
                                                "GONE.TXT",
                                                "",
                                                "[COMPFILES]",
                                                "2",
                                                "1",
                                                "drivers",
                                                "VMDSS1.SY_",
                                                "vmdss1.sys",
                                                "!NOSETUPDIR",
                                                "system32\\drivers",
                                                "!VERSION_ON",
                                                "1",
                                                "",
                                                "CAPI.DL_",
                                                "CAPI.DLL",
                                                "",
                                                "system32",
                                                "!VERSION_ON"}));
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
  EXPECT_NE(
      std::find(progress.begin(), progress.end(), "A:\\CAPI.DL_>>C:\\WINNT\\system32\\CAPI.DLL"),
      progress.end());
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
