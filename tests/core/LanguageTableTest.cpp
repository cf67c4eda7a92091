#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/LanguageTable.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

constexpr ScriptLocation kMedium{"C:\\MEDIUM", "SETUP.KVX"};

// n languages named L<i> with files L<i>.TXT, behind the count line `count`.
std::string Languages(std::string_view count, int n) {
  std::string script = "[OS]\r\n!OS_WINDOWS_NT\r\n[LANGUAGE]\r\n" + std::string(count) + "\r\n";
  for (int i = 0; i < n; ++i)
    script += "L" + std::to_string(i) + "\r\nL" + std::to_string(i) + ".TXT\r\n";
  return script + "[VERSION]\r\n1\r\n";
}

TEST(LanguageTableTest, FirstSectionInOrderCountUpToSixteenNamesCutToTheirFields) {
  const std::string name(100, 'n'), file(300, 'f');
  const struct {
    std::string script;
    int count;
    std::string last;  // "name=file" of the last entry
  } cases[] = {
      {"[LANGUAGE]\r\n3\r\nEnglish\r\nSETUPENG.TXT\r\nDeutsch\r\nSETUPGER.TXT\r\n" + name + "\r\n" +
           file + "\r\n[LANGUAGE]\r\n1\r\nOther\r\nOTHER.TXT\r\n",
       3, name.substr(0, 63) + "=" + file.substr(0, 259)},
      {Languages("0", 2), 0, ""},
      {Languages("2 languages", 2), 2, "L1=L1.TXT"},
      {Languages("-3", 2), 0, ""},
      {Languages("17", 17), kMaxLanguages, "L15=L15.TXT"},
      {Languages("20", 20), kMaxLanguages, "L15=L15.TXT"},
      {"[OS]\r\n!OS_WINDOWS_NT\r\n[language]\r\n1\r\nX\r\nX.TXT\r\n", 0, ""},
  };
  SandboxFiles files;
  FakePrompts prompts;
  LanguageTable table;
  for (const auto& c : cases) {
    files.PutFile("C:\\MEDIUM\\SETUP.KVX", c.script);
    ASSERT_EQ(ReadLanguageTable(files, prompts, kMedium, table), 1);
    ASSERT_EQ(table.count, c.count) << c.script.substr(0, 60);
    if (c.count > 0) {
      const auto last = static_cast<std::size_t>(c.count - 1);
      EXPECT_EQ(std::string(table.displayNames[last].view()) + "=" +
                    std::string(table.fileNames[last].view()),
                c.last);
    }
  }
  files.PutFile("C:\\MEDIUM\\SETUP.KVX", Languages("4294967295000", 3));
  ASSERT_EQ(ReadLanguageTable(files, prompts, kMedium, table), 1);  // wraps, within the table
  EXPECT_GE(table.count, 0);
  EXPECT_LE(table.count, kMaxLanguages);
  EXPECT_TRUE(prompts.shown().empty());

  // A missing script is reported and keeps the table.
  files.PutFile("C:\\MEDIUM\\SETUP.KVX", Languages("2", 2));
  ReadLanguageTable(files, prompts, kMedium, table);
  EXPECT_EQ(ReadLanguageTable(files, prompts, {"C:\\NONE", "SETUP.KVX"}, table), 0);
  EXPECT_EQ(table.count, 2);
  EXPECT_EQ(table.displayNames[1], "L1");
  EXPECT_EQ(prompts.Texts(FakePrompts::Kind::ErrorBox),
            std::vector<std::string>{"Can't find SETUPINFOFILE!"});
}

}  // namespace
}  // namespace setup
