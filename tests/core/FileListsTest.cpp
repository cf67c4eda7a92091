#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/FileLists.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Texts = std::vector<std::string>;

constexpr ScriptLocation kMedium{"C:\\MEDIUM\\", "SETUP.KVX"};
const std::string kScript = "C:\\MEDIUM\\SETUP.KVX";

// Script lines written with '|' for each CR LF; every section follows two other lines, so
// the section's n-th line is script line 3 + n.
std::string Lines(std::string_view pipes) {
  return "[OS]\r\n!OS_WINDOWS_NT\r\n" + Piped(pipes);
}

// Row i of every column, joined by '|'.
template <class... Columns>
Texts Rows(std::int32_t count, const Columns&... columns) {
  Texts rows(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < rows.size(); ++i)
    ((rows[i] += "|" + std::string(columns[i].view())), ...);
  for (std::string& row : rows) row.erase(0, 1);
  return rows;
}

class FileListsTest : public ::testing::Test {
 protected:
  // Reads the list of `section` from `script`; its count.
  std::int32_t Read(std::string_view section, const std::string& script) {
    files_.PutFile(kScript, script);
    prompts_ = {};
    if (section == "[COMPFILES]")
      return Count(ReadCompFiles(files_, prompts_, kMedium, comp_), comp_);
    if (section == "[ADDFILES]") return Count(ReadAddFiles(files_, prompts_, kMedium, add_), add_);
    if (section == "[PROGMAN]")
      return Count(ReadProgmanItems(files_, prompts_, kMedium, "English", progman_), progman_);
    return Count(ReadDeleteAddFiles(files_, prompts_, kMedium, del_), del_);
  }
  template <class List>
  static std::int32_t Count(int read, const List& list) {
    EXPECT_EQ(read, 1);
    return list.count;
  }

  SandboxFiles files_;
  FakePrompts prompts_;
  CompFileList comp_;
  AddFileList add_;
  DeleteFileList del_;
  ProgmanItemList progman_;
};

