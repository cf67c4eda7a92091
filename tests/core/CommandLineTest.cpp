#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/CommandLine.h"

namespace setup {
namespace {

class CommandLine : public ::testing::Test {
 protected:
  void Languages(std::initializer_list<const char*> names) {
    state_->Languages.count = 0;
    for (const char* name : names)
      state_->Languages.displayNames[static_cast<std::size_t>(state_->Languages.count++)].Assign(
          name);
  }
  int LanguageFor(std::string_view commandLine) {
    ParseCommandLine(*state_, commandLine);
    FindLanguage(*state_);
    return state_->LanguageIndex;
  }

  std::unique_ptr<ProgramState> state_ = std::make_unique<ProgramState>();
};

TEST_F(CommandLine, LaterModeSwitchWins) {
  ParseCommandLine(*state_, "/c /d");
  EXPECT_EQ(state_->StartMode, 2);
  ParseCommandLine(*state_, "/d /c");
  EXPECT_EQ(state_->StartMode, 1);
  ParseCommandLine(*state_, "-D");
  EXPECT_EQ(state_->StartMode, 2);
}

TEST_F(CommandLine, ScriptNameRunsToTheNextBlank) {
  ParseCommandLine(*state_, "/c -FOTHER.KVX /d");
  EXPECT_EQ(state_->ScriptFileName, "OTHER.KVX");
  EXPECT_EQ(state_->StartMode, 2);

  // A blank after the letter gives an empty name; the word after it is no switch.
  ParseCommandLine(*state_, "/f OTHER.KVX");
  EXPECT_EQ(state_->ScriptFileName, "");
}

TEST_F(CommandLine, OnlyASlashOrMinusBeforeALetterIsASwitch) {
  ParseCommandLine(*state_, "/x /q -z c d //c");
  EXPECT_EQ(state_->StartMode, 1);
  EXPECT_EQ(state_->ScriptFileName, "SETUP.KVX");
  EXPECT_EQ(state_->LanguageName, "");

  // The value of /f or /l is taken whole, even when it holds a switch character.
  ParseCommandLine(*state_, "/fA:\\X-D.KVX /lpt-br");
  EXPECT_EQ(state_->ScriptFileName, "A:\\X-D.KVX");
  EXPECT_EQ(state_->LanguageName, "pt-br");
  EXPECT_EQ(state_->StartMode, 1);
}

TEST_F(CommandLine, LanguageMatchesIgnoringCaseFirstEntryWins) {
  Languages({"Deutsch", "English", "ENGLISH"});
  EXPECT_EQ(LanguageFor("/lENGLISH"), 1);
  EXPECT_EQ(LanguageFor("/ldeutsch"), 0);
  EXPECT_EQ(LanguageFor("/lFrancais"), 0);
}

TEST_F(CommandLine, NameWithABlankCannotBeChosen) {
  Languages({"English", "Espanol (MX)", "Espanol"});
  EXPECT_EQ(LanguageFor("/lEspanol (MX)"), 2);
  Languages({"English", "Espanol (MX)"});
  EXPECT_EQ(LanguageFor("/lEspanol (MX)"), 0);
}

TEST_F(CommandLine, NoLanguageAskedForIsTheFirstEvenBesideAnEmptyName) {
  Languages({"English", ""});
  EXPECT_EQ(LanguageFor("/c"), 0);
  EXPECT_EQ(LanguageFor("/l /c"), 0);
  Languages({});
  EXPECT_EQ(LanguageFor("/lEnglish"), 0);
}

TEST_F(CommandLine, OverlongInputIsCutNotOverflowed) {
  // Only the first 127 characters count: the switch letter at position 127 is lost.
  ParseCommandLine(*state_, std::string(126, ' ') + "/d");
  EXPECT_EQ(state_->StartMode, 0);
  ParseCommandLine(*state_, "/c" + std::string(996, 'x') + "/d");
  EXPECT_EQ(state_->StartMode, 1);

  const std::string language(40, 'L');
  ParseCommandLine(*state_, "/l" + language);
  EXPECT_EQ(state_->LanguageName, language.substr(0, 15));

  const std::string script(400, 'S');
  ParseCommandLine(*state_, "/f" + script + " /d");
  EXPECT_EQ(state_->ScriptFileName, script.substr(0, 125));
  EXPECT_EQ(state_->StartMode, 1);
}

}  // namespace
}  // namespace setup
