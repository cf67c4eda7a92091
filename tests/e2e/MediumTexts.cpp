#include "e2e/MediumTexts.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e {

std::vector<std::string> ScriptLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      lines.push_back(line);
      line.clear();
      ++i;
    } else {
      line += static_cast<unsigned char>(bytes[i]) == 0xAF ? '\n' : bytes[i];
    }
  }
  return lines;
}

std::vector<std::string> Conversions(std::string_view text) {
  std::vector<std::string> found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    std::size_t end = i + 1;
    while (end < text.size() &&
           std::string_view("-+ #0123456789lh").find(text[end]) != std::string_view::npos)
      ++end;
    if (end < text.size() && text[end] != '%') found.emplace_back(text.substr(i, end - i + 1));
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

std::string BesideThisProgram(const std::string& name) {
  char path[MAX_PATH] = {};
  std::string directory(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  directory.resize(directory.find_last_of('\\') + 1);
  directory += name;
  return directory;
}

Medium LoadMedium(const std::string& directory) {
  Medium medium{directory, {}};
  const std::vector<std::string> script =
      ScriptLines(ReadFileBytes(directory + "\\" + kScriptName));
  // [LANGUAGE], a count, then a display name and a file name per language.
  for (std::size_t i = 0; i + 1 < script.size(); ++i) {
    if (script[i] != "[LANGUAGE]") continue;
    int count = std::atoi(script[i + 1].c_str());
    for (std::size_t n = i + 2; n + 1 < script.size() && count-- > 0; n += 2)
      medium.languages.push_back({script[n], script[n + 1], {}});
    break;
  }
  for (Language& language : medium.languages) {
    const std::vector<std::string> lines =
        ScriptLines(ReadFileBytes(directory + "\\" + language.fileName));
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
      if (lines[i].size() > 2 && lines[i].front() == '[' && lines[i].back() == ']') {
        language.texts.emplace(lines[i], lines[i + 1]);
        ++i;
      }
  }
  return medium;
}

}  // namespace e2e
