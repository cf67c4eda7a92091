#include <gtest/gtest.h>

#include <string>

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

TEST_F(LanguageTableTest, ReadsNamesAndFilesInOrder) {
  ASSERT_EQ(Read("[LANGUAGE]\r\n2\r\nEnglish\r\nSETUPENG.TXT\r\nDeutsch\r\nSETUPGER.TXT\r\n"
                 "[LANGUAGE]\r\n1\r\nOther\r\nOTHER.TXT\r\n"),
            1);
  ASSERT_EQ(table_.count, 2);
  EXPECT_EQ(table_.displayNames[0], "English");
  EXPECT_EQ(table_.fileNames[0], "SETUPENG.TXT");
  EXPECT_EQ(table_.displayNames[1], "Deutsch");
  EXPECT_EQ(table_.fileNames[1], "SETUPGER.TXT");
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(LanguageTableTest, CountIsTheLeadingNumberOfItsLine) {
  ASSERT_EQ(Read(Languages("0", 2)), 1);
  EXPECT_EQ(table_.count, 0);

  ASSERT_EQ(Read(Languages("2 languages", 2)), 1);
  EXPECT_EQ(table_.count, 2);
  EXPECT_EQ(table_.fileNames[1], "L1.TXT");

  ASSERT_EQ(Read(Languages("-3", 2)), 1);
  EXPECT_EQ(table_.count, 0);
}

TEST_F(LanguageTableTest, IgnoresLanguagesBeyondTheSixteenth) {
  ASSERT_EQ(Read(Languages("17", 17)), 1);
  ASSERT_EQ(table_.count, kMaxLanguages);
  EXPECT_EQ(table_.displayNames[15], "L15");
  EXPECT_EQ(table_.fileNames[15], "L15.TXT");

  ASSERT_EQ(Read(Languages("4294967295000", 3)), 1);  // wraps, but never beyond the table
  EXPECT_GE(table_.count, 0);
  EXPECT_LE(table_.count, kMaxLanguages);
}

TEST_F(LanguageTableTest, CutsLongNamesToTheirFields) {
  const std::string name(100, 'n'), file(300, 'f');
  ASSERT_EQ(Read("[LANGUAGE]\r\n1\r\n" + name + "\r\n" + file + "\r\n"), 1);
  EXPECT_EQ(table_.displayNames[0].view(), name.substr(0, 63));
  EXPECT_EQ(table_.fileNames[0].view(), file.substr(0, 259));
}

TEST_F(LanguageTableTest, MissingSectionLeavesAnEmptyTableSilently) {
  ASSERT_EQ(Read(Languages("2", 2)), 1);
  ASSERT_EQ(Read("[OS]\r\n!OS_WINDOWS_NT\r\n[language]\r\n1\r\nX\r\nX.TXT\r\n"), 1);
  EXPECT_EQ(table_.count, 0);
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(LanguageTableTest, MissingScriptIsReportedAndTheTableUntouched) {
  table_.count = 1;
  table_.displayNames[0].Assign("Kept");
  EXPECT_EQ(ReadLanguageTable(files_, prompts_, {"C:\\NONE", "SETUP.KVX"}, table_), 0);
  EXPECT_EQ(table_.count, 1);
  EXPECT_EQ(table_.displayNames[0], "Kept");
  ASSERT_EQ(prompts_.shown().size(), 1u);
  EXPECT_EQ(prompts_.shown()[0].kind, FakePrompts::Kind::ErrorBox);
  EXPECT_EQ(prompts_.shown()[0].owner, kNoWindow);
  EXPECT_EQ(prompts_.shown()[0].text, "Can't find SETUPINFOFILE!");
}

}  // namespace
}  // namespace setup
