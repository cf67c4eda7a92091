// The setup script read line by line, the catalogue loaded from a language file, and the
// formatting of catalogue texts.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "script/LanguageTable.h"
#include "script/SafeFormat.h"
#include "script/ScriptReader.h"
#include "script/StringCatalogue.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Lines = std::vector<std::string>;

class ScriptReaderTest : public ::testing::Test {
 protected:
  // Every line ReadScriptLine delivers, then "EOF:" and what the final call left behind;
  // " (cut)" marks a line that lost its tail, " (NUL)" one whose NUL hides the rest.
  Lines ReadAll(std::string_view bytes) {
    files_.PutFile("C:\\MEDIUM\\DATA.TXT", bytes);
    OpenFile file = OpenForReading(files_, "C:\\MEDIUM\\DATA.TXT");
    Lines lines;
    LineText line("stale");
    LineFault fault = LineFault::TooLong;
    const char* const marks[] = {"", " (cut)", " (NUL)"};
    const auto text = [&] { return std::string(line.view()) + marks[static_cast<int>(fault)]; };
    while (ReadScriptLine(file, line, fault)) lines.push_back(text());
    lines.push_back("EOF:" + text());
    return lines;
  }

  SandboxFiles files_;
  FakePrompts prompts_;
  LanguageTable table_;
  StringCatalogue catalogue_;
};

TEST_F(ScriptReaderTest, CarriageReturnEndsALineAndSwallowsTheNextByte) {
  const std::string x259(259, 'x');
  const std::pair<std::string, Lines> cases[] = {
      {"A\rB\r\n", {"A", "", "EOF:"}},
      // Line feeds alone end nothing; the soft break becomes one.
      {" \t\n\x01\xFF\xAFz\r\n", {" \t\n\x01\xFF\nz", "EOF:"}},
      // Overlong lines are cut, past a read chunk too; the next line is read whole.
      {std::string(999, 'x') + "\xAF\r\nnext\r\n", {x259 + " (cut)", "next", "EOF:"}},
      {std::string(700, 'x'), {"EOF:" + x259 + " (cut)"}},
      {std::string("a\0b\r\n\0\r\nc\r\n", 11), {"a (NUL)", " (NUL)", "c", "EOF:"}},
  };
  for (const auto& [bytes, lines] : cases) EXPECT_EQ(ReadAll(bytes), lines) << bytes.size();
}

TEST(ScriptPaths, JoinRefusesWhatDoesNotFit) {
  EXPECT_EQ(JoinPath(std::string(257, 'd'), "x"), std::string(257, 'd') + "\\x");
  EXPECT_EQ(JoinPath(std::string(258, 'd'), "x"), std::nullopt);
}

// The start-up test loads catalogues; an index past the table must not be read, whatever
// the table's count says.
TEST_F(ScriptReaderTest, CatalogueRefusesAnIndexOutOfTheTable) {
  table_.count = 40;
  EXPECT_EQ(LoadStringCatalogue(files_, prompts_, "C:\\MEDIUM", table_, kMaxLanguages, catalogue_),
            0);
  EXPECT_EQ(prompts_.Texts(FakePrompts::Kind::ErrorBox), Lines{"Language is not supported!"});
}

TEST(SafeFormat, NeverReadsAnArgumentThatWasNotPassedNorOneItDoesNotSupportNorOverflows) {
  EXPECT_EQ(FormatText("%s%s[%5d]", {"only"}), "only[]");
  // A wrong kind uses its argument up and shows nothing.
  EXPECT_EQ(FormatText("%d|%s|%s", {"text", std::int32_t{3}, "last"}), "||last");
  // What it does not support is copied as text.
  EXPECT_EQ(FormatText("%n%s %*d %p %f %hd %lld %-08", {"x"}), "%nx %*d %p %f %hd %lld %-08");
  EXPECT_EQ(FormatText("%-99999999999999999999999d|", {std::int32_t{1}}).size(), 259u);
  EXPECT_EQ(FormatText("abc%sdef", {"XYZ"}, 5), "abcXY");
}

}  // namespace
}  // namespace setup
