#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// The lines of a script or language file the way the setup program reads them: a carriage
// return ends a line and swallows the byte after it, byte 0xAF is a line break inside a
// line. Bytes after the last carriage return form no line.
std::vector<std::string> ScriptLines(std::string_view bytes);

// Every key line ("[DLG_MAIN_EXIT]") of a language file with the text line after it; the
// first pair of a key wins, as the program reads the file once from the top.
using LanguageTexts = std::map<std::string, std::string, std::less<>>;
LanguageTexts ReadLanguageTexts(std::string_view bytes);

struct Language {
  std::string displayName;
  std::string fileName;
  LanguageTexts texts;

  // Throws std::out_of_range for a key the file lacks, which fails the test that asked.
  const std::string& Text(std::string_view key) const;
};

// The languages of a script's [LANGUAGE] section, texts not loaded.
std::vector<Language> ReadLanguageSection(std::string_view scriptBytes);

// The printf conversions of a text in order ("%s", "%u", ...), "%%" left out.
std::vector<std::string> Conversions(std::string_view text);

std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, std::string_view bytes);

// A distribution medium: its directory (a Windows path), its script and its languages with
// their texts.
struct Medium {
  std::string directory;
  std::string script;
  std::vector<Language> languages;
};

inline constexpr const char* kScriptName = "SETUP.KVX";

// Reads the script and every language file of the medium in `directory`; a file that cannot
// be read leaves its part empty.
Medium LoadMedium(const std::string& directory);

}  // namespace e2e
