#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/LanguageTable.h"
#include "support/FakePrompts.h"
#include "support/SandboxFiles.h"

namespace setup {
namespace {

constexpr ScriptLocation kMedium{"C:\\MEDIUM", "SETUP.KVX"};

class LanguageTableTest : public ::testing::Test {
 protected:
  int Read(std::string_view script) {
    files_.PutFile("C:\\MEDIUM\\SETUP.KVX", script);
    return ReadLanguageTable(files_, prompts_, kMedium, table_);
  }

  // n languages named L<i> with files L<i>.TXT.
  static std::string Languages(std::string_view count, int n) {
    std::string script = "[OS]\r\n!OS_WINDOWS_NT\r\n[LANGUAGE]\r\n" + std::string(count) + "\r\n";
    for (int i = 0; i < n; ++i)
      script += "L" + std::to_string(i) + "\r\nL" + std::to_string(i) + ".TXT\r\n";
    return script + "[VERSION]\r\n1\r\n";
  }

  SandboxFiles files_;
  FakePrompts prompts_;
  LanguageTable table_;
};

TEST_F(LanguageTableTest, ReadsTheFirstSectionInOrderCuttingNamesToTheirFields) {
  const std::string name(100, 'n'), file(300, 'f');
  ASSERT_EQ(Read("[LANGUAGE]\r\n3\r\nEnglish\r\nSETUPENG.TXT\r\nDeutsch\r\nSETUPGER.TXT\r\n" +
                 name + "\r\n" + file + "\r\n[LANGUAGE]\r\n1\r\nOther\r\nOTHER.TXT\r\n"),
            1);
  ASSERT_EQ(table_.count, 3);
  std::string read;
  for (std::size_t i = 0; i < 3; ++i)
    read += std::string(table_.displayNames[i].view()) + "=" +
            std::string(table_.fileNames[i].view()) + " ";
  EXPECT_EQ(read, "English=SETUPENG.TXT Deutsch=SETUPGER.TXT " + name.substr(0, 63) + "=" +
                      file.substr(0, 259) + " ");
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(LanguageTableTest, CountIsTheLeadingNumberOfItsLineUpToSixteen) {
  struct Case {
    const char* count;
    int languages, expected;
  };
  for (const Case& c : {Case{"0", 2, 0}, Case{"2 languages", 2, 2}, Case{"-3", 2, 0},
                        Case{"17", 17, kMaxLanguages}, Case{"20", 20, kMaxLanguages}}) {
    ASSERT_EQ(Read(Languages(c.count, c.languages)), 1);
    ASSERT_EQ(table_.count, c.expected) << c.count;
    if (c.expected > 0) {
      const std::string last = "L" + std::to_string(c.expected - 1);
      EXPECT_EQ(table_.displayNames[static_cast<std::size_t>(c.expected - 1)], last);
      EXPECT_EQ(table_.fileNames[static_cast<std::size_t>(c.expected - 1)], last + ".TXT");
    }
  }
  ASSERT_EQ(Read(Languages("4294967295000", 3)), 1);  // wraps, but never beyond the table
  EXPECT_GE(table_.count, 0);
  EXPECT_LE(table_.count, kMaxLanguages);
}

TEST_F(LanguageTableTest, MissingScriptIsReportedAndKeepsTheTableAMissingSectionEmptiesIt) {
  ASSERT_EQ(Read(Languages("2", 2)), 1);
  EXPECT_EQ(ReadLanguageTable(files_, prompts_, {"C:\\NONE", "SETUP.KVX"}, table_), 0);
  EXPECT_EQ(table_.count, 2);
  EXPECT_EQ(table_.displayNames[1], "L1");
  EXPECT_EQ(prompts_.Texts(FakePrompts::Kind::ErrorBox),
            std::vector<std::string>{"Can't find SETUPINFOFILE!"});

  ASSERT_EQ(Read("[OS]\r\n!OS_WINDOWS_NT\r\n[language]\r\n1\r\nX\r\nX.TXT\r\n"), 1);
  EXPECT_EQ(table_.count, 0);
  EXPECT_EQ(prompts_.shown().size(), 1u);
}

}  // namespace
}  // namespace setup
