// One file's transfer and the answers that decide it, and the batches' refusals to harm a
// file; the install walk and the install flow show the batches succeed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/FileTransfer.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

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
  // The kinds shown, a letter each: Q with All, A abort/retry/ignore, W warning yes/no, P
  // progress (its opening left out).
  std::string Shown() const {
    std::string shown;
    for (const FakePrompts::Shown& line : prompts.shown())
      if (!line.text.empty()) shown += "EMqQAWP"[static_cast<int>(line.kind)];
    return shown;
  }
};

// One file copied by its batch, and expanded by its own, as each answer decides; which
// questions are asked, not their words. Before: s
// the source there (h read-only, hidden and system); t an older target, n a newer one (r
// read-only); b a file where its directory belongs; f the disk full.
TEST(FileTransferTest, AsksAboutTheFileInItsOwnWordsAndEachAnswerDecides) {
  const struct {
    std::string before;
    std::vector<int> answers;
    const char* shown;
    int result;          // the batch's
    const char* target;  // what it holds afterwards
  } cases[] = {
      {"", {Prompts::kRetry, Prompts::kIgnore}, "PPAA", 0, ""},
      {"sn", {Prompts::kAll}, "PQ", 1, "NEW"},
      {"sn", {Prompts::kNo}, "PQ", 1, "OLD"},
      {"sn", {Prompts::kCancel}, "PQ", -1, "OLD"},
      {"snr", {Prompts::kNo}, "PW", 1, "OLD"},
      // A target that cannot be made stops the batch, as any failed copy.
      {"sb", {Prompts::kAbort}, "PPA", -1, ""},
      {"stf", {Prompts::kIgnore}, "PA", 0, "OLD"},
      {"sh", {}, "PP", 1, "NEW"},
  };
  for (bool expand : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::to_string(&c - cases) + (expand ? ", expanded" : ", copied"));
      const auto has = [&c](char flag) { return c.before.find(flag) != std::string::npos; };
      TransferWorld w;
      w.files.PutFile("A:\\SETUP.KVX",
                      Piped("[ADDFILES]|1|1|S|F|T|[COMPFILES]|1|1|S|F|F|T|!NOWINSYSTEM|-"));
      w.state->SourceDir.Assign("A:\\");
      w.state->InstallDestDir.Assign("C:\\D");
      const std::string source = "A:\\S\\F", target = "C:\\D\\T\\F";
      if (has('s')) w.Put(source, expand ? Szdd("NEW") : "NEW", 10);
      if (has('h'))
        w.files.SetAttributes(source, Files::kReadOnly | Files::kHidden | Files::kSystem);
      if (has('t') || has('n')) w.Put(target, "OLD", has('n') ? 11 : 9);
      if (has('r')) w.files.SetAttributes(target, Files::kReadOnly);
      if (has('b')) w.files.PutFile("C:\\D\\T", "a file");
      if (has('f')) w.files.FailWrites("C:\\D\\T");
      for (int answer : c.answers) w.prompts.Answer(answer);
      const WindowRef progress = w.prompts.OpenProgressWindow(kOwner, true, true);
      EXPECT_EQ(expand ? InstallCompFiles(w.services, *w.state, progress, kOwner, "A:\\")
                       : InstallAddFiles(w.services, *w.state, progress, kOwner, "A:\\", "C:\\D"),
                c.result);
      EXPECT_EQ(w.Shown(), c.shown);
      EXPECT_EQ(w.files.FileBytes(target).value_or(""), c.target);
      EXPECT_EQ(w.state->OverwriteAll, c.answers == std::vector<int>{Prompts::kAll});
      // Nothing of the transfer's own stays beside the target, and a copy is left writable.
      EXPECT_EQ(w.files.FilesIn("C:\\D\\T").size(), w.files.FileBytes(target) ? 1u : 0u);
      const std::uint32_t attributes = w.files.Attributes(target).value_or(0);
      EXPECT_EQ(attributes & (Files::kReadOnly | Files::kHidden | Files::kSystem),
                has('r')              ? Files::kReadOnly
                : has('h') && !expand ? Files::kHidden | Files::kSystem
                                      : 0);
    }
  }
}

TEST(FileTransferTest, NeverWritesACutPathAPartialExpansionOrAFileOntoItself) {
  TransferWorld w;
  w.files.PutFile("A:\\SETUP.KVX",
                  Piped("[COMPFILES]|1|1||CAPI.DL_|CAPI.DLL||system32|!VERSION_ON"));
  w.files.PutFile("A:\\SETUP.EXE", "MZ");
  w.files.PutFile("A:\\CAPI.DL_", Szdd("capi dll").substr(0, 15));
  w.files.MakeDirectories("A:\\doc");
  w.state->SourceDir.Assign("A:\\");
  w.state->InstallDestDir.Assign("C:\\VELMAR");
  w.Put("C:\\VELMAR\\CAPI.DLL", "old dll", 0);
  // The short expansion fails for both targets, then the two paths that do not fit: each ignored.
  for (int i = 0; i < 4; ++i) w.prompts.Answer(Prompts::kIgnore);
  const WindowRef progress = w.prompts.OpenProgressWindow(kOwner, true, true);
  EXPECT_EQ(InstallCompFiles(w.services, *w.state, progress, kOwner, "A:\\"), 0);
  EXPECT_EQ(w.files.FileBytes("C:\\VELMAR\\CAPI.DLL"), "old dll");
  EXPECT_EQ(w.files.FilesIn("C:\\VELMAR"), std::vector<std::string>{"CAPI.DLL"});
  const std::string tooLong = "C:\\" + std::string(250, 'D');
  EXPECT_EQ(CopySetupFiles(w.services, *w.state, progress, kOwner, "A:\\", tooLong), 0);
  EXPECT_EQ(w.prompts.unanswered(), 0u);

  // Source and target the same file, by another case and another route.
  EXPECT_EQ(CopySetupFiles(w.services, *w.state, progress, kOwner, "a:\\", "A:\\doc\\.."), 1);
  EXPECT_EQ(w.files.FileBytes("A:\\SETUP.EXE"), "MZ");
}

}  // namespace
}  // namespace setup
