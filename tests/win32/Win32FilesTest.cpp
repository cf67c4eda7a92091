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
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
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
