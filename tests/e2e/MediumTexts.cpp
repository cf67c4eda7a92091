#include "e2e/MediumTexts.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace e2e {

std::vector<std::string> ScriptLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      lines.push_back(line);
      line.clear();
      ++i;
    } else {
      line += static_cast<unsigned char>(c) == 0xAF ? '\n' : c;
    }
  }
  return lines;
}

LanguageTexts ReadLanguageTexts(std::string_view bytes) {
  const std::vector<std::string> lines = ScriptLines(bytes);
  LanguageTexts texts;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
      texts.emplace(line, lines[i + 1]);
      ++i;
    }
  }
  return texts;
}

const std::string& Language::Text(std::string_view key) const {
  auto found = texts.find(key);
  if (found == texts.end()) {
    throw std::out_of_range(fileName + " has no text " + std::string(key));
  }
  return found->second;
}

std::vector<Language> ReadLanguageSection(std::string_view scriptBytes) {
  const std::vector<std::string> lines = ScriptLines(scriptBytes);
  std::vector<Language> languages;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != "[LANGUAGE]" || i + 1 >= lines.size()) continue;
    const int count = std::atoi(lines[i + 1].c_str());
    for (int n = 0; n < count && i + 3 + 2 * n < lines.size(); ++n) {
      languages.push_back({lines[i + 2 + 2 * n], lines[i + 3 + 2 * n], {}});
    }
    break;
  }
  return languages;
}

std::vector<std::string> Conversions(std::string_view text) {
  std::vector<std::string> found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    std::size_t end = i + 1;
    while (end < text.size() &&
           std::string_view("-+ #0123456789lh").find(text[end]) != std::string_view::npos) {
      ++end;
    }
    if (end < text.size() && text[end] != '%') {
      found.emplace_back(text.substr(i, end - i + 1));
    }
    i = end;
  }
  return found;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

Medium LoadMedium(const std::string& directory) {
  Medium medium{directory, ReadFileBytes(directory + "\\" + kScriptName), {}};
  medium.languages = ReadLanguageSection(medium.script);
  for (Language& language : medium.languages) {
    language.texts = ReadLanguageTexts(ReadFileBytes(directory + "\\" + language.fileName));
  }
  return medium;
}

}  // namespace e2e
