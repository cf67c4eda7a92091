#include <windows.h>

#include <string>

#include "support/contracts/FilesContract.h"
#include "win32/Win32Files.h"

namespace setup {
namespace {

// A fresh folder under the Windows temporary directory, emptied and removed afterwards.
class Win32Env {
 public:
  Win32Env() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    scratch_ = std::string(temp) + "files-contract-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++serial);
    CreateDirectoryA(scratch_.c_str(), nullptr);
  }
  ~Win32Env() {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((scratch_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileA((scratch_ + "\\" + found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(scratch_.c_str());
  }

  Files& files() { return files_; }
  const std::string& scratch() const { return scratch_; }

 private:
  Win32Files files_;
  std::string scratch_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FilesContract, ::testing::Types<Win32Env>);

}  // namespace
}  // namespace setup
