// One file's transfer and the answers that decide it, and the batches' refusals to harm a
// file; the install walk and the install flow show the batches succeed.
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

struct TransferWorld : AppWorld {
  TransferWorld() {
    FillCatalogue(state->Catalogue, "EN");
    files.MakeDirectories("C:\\VELMAR");
  }
  // A file dated that day of 1998.
  void Put(const std::string& path, std::string_view bytes, int day) {
    files.PutFile(path, bytes);
    files.SetLastWriteTime(path, k1998 + static_cast<std::uint64_t>(day) * kDay);
  }
};

TEST(FileTransferTest, AsksAboutMissingSourcesProtectedAndNewerTargetsAndAnswersDecide) {
  const struct {
    bool source, readOnly;
    int targetDay;  // -1: no target
    std::vector<int> answers;
    const char* asked;  // A abort/retry/ignore, Q question with All, W warning yes/no
    int result;
    const char* target;  // what the target holds afterwards
    int overwriteAll;
  } cases[] = {
      {false, false, -1, {-2, -3}, "AA", kIgnored, "(none)", 0},  // retried, ignored
      {true, false, 11, {2}, "Q", kTransferred, "NEW", 1},
      {true, true, 11, {0}, "W", kTransferred, "OLD", 0},
  };
  for (bool expand : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::to_string(&c - cases) + (expand ? ", expanded" : ", copied"));
      TransferWorld w;
      const std::string source = "A:\\DISK\\FILE.SY_", target = "C:\\VELMAR\\FILE.SYS";
      if (c.source) w.Put(source, expand ? Szdd("NEW") : "NEW", 10);
      if (c.targetDay >= 0) w.Put(target, "OLD", c.targetDay);
      if (c.readOnly) w.files.SetAttributes(target, Files::kReadOnly);
      for (int answer : c.answers) w.prompts.Answer(answer);
      EXPECT_EQ(TransferFile(w.services, *w.state, kOwner, source, target, expand), c.result);
      std::string asked;
      for (const auto& shown : w.prompts.shown())
        asked += shown.kind == Kind::AbortRetryIgnore  ? 'A'
                 : shown.kind == Kind::QuestionWithAll ? 'Q'
                 : shown.kind == Kind::WarningYesNo    ? 'W'
                                                       : '?';
      EXPECT_EQ(asked, c.asked);
      EXPECT_EQ(w.files.FileBytes(target).value_or("(none)"), c.target);
      EXPECT_EQ(w.state->OverwriteAll, c.overwriteAll);
    }
  }
}

TEST(FileTransferTest, NeverWritesACutPathAPartialExpansionOrAFileOntoItself) {
  TransferWorld w;
  w.files.PutFile("A:\\SETUP.KVX", Piped("[COMPFILES]|2|1|drivers|VMDSS1.SY_|vmdss1.sys|"
                                         "!NOSETUPDIR|system32\\drivers|!VERSION_ON|1||CAPI.DL_|"
                                         "CAPI.DLL||system32|!VERSION_ON"));
  w.files.PutFile("A:\\SETUP.EXE", "MZ");
  w.files.PutFile("A:\\drivers\\VMDSS1.SY_", Szdd("driver image"));
  w.files.PutFile("A:\\CAPI.DL_", Szdd("capi dll").substr(0, 15));
  w.files.MakeDirectories("A:\\doc");
  w.state->SourceDir.Assign("A:\\");
  w.state->InstallDestDir.Assign("C:\\VELMAR");
  w.Put("C:\\VELMAR\\CAPI.DLL", "old dll", 0);
  w.files.PutFile("C:\\WINDIR", "a file where the Windows directory should be");
  w.system.windowsDirectory = "C:\\WINDIR";
  // Both Windows targets cannot be created: aborted, they are skipped, not stopped. The
  // short expansion is a failed copy: ignored. Then the two paths that do not fit: ignored.
  for (int answer :
       {Prompts::kAbort, Prompts::kAbort, Prompts::kIgnore, Prompts::kIgnore, Prompts::kIgnore})
    w.prompts.Answer(answer);
  const WindowRef progress = w.prompts.OpenProgressWindow(kOwner, true, true);
  EXPECT_EQ(InstallCompFiles(w.services, *w.state, progress, kOwner, "A:\\"), 0);
  EXPECT_EQ(w.files.FileBytes("C:\\VELMAR\\CAPI.DLL"), "old dll");
  EXPECT_FALSE(w.files.FileBytes("C:\\VELMAR\\EXPAND.$$$"));
  const std::string tooLong = "C:\\" + std::string(250, 'D');
  EXPECT_EQ(CopySetupFiles(w.services, *w.state, progress, kOwner, "A:\\", tooLong), 0);
  std::vector<WindowRef> owners;
  for (const FakePrompts::Shown& shown : w.prompts.shown())
    if (shown.kind == Kind::AbortRetryIgnore) owners.push_back(shown.owner);
  EXPECT_EQ(owners, (std::vector<WindowRef>{kNoWindow, kNoWindow, kOwner, kOwner, kOwner}));

  // Source and target the same file, by another case and another route.
  EXPECT_EQ(CopySetupFiles(w.services, *w.state, progress, kOwner, "a:\\", "A:\\doc\\.."), 1);
  EXPECT_EQ(w.files.FileBytes("A:\\SETUP.EXE"), "MZ");
}

}  // namespace
}  // namespace setup
