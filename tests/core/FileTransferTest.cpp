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
    // Formats that show which path goes where.
    for (const auto& [key, format] : {std::pair{text::INFO_CREATEPATH, "create %s"},
                                      {text::INFO_COPYFILE, "copy %s to %s"},
                                      {text::INFO_EXPANDFILE, "expand %s to %s"},
                                      {text::ERR_FILENOTFOUND, "missing %s"},
                                      {text::ERR_NOWRITEACCESS, "protected %s, new %s"},
                                      {text::QUEST_OVERWRITENEW, "newer %s"},
                                      {text::ERR_CANTWRITE, "no write %s"}})
      state->Catalogue.SetText(key, format);
    files.MakeDirectories("C:\\VELMAR");
  }
  // A file dated that day of 1998.
  void Put(const std::string& path, std::string_view bytes, int day) {
    files.PutFile(path, bytes);
    files.SetLastWriteTime(path, k1998 + static_cast<std::uint64_t>(day) * kDay);
  }
  // What was shown: the kind's letter (Q with All, A abort/retry/ignore, W warning yes/no,
  // P progress) and the text, the file's paths named S, T and D for the target's directory.
  std::vector<std::string> Shown() const {
    std::vector<std::string> shown;
    for (FakePrompts::Shown line : prompts.shown()) {
      if (line.text.empty()) continue;  // the progress window's opening
      for (const auto& [path, name] :
           {std::pair{"C:\\D\\T\\F", "T"}, {"C:\\D\\T", "D"}, {"A:\\S\\F", "S"}})
        for (std::size_t at; (at = line.text.find(path)) != std::string::npos;)
          line.text.replace(at, std::string_view(path).size(), name);
      shown.push_back(std::string(1, "EMqQAWP"[static_cast<int>(line.kind)]) + ' ' + line.text);
    }
    return shown;
  }
};

// One file copied by its batch, and expanded by its own, as each answer decides. Before: s
// the source there (h read-only, hidden and system); t an older target, n a newer one (r
// read-only); b a file where its directory belongs; f the disk full.
TEST(FileTransferTest, AsksAboutTheFileInItsOwnWordsAndEachAnswerDecides) {
  const struct {
    std::string before;
    std::vector<int> answers;
    std::vector<std::string> shown;  // "P copy" reads "P expand" when expanding
    int result;                      // the batch's
    const char* target;              // what it holds afterwards
  } cases[] = {
      {"",
       {Prompts::kRetry, Prompts::kIgnore},
       {"P create D", "P copy S to T", "A missing S", "A missing S"},
       0,
       ""},
      {"sn", {Prompts::kAll}, {"P copy S to T", "Q newer T"}, 1, "NEW"},
      {"sn", {Prompts::kNo}, {"P copy S to T", "Q newer T"}, 1, "OLD"},
      {"sn", {Prompts::kCancel}, {"P copy S to T", "Q newer T"}, -1, "OLD"},
      {"snr", {Prompts::kNo}, {"P copy S to T", "W protected T, new S"}, 1, "OLD"},
      // A target that cannot be made stops the batch, or is left out, as any failed copy.
      {"sb", {Prompts::kAbort}, {"P create D", "P copy S to T", "A no write T"}, -1, ""},
      {"sb", {Prompts::kIgnore}, {"P create D", "P copy S to T", "A no write T"}, 0, ""},
      {"stf", {Prompts::kIgnore}, {"P copy S to T", "A no write T"}, 0, "OLD"},
      {"sh", {}, {"P create D", "P copy S to T"}, 1, "NEW"},
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
      std::vector<std::string> shown = c.shown;
      for (std::string& line : shown)
        if (expand && line.starts_with("P copy")) line.replace(2, 4, "expand");
      EXPECT_EQ(w.Shown(), shown);
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
