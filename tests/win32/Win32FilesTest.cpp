#include <windows.h>

#include <filesystem>
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
    // Windows deletes no read-only file, and some tests leave one behind.
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(scratch_, ignored))
      SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(scratch_, ignored);
  }

  Files& files() { return files_; }
  const std::string& scratch() const { return scratch_; }
  void SetLastWriteTime(const std::string& path, std::uint64_t fileTime) {
    const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    const FILETIME time{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time)) << path;
    CloseHandle(file);
  }

 private:
  Win32Files files_;
  std::string scratch_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FilesContract, ::testing::Types<Win32Env>);

}  // namespace
}  // namespace setup
