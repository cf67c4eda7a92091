#include <gtest/gtest.h>

#include <string>
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

  // Every line ReadScriptLine delivers, then "EOF:" and what the final call left behind.
  std::vector<std::string> ReadAll(std::string_view bytes) {
    OpenFile file = Open(bytes);
    std::vector<std::string> lines;
    LineText line("stale");
    while (ReadScriptLine(file, line)) lines.emplace_back(line.view());
    lines.push_back("EOF:" + std::string(line.view()));
    return lines;
  }

  void Script(std::string_view bytes) { files_.PutFile("C:\\MEDIUM\\SETUP.KVX", bytes); }

  SandboxFiles files_;
  FakePrompts prompts_;
};

using Lines = std::vector<std::string>;

TEST_F(ScriptReaderTest, CarriageReturnEndsALineAndSwallowsTheNextByte) {
  EXPECT_EQ(ReadAll("A\r\nB\r\n"), (Lines{"A", "B", "EOF:"}));
  EXPECT_EQ(ReadAll("A\rB\r\n"), (Lines{"A", "", "EOF:"}));
  EXPECT_EQ(ReadAll("A\r"), (Lines{"A", "EOF:"}));
  EXPECT_EQ(ReadAll("A\r\nlast"), (Lines{"A", "EOF:last"}));
  EXPECT_EQ(ReadAll(""), (Lines{"EOF:"}));
  // Line feeds alone end nothing.
  EXPECT_EQ(ReadAll("[OS]\n!OS_WINDOWS_NT\n"), (Lines{"EOF:[OS]\n!OS_WINDOWS_NT\n"}));
}

TEST_F(ScriptReaderTest, KeepsBlanksAndTurnsTheSoftBreakIntoALineFeed) {
  EXPECT_EQ(ReadAll("  two  words \r\n"), (Lines{"  two  words ", "EOF:"}));
  EXPECT_EQ(ReadAll("first\xAFsecond\r\n"), (Lines{"first\nsecond", "EOF:"}));
  EXPECT_EQ(ReadAll("\t\x01\xFF\r\n"), (Lines{"\t\x01\xFF", "EOF:"}));
}

