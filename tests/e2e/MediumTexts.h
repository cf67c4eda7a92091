#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// The lines of a script or language file as the program reads them: a carriage return ends a
// line and swallows the byte after it, byte 0xAF breaks a line inside a line.
std::vector<std::string> ScriptLines(std::string_view bytes);

struct Language {
  std::string displayName;
  std::string fileName;
  // Key line ("[DLG_MAIN_EXIT]") to the text line after it; the first pair of a key wins.
  std::map<std::string, std::string, std::less<>> texts;

  // Throws for a key the file lacks, which fails the test that asked.
  const std::string& Text(std::string_view key) const { return texts.at(std::string(key)); }
};

// The printf conversions of a text in order ("%s", "%u", ...), "%%" left out.
std::vector<std::string> Conversions(std::string_view text);

std::string ReadFileBytes(const std::string& path);
// A file or directory beside the driver.
std::string BesideThisProgram(const std::string& name);

struct Medium {
  std::string directory;  // a Windows path
  std::vector<Language> languages;
};

inline constexpr const char* kScriptName = "SETUP.KVX";

// The script's languages with their texts; a file that cannot be read leaves its part empty.
Medium LoadMedium(const std::string& directory);

// The medium under test, loaded by the driver before the tests run.
const Medium& TheMedium();

enum MainControl { kActionButton = 3, kAboutButton = 7, kExitButton = 8 };

}  // namespace e2e
