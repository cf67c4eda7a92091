#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "script/ScriptReader.h"
#include "support/FakePrompts.h"
#include "support/SandboxFiles.h"

namespace setup {
namespace {

constexpr ScriptLocation kMedium{"C:\\MEDIUM", "SETUP.KVX"};

class ScriptReaderTest : public ::testing::Test {
 protected:
  OpenFile Open(std::string_view bytes) {
    files_.PutFile("C:\\MEDIUM\\DATA.TXT", bytes);
    return OpenForReading(files_, "C:\\MEDIUM\\DATA.TXT");
  }

  // Every line ReadScriptLine delivers, then "EOF:" and what the final call left behind;
  // " (cut)" marks a line that lost its tail.
  std::vector<std::string> ReadAll(std::string_view bytes) {
    OpenFile file = Open(bytes);
    std::vector<std::string> lines;
    LineText line("stale");
    bool cut = true;
    const auto text = [&] { return std::string(line.view()) + (cut ? " (cut)" : ""); };
    while (ReadScriptLine(file, line, cut)) lines.push_back(text());
    lines.push_back("EOF:" + text());
    return lines;
  }

  void Script(std::string_view bytes) { files_.PutFile("C:\\MEDIUM\\SETUP.KVX", bytes); }

  SandboxFiles files_;
  FakePrompts prompts_;
};

using Lines = std::vector<std::string>;

TEST_F(ScriptReaderTest, CarriageReturnEndsALineAndSwallowsTheNextByte) {
  const std::string x259(259, 'x'), exact(259, 'e');
  const std::pair<std::string, Lines> cases[] = {
      {"A\r\nB\r\n", {"A", "B", "EOF:"}},
      {"A\rB\r\n", {"A", "", "EOF:"}},
      {"A\r", {"A", "EOF:"}},
      {"A\r\nlast", {"A", "EOF:last"}},
      {"", {"EOF:"}},
      // Line feeds alone end nothing.
      {"[OS]\n!OS_WINDOWS_NT\n", {"EOF:[OS]\n!OS_WINDOWS_NT\n"}},
      // Blanks and control bytes are kept; the soft break becomes a line feed.
      {"  two\t\x01\xFF words \r\n", {"  two\t\x01\xFF words ", "EOF:"}},
      {"first\xAFsecond\r\n", {"first\nsecond", "EOF:"}},
      // Overlong lines are cut, also past a read chunk and with a soft break in the
      // dropped part, and the next line is read whole.
      {exact + "\r\n", {exact, "EOF:"}},
      {x259 + "\xAF\r\nnext\r\n", {x259 + " (cut)", "next", "EOF:"}},
      {std::string(999, 'x') + "\xAF\r\nnext\r\n", {x259 + " (cut)", "next", "EOF:"}},
      {std::string(700, 'y'), {"EOF:" + std::string(259, 'y') + " (cut)"}},
  };
  for (const auto& [bytes, lines] : cases) EXPECT_EQ(ReadAll(bytes), lines) << bytes.size();
}

TEST_F(ScriptReaderTest, LeavesTheFileWhereAByteReaderWould) {
  OpenFile file = Open("A\r\nBC\rXD");
  LineText line;
  ASSERT_EQ(ReadScriptLine(file, line), 1);
  char next = 0;
  ASSERT_EQ(files_.Read(file.handle(), &next, 1), 1);
  EXPECT_EQ(next, 'B');
  ASSERT_EQ(ReadScriptLine(file, line), 1);
  EXPECT_EQ(line, "C");
  ASSERT_EQ(files_.Read(file.handle(), &next, 1), 1);
  EXPECT_EQ(next, 'D');
}

TEST_F(ScriptReaderTest, FindSectionReadsTheLineAfterTheWholeKeyAndNeverRewinds) {
  OpenFile file =
      Open("[KEY] \r\nno\r\n[key]\r\nno\r\nx[KEY]\r\nno\r\n[KEY]\r\nyes\r\n[B]\r\nb\r\n");
  LineText value("old");
  FindSection(file, "[KEY]", value, prompts_);
  EXPECT_EQ(value, "yes");
  FindSection(file, "[KEY]", value, prompts_);   // stands before
  FindSection(file, "[%s%n]", value, prompts_);  // a key is never a format
  EXPECT_EQ(value, "yes");
  ASSERT_EQ(prompts_.shown().size(), 2u);
  EXPECT_EQ(prompts_.shown()[0].kind, FakePrompts::Kind::ErrorBox);
  EXPECT_EQ(prompts_.shown()[0].owner, kNoWindow);
  EXPECT_EQ(prompts_.shown()[0].text, "Section not found: [KEY]");
  EXPECT_EQ(prompts_.shown()[1].text, "Section not found: [%s%n]");
}

TEST(ScriptPaths, JoinPutsOneBackslashBetweenCollapseDropsTheFirstOfTwo) {
  const std::pair<std::string, std::string> collapsed[] = {{"C:\\\\SETUP.KVX", "C:\\SETUP.KVX"},
                                                           {"a\\\\\\b", "a\\\\b"},
                                                           {"a\\\\\\\\b", "a\\\\b"},
                                                           {"\\\\server\\x", "\\server\\x"},
                                                           {"end\\\\", "end\\"},
                                                           {"C:\\dir\\file", "C:\\dir\\file"}};
  for (const auto& [path, expected] : collapsed) {
    PathText text(path);
    CollapseBackslashes(text);
    EXPECT_EQ(text, expected) << path;
  }
  EXPECT_EQ(JoinPath("C:\\", "SETUP.KVX"), "C:\\\\SETUP.KVX");
  EXPECT_EQ(ScriptPath({"D:\\MEDIUM", "SETUP.KVX"}), "D:\\MEDIUM\\SETUP.KVX");
  EXPECT_EQ(JoinPath(std::string(300, 'd'), "x").view(), std::string(259, 'd'));
}

TEST(ScriptNumbers, TakeBlanksSignAndLeadingDigitsAndWrap) {
  const std::pair<const char*, std::uint32_t> numbers[] = {
      {"  \t12abc", 12u},
      {"+7", 7u},
      {"-1", 4294967295u},
      {"4294967296", 0u},
      {"- 5", 0u},
      {"", 0u},
      // mod 2^32, as the original unsigned arithmetic wraps
      {"123456789012345678901234567890", 1312754386u}};
  for (const auto& [text, value] : numbers) EXPECT_EQ(ReadUnsignedNumber(text), value) << text;
  EXPECT_EQ(ReadNumber("-5"), -5);
}

// How headers match and lines end is the reader's, shown above.
TEST_F(ScriptReaderTest, SingleValueSections) {
  const std::pair<const char*, int> platforms[] = {
      {"[OS]\r\n!OS_WINDOWS_NT\r\n", 2},
      {"[OS]\r\n!OS_WINDOWS_95\r\n[OS]\r\n!OS_WINDOWS_NT\r\n", 1},  // the first section counts
      {"[OS]\r\n!OS_WINDOWS_NT \r\n", 0},
      {"[OS]\r\n!os_windows_nt\r\n", 0},
  };
  for (const auto& [script, platform] : platforms) {
    Script(script);
    EXPECT_EQ(ReadTargetPlatform(files_, kMedium), platform) << script;
  }
  EXPECT_EQ(ReadTargetPlatform(files_, {"C:\\ELSEWHERE", "SETUP.KVX"}), 0);

  LineText dll("unchanged");
  EXPECT_EQ(ReadCurrentCapiDll(files_, kMedium, dll), 0);
  EXPECT_EQ(ReadScriptVersion(files_, kMedium), 0u);
  EXPECT_EQ(ReadCurrentCapiDll(files_, {"C:\\NONE", "SETUP.KVX"}, dll), 0);
  EXPECT_EQ(dll, "unchanged");
  Script("[CURRENTCAPIDLL]\r\nCAPI2032.DLL\r\n[VERSION]\r\n17beta");
  EXPECT_EQ(ReadCurrentCapiDll(files_, kMedium, dll), 1);
  EXPECT_EQ(dll, "CAPI2032.DLL");
  // Unlike the other sections, the version's path is used as joined.
  EXPECT_EQ(ReadScriptVersion(files_, {"C:\\MEDIUM\\", "SETUP.KVX"}), 17u);
  EXPECT_EQ(files_.openedPaths().back(), "C:\\MEDIUM\\\\SETUP.KVX");
  EXPECT_TRUE(prompts_.shown().empty());
}

}  // namespace
}  // namespace setup