TEST_F(ScriptReaderTest, CutsOverlongLinesAndGoesOnWithTheNextOne) {
  const std::string exact(259, 'e');
  EXPECT_EQ(ReadAll(exact + "\r\n"), (Lines{exact, "EOF:"}));
  // Longer than a read chunk too, with a soft break in the dropped part.
  for (const std::size_t length : {260u, 300u, 1000u}) {
    const std::string longLine = std::string(length - 1, 'x') + "\xAF";
    EXPECT_EQ(ReadAll(longLine + "\r\nnext\r\n"), (Lines{std::string(259, 'x'), "next", "EOF:"}))
        << length;
  }
  EXPECT_EQ(ReadAll(std::string(700, 'y')), (Lines{"EOF:" + std::string(259, 'y')}));
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

TEST_F(ScriptReaderTest, FindSectionReadsTheLineAfterTheWholeKey) {
  OpenFile file =
      Open("[KEY] \r\nno\r\n[key]\r\nno\r\nx[KEY]\r\nno\r\n[KEY]\r\nyes\r\n[NEXT]\r\n2\r\n");
  LineText value("old");
  FindSection(file, "[KEY]", value, prompts_);
  EXPECT_EQ(value, "yes");
  FindSection(file, "[NEXT]", value, prompts_);
  EXPECT_EQ(value, "2");
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(ScriptReaderTest, FindSectionReportsAMissingKeyAndNeverRewinds) {
  OpenFile file = Open("[B]\r\nb\r\n[A]\r\na\r\n");
  LineText value("old");
  FindSection(file, "[A]", value, prompts_);
  EXPECT_EQ(value, "a");
  FindSection(file, "[B]", value, prompts_);  // stands before [A]
  EXPECT_EQ(value, "a");
  FindSection(file, "[%s%n]", value, prompts_);  // a key is never a format
  EXPECT_EQ(value, "a");

  ASSERT_EQ(prompts_.shown().size(), 2u);
  EXPECT_EQ(prompts_.shown()[0].kind, FakePrompts::Kind::ErrorBox);
  EXPECT_EQ(prompts_.shown()[0].owner, kNoWindow);
  EXPECT_EQ(prompts_.shown()[0].text, "Section not found: [B]");
  EXPECT_EQ(prompts_.shown()[1].text, "Section not found: [%s%n]");
}

TEST(ScriptPaths, CollapseDropsTheFirstOfTwoBackslashes) {
  const auto collapsed = [](std::string_view path) {
    PathText text(path);
    CollapseBackslashes(text);
    return std::string(text.view());
  };
  EXPECT_EQ(collapsed("C:\\\\SETUP.KVX"), "C:\\SETUP.KVX");
  EXPECT_EQ(collapsed("a\\\\\\b"), "a\\\\b");
  EXPECT_EQ(collapsed("a\\\\\\\\b"), "a\\\\b");
  EXPECT_EQ(collapsed("\\\\server\\share\\x"), "\\server\\share\\x");
  EXPECT_EQ(collapsed("end\\\\"), "end\\");
  EXPECT_EQ(collapsed("C:\\dir\\file"), "C:\\dir\\file");
}

TEST(ScriptPaths, JoinPutsOneBackslashBetweenAndCuts) {
  EXPECT_EQ(JoinPath("C:\\", "SETUP.KVX"), "C:\\\\SETUP.KVX");
  EXPECT_EQ(ScriptPath({"C:\\", "SETUP.KVX"}), "C:\\SETUP.KVX");
  EXPECT_EQ(ScriptPath({"D:\\MEDIUM", "SETUP.KVX"}), "D:\\MEDIUM\\SETUP.KVX");
  EXPECT_EQ(JoinPath(std::string(300, 'd'), "x").view(), std::string(259, 'd'));
}

TEST(ScriptNumbers, TakeBlanksSignAndLeadingDigits) {
  EXPECT_EQ(ReadUnsignedNumber("3"), 3u);
  EXPECT_EQ(ReadUnsignedNumber("  \t12abc"), 12u);
  EXPECT_EQ(ReadUnsignedNumber("+7"), 7u);
  EXPECT_EQ(ReadUnsignedNumber("-1"), 4294967295u);
  EXPECT_EQ(ReadUnsignedNumber("4294967296"), 0u);
  EXPECT_EQ(ReadUnsignedNumber("abc"), 0u);
  EXPECT_EQ(ReadUnsignedNumber("- 5"), 0u);
  EXPECT_EQ(ReadUnsignedNumber(""), 0u);
  // 123456789012345678901234567890 mod 2^32, as the original unsigned arithmetic wraps.
  EXPECT_EQ(ReadUnsignedNumber("123456789012345678901234567890"), 1312754386u);
  EXPECT_EQ(ReadNumber("2 languages"), 2);
  EXPECT_EQ(ReadNumber("-5"), -5);
}

TEST_F(ScriptReaderTest, OsSectionGivesThePlatform) {
  const auto platform = [&](std::string_view value) {
    Script("[VERSION]\r\n1\r\n[OS]\r\n" + std::string(value) + "\r\n");
    return ReadTargetPlatform(files_, kMedium);
  };
  EXPECT_EQ(platform("!OS_WINDOWS_NT"), 2);
  EXPECT_EQ(platform("!OS_WINDOWS_95"), 1);
  EXPECT_EQ(platform("!OS_WINDOWS_16"), 0);
  EXPECT_EQ(platform("!OS_WINDOWS_NT "), 0);
  EXPECT_EQ(platform("!os_windows_nt"), 0);

  Script("[OS]\r\n!OS_WINDOWS_95\r\n[OS]\r\n!OS_WINDOWS_NT\r\n");  // the first section counts
  EXPECT_EQ(ReadTargetPlatform(files_, kMedium), 1);
  Script("[OS] \r\n!OS_WINDOWS_NT\r\n[os]\r\n!OS_WINDOWS_NT\r\n");
  EXPECT_EQ(ReadTargetPlatform(files_, kMedium), 0);
  Script("[OS]\n!OS_WINDOWS_NT\n");
  EXPECT_EQ(ReadTargetPlatform(files_, kMedium), 0);
  Script("[OS]\r\n!OS_WINDOWS_NT");  // the value line needs no line end
  EXPECT_EQ(ReadTargetPlatform(files_, kMedium), 2);
  EXPECT_EQ(ReadTargetPlatform(files_, {"C:\\ELSEWHERE", "SETUP.KVX"}), 0);
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(ScriptReaderTest, ScriptIsFoundFromADriveRoot) {
  files_.PutFile("D:\\SETUP.KVX", "[OS]\r\n!OS_WINDOWS_NT\r\n");
  EXPECT_EQ(ReadTargetPlatform(files_, {"D:\\", "SETUP.KVX"}), 2);
  EXPECT_EQ(files_.openedPaths().back(), "D:\\SETUP.KVX");
}

TEST_F(ScriptReaderTest, CurrentCapiDllSection) {
  LineText dll("unchanged");
  Script("[OS]\r\n!OS_WINDOWS_NT\r\n");
  EXPECT_EQ(ReadCurrentCapiDll(files_, kMedium, dll), 0);
  EXPECT_EQ(dll, "unchanged");
  EXPECT_EQ(ReadCurrentCapiDll(files_, {"C:\\NONE", "SETUP.KVX"}, dll), 0);
  EXPECT_EQ(dll, "unchanged");

  Script("[CURRENTCAPIDLL]\r\nCAPI2032.DLL\r\n");
  EXPECT_EQ(ReadCurrentCapiDll(files_, kMedium, dll), 1);
  EXPECT_EQ(dll, "CAPI2032.DLL");
}

TEST_F(ScriptReaderTest, VersionSectionIsAnUnsignedNumber) {
  const auto version = [&](std::string_view script) {
    Script(script);
    return ReadScriptVersion(files_, kMedium);
  };
  EXPECT_EQ(version("[VERSION]\r\n3\r\n"), 3u);
  EXPECT_EQ(version("[VERSION]\r\n17beta\r\n"), 17u);
  EXPECT_EQ(version("[VERSION]\r\n-1\r\n"), 4294967295u);
  EXPECT_EQ(version("[VERSION]\r\n123456789012345678901234567890\r\n"), 1312754386u);
  EXPECT_EQ(version("[VERSION]\r\n42"), 42u);
  EXPECT_EQ(version("[OS]\r\n!OS_WINDOWS_NT\r\n"), 0u);
  EXPECT_EQ(ReadScriptVersion(files_, {"C:\\NONE", "SETUP.KVX"}), 0u);
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(ScriptReaderTest, VersionPathIsNotCollapsed) {
  Script("[VERSION]\r\n5\r\n");
  EXPECT_EQ(ReadScriptVersion(files_, {"C:\\MEDIUM\\", "SETUP.KVX"}), 5u);
  EXPECT_EQ(files_.openedPaths().back(), "C:\\MEDIUM\\\\SETUP.KVX");
  ReadTargetPlatform(files_, {"C:\\MEDIUM\\", "SETUP.KVX"});
  EXPECT_EQ(files_.openedPaths().back(), "C:\\MEDIUM\\SETUP.KVX");
}

}  // namespace
}  // namespace setup
