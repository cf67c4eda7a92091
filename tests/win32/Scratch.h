#pragma once

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace setup {

inline std::string BesideThisProgram(const std::string& name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  *(std::strrchr(path, '\\') + 1) = '\0';
  return path + name;
}

// A fresh folder beside this program, removed afterwards with the read-only files left in it.
class ScratchFolder {
 public:
  explicit ScratchFolder(const char* purpose) {
    static int serial = 0;
    path_ = BesideThisProgram(purpose) + std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
      SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace setup