TEST_F(FileListsTest, GroupLinesFillEveryRowOfTheirGroup) {
  // The group of no files still has its four lines, which must not be read as counts.
  files_.PutFile(kScript,
                 Lines("[COMPFILES]|3|3|DRV|A.SY_|A.SYS|B.DL_|B.DLL|C.EX_|C.EXE|SYS|!NOWINSYSTEM|"
                       "!VERSION_ON|0|9|9|9|9|2||D.TX_|D.TXT|E.IN_|E.INF|!NOSETUPDIR||off|"
                       "[ADDFILES]|2|2|SRC|README.TXT|NOTES.TXT|DOC|1||X.INI||"
                       "[DELETEADDFILES]|2|1|LOG|A.LOG|2||B.TMP|C.TMP|[COMPFILES]|1|1||Z|Z|||"));
  ASSERT_EQ(ReadCompFiles(files_, prompts_, kMedium, comp_), 1);
  EXPECT_EQ(Rows(comp_.count, comp_.sourceNames, comp_.targetNames, comp_.sourceSubdirs,
                 comp_.setupSubdirs, comp_.windowsSubdirs, comp_.versionSwitches),
            (Texts{"A.SY_|A.SYS|DRV|SYS|!NOWINSYSTEM|!VERSION_ON",
                   "B.DL_|B.DLL|DRV|SYS|!NOWINSYSTEM|!VERSION_ON",
                   "C.EX_|C.EXE|DRV|SYS|!NOWINSYSTEM|!VERSION_ON", "D.TX_|D.TXT||!NOSETUPDIR||off",
                   "E.IN_|E.INF||!NOSETUPDIR||off"}));
  ASSERT_EQ(ReadAddFiles(files_, prompts_, kMedium, add_), 1);
  EXPECT_EQ(Rows(add_.count, add_.sourceSubdirs, add_.fileNames, add_.targetSubdirs),
            (Texts{"SRC|README.TXT|DOC", "SRC|NOTES.TXT|DOC", "|X.INI|"}));
  ASSERT_EQ(ReadDeleteAddFiles(files_, prompts_, kMedium, del_), 1);
  EXPECT_EQ(Rows(del_.count, del_.subdirs, del_.fileNames),
            (Texts{"LOG|A.LOG", "|B.TMP", "|C.TMP"}));
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(FileListsTest, ProgmanReadsTheFirstBlockOfTheLanguageIgnoringCase) {
  // A parameter line after any other command than !SETUPFILE+CMD is the working directory.
  files_.PutFile(kScript,
                 Lines("[PROGMAN]|Velmar ISDN|English|1|Setup|!SETUPFILE|!SETUPDIR|!SETUPICON|0|"
                       "Fran\347ais|3|Configurer|!SETUPFILE+CMD|/c|!SETUPDIR|!SETUPICON|1|"
                       "Lisez-moi|NOTEPAD.EXE|/x|LISEZ.ICO|70000|"
                       "Enlever|!SETUPFILE|!SETUPDIR|!SETUPICON|-1|FRAN\307AIS|1|Autre|A.EXE|||0"));
  progman_.parameters.fill(ItemText("stale"));
  ASSERT_EQ(ReadProgmanItems(files_, prompts_, kMedium, "FRAN\307AIS", progman_), 1);
  EXPECT_EQ(progman_.groupName, "Velmar ISDN");
  Texts items = Rows(progman_.count, progman_.titles, progman_.commands, progman_.parameters,
                     progman_.workingDirs, progman_.iconFiles);
  for (std::size_t i = 0; i < items.size(); ++i)
    items[i] += "|" + std::to_string(progman_.iconIndices[i]);
  EXPECT_EQ(items, (Texts{"Configurer|!SETUPFILE+CMD|/c|!SETUPDIR|!SETUPICON|1",
                          "Lisez-moi|NOTEPAD.EXE||/x|LISEZ.ICO|4464",
                          "Enlever|!SETUPFILE||!SETUPDIR|!SETUPICON|65535"}));

  ASSERT_EQ(ReadProgmanItems(files_, prompts_, kMedium, "Italiano", progman_), 1);
  EXPECT_EQ(progman_.count, 0);
  EXPECT_EQ(progman_.groupName, "Velmar ISDN");
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(FileListsTest, UnreadableScriptIsReportedAndEmptiesEveryList) {
  const ScriptLocation nowhere{"C:\\NONE", "SETUP.KVX"};
  comp_.count = add_.count = del_.count = progman_.count = 5;
  progman_.groupName.Assign("Old");
  EXPECT_EQ(ReadCompFiles(files_, prompts_, nowhere, comp_) +
                ReadAddFiles(files_, prompts_, nowhere, add_) +
                ReadDeleteAddFiles(files_, prompts_, nowhere, del_) +
                ReadProgmanItems(files_, prompts_, nowhere, "English", progman_),
            0);
  EXPECT_EQ(comp_.count + add_.count + del_.count + progman_.count, 0);
  EXPECT_TRUE(progman_.groupName.empty());
  EXPECT_EQ(prompts_.Texts(FakePrompts::Kind::ErrorBox), Texts(4, "Can't find SETUPINFOFILE!"));
  for (const FakePrompts::Shown& shown : prompts_.shown()) EXPECT_EQ(shown.owner, kNoWindow);
}

TEST_F(FileListsTest, CountsStopAtTheEndHeadersMatchWholeAndMisfitsAreRefused) {
  // [DELETEADDFILES] with groups of `first` and `second` rows.
  const auto groups = [](int first, int second) {
    std::string body = "[DELETEADDFILES]|2|" + std::to_string(first) + "|SUB";
    for (int i = 0; i < first + second; ++i)
      body += i == first ? "|" + std::to_string(second) + "|SUB|F" : "|F";
    return Lines(body);
  };
  const std::string n31(31, 'n'), n32(32, 'n'), n64(64, 't'), n300(300, 'c');
  struct Case {
    std::string_view section;
    std::string script;
    std::int32_t count;
    int refusedLine;  // 0: none
  } cases[] = {
      {"[DELETEADDFILES]", Lines("[DELETEADDFILES]|2|-3|SUB|1|SUB2|X.LOG"), 1, 0},
      {"[DELETEADDFILES]", Lines("[DELETEADDFILES]|2147483647|1|SUB|X.LOG"), 1, 0},
      // Rows stop at the end of the file; a last line without its line end still counts.
      {"[ADDFILES]", "[ADDFILES]\r\n1\r\n3\r\nSRC\r\nA\r\nB", 2, 0},
      {"[COMPFILES]", Lines("[COMPFILES]|1|3|SRC|A|A"), 1, 0},
      {"[PROGMAN]", Lines("[PROGMAN]|G|english|2|T|C|W|I"), 1, 0},
      // Headers are whole lines, in upper case.
      {"[COMPFILES]", Lines("[COMPFILES] |1|1|S|A|A|||"), 0, 0},
      {"[PROGMAN]", Lines("[progman]|G|English|1|T|C|W|I|0"), 0, 0},
      {"[DELETEADDFILES]", groups(200, 60), 260, 0},
      {"[DELETEADDFILES]", groups(200, 61), 0, 207},
      {"[DELETEADDFILES]", Lines("[DELETEADDFILES]|1|999999999"), 0, 5},
      {"[COMPFILES]", Lines("[COMPFILES]|1|2|SRC|A|" + n31 + "|B|" + n32), 0, 10},
      {"[ADDFILES]", Lines("[ADDFILES]|1|1|SRC|A|" + n32), 0, 8},
      {"[PROGMAN]", Lines("[PROGMAN]|G|English|17"), 0, 6},
      {"[PROGMAN]", Lines("[PROGMAN]|" + n64), 0, 4},
      {"[PROGMAN]", Lines("[PROGMAN]|G|English|1|T|" + n300 + "|W|I|0"), 0, 8},
      {"[PROGMAN]", Lines("[PROGMAN]|G|English|1|T|!SETUPFILE+CMD|" + n64 + "|W|I|0"), 0, 9},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(c.section, c.script), c.count) << c.script.substr(0, 60);
    Texts where = prompts_.Texts(FakePrompts::Kind::ErrorBox);
    for (std::string& text : where) text = text.substr(0, text.find(':'));
    EXPECT_EQ(where,
              c.refusedLine ? Texts{"SETUP.KVX, line " + std::to_string(c.refusedLine)} : Texts{});
  }
  EXPECT_EQ(prompts_.Texts(FakePrompts::Kind::ErrorBox),
            Texts{"SETUP.KVX, line 9: longer than 63 characters:\n" + n64});
  EXPECT_TRUE(progman_.groupName.empty());
}

}  // namespace
}  // namespace setup
