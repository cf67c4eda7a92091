#include "win32/Win32AdminFiles.h"

#include <windows.h>

#include <vector>

#include "script/SafeFormat.h"

namespace setup {

std::vector<std::string> Win32Profiles::Section(const std::string& path, const std::string& name) {
  // The 32 KB a profile section can hold on Windows NT 4.0.
  std::vector<char> buffer(32767);
  const DWORD size = GetPrivateProfileSectionA(name.c_str(), buffer.data(),
                                               static_cast<DWORD>(buffer.size()), path.c_str());
  std::vector<std::string> lines;
  for (DWORD at = 0; at < size && buffer[at] != '\0';) {
    lines.emplace_back(buffer.data() + at);
    at += static_cast<DWORD>(lines.back().size()) + 1;
  }
  return lines;
}

bool Win32LogWriter::Append(const std::string& path, std::string_view line) {
  // Shared for reading, so that an administrator can watch the log while it grows.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::string text = FormatText(
      "%04u-%02u-%02u %02u:%02u:%02u ",
      {std::uint32_t{now.wYear}, std::uint32_t{now.wMonth}, std::uint32_t{now.wDay},
       std::uint32_t{now.wHour}, std::uint32_t{now.wMinute}, std::uint32_t{now.wSecond}});
  text.append(line);
  text += "\r\n";
  DWORD written = 0;
  const bool ok =
      SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size();
  CloseHandle(file);
  return ok;
}

}  // namespace setup
