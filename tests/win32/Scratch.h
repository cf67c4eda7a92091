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

inline constexpr DWORD kNotStarted = ~0u;

// Runs a command line, its output going where this program's goes, and waits up to
// `milliseconds` for it before ending it; its exit code.
inline DWORD RunAndWait(std::string command, DWORD milliseconds = 30000) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process))
    return kNotStarted;
  if (WaitForSingleObject(process.hProcess, milliseconds) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  DWORD code = kNotStarted;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
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
