#include "Scratch.h"

#include <filesystem>

namespace setup {

ScratchFolder::ScratchFolder(const char* purpose) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  static int serial = 0;
  path_ = std::string(temp) + purpose + "-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++serial);
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
  // Windows deletes no read-only file.
  std::error_code ignored;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
    SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(path_, ignored);
}

std::string BesideThisProgram(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string program(path);
  return program.substr(0, program.find_last_of('\\') + 1) + name;
}

bool SetLastWriteTime(const std::string& path, std::uint64_t fileTime) {
  const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const FILETIME time{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
  const bool set = SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
  return set;
}

}  // namespace setup
