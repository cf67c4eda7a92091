#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace setup {
namespace {

TEST(CommandLine, SwitchesAndTheirValues) {
  struct Case {
    std::string line;
    int mode;
    std::string script, language;
  };
  const Case cases[] = {
      // The later of /c and /d wins, in either case.
      {"/c /d", 2, "SETUP.KVX", ""},
      {"/d /c", 1, "SETUP.KVX", ""},
      {"-D", 2, "SETUP.KVX", ""},
      // A value runs to the next blank; a blank right after the letter gives an empty one.
      {"/c -FOTHER.KVX /d", 2, "OTHER.KVX", ""},
      {"/f OTHER.KVX", 0, "", ""},
      // Only a slash or minus before a letter starts a switch, and values are taken whole.
      {"/x /q -z c d //c", 1, "SETUP.KVX", ""},
      {"/fA:\\X-D.KVX /lpt-br", 0, "A:\\X-D.KVX", "pt-br"},
      // Only the first 127 characters count, and values are cut to their fields.
      {std::string(126, ' ') + "/d", 0, "SETUP.KVX", ""},
      {"/c" + std::string(996, 'x') + "/d", 1, "SETUP.KVX", ""},
      {"/l" + std::string(40, 'L'), 0, "SETUP.KVX", std::string(15, 'L')},
      {"/f" + std::string(400, 'S') + " /d", 0, std::string(125, 'S'), ""},
  };
  for (const Case& c : cases) {
    auto state = std::make_unique<ProgramState>();
    ParseCommandLine(*state, c.line);
    EXPECT_EQ(state->StartMode, c.mode) << c.line;
    EXPECT_EQ(state->ScriptFileName, c.script) << c.line;
    EXPECT_EQ(state->LanguageName, c.language) << c.line;
  }
}

TEST(CommandLine, LanguageMatchesIgnoringCaseAndFallsBackToTheFirst) {
  struct Case {
    std::vector<const char*> names;
    const char* line;
    int index;
  };
  const Case cases[] = {
      {{"Deutsch", "English", "ENGLISH"}, "/lENGLISH", 1},
      {{"Deutsch", "English", "ENGLISH"}, "/lFrancais", 0},
      // Windows-1252 letters fold as Windows folds them; the signs × and ÷ do not.
      {{"English", "Fran\347ais"}, "/lFRAN\307AIS", 1},
      {{"English", "\212\377X"}, "/l\232\237x", 1},
      {{"English", "a\367"}, "/lA\327", 0},
      // A name with a blank cannot be chosen: the value ends at the blank.
      {{"English", "Espanol (MX)", "Espanol"}, "/lEspanol (MX)", 2},
      {{"English", "Espanol (MX)"}, "/lEspanol (MX)", 0},
      // No name asked for never matches an empty entry.
      {{"English", ""}, "/l /c", 0},
      {{}, "/lEnglish", 0},
  };
  for (const Case& c : cases) {
    auto state = std::make_unique<ProgramState>();
    for (const char* name : c.names)
      state->Languages.displayNames[static_cast<std::size_t>(state->Languages.count++)].Assign(
          name);
    state->LanguageIndex = 5;
    ParseCommandLine(*state, c.line);
    FindLanguage(*state);
    EXPECT_EQ(state->LanguageIndex, c.index) << c.line;
  }
}

}  // namespace
}  // namespace setup
