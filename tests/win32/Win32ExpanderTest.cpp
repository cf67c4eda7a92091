#include <windows.h>

#include <filesystem>
#include <string>

#include "support/contracts/ExpanderContract.h"
#include "win32/Win32Expander.h"
#include "win32/Win32Files.h"

namespace setup {
namespace {

// LZ32 on the SZDD files the build puts beside this test program, expanding into a fresh
// folder under the Windows temporary directory.
class Win32Env {
 public:
  Win32Env() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    fixtures_ = std::string(path);
    fixtures_ = fixtures_.substr(0, fixtures_.find_last_of('\\')) + "\\szdd";
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    scratch_ = std::string(temp) + "expander-contract-" + std::to_string(GetCurrentProcessId()) +
               "-" + std::to_string(++serial);
    CreateDirectoryA(scratch_.c_str(), nullptr);
  }
  ~Win32Env() {
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
  }

  Expander& expander() { return expander_; }
  Files& files() { return files_; }
  const std::string& fixtures() const { return fixtures_; }
  const std::string& scratch() const { return scratch_; }

 private:
  Win32Expander expander_;
  Win32Files files_;
  std::string fixtures_, scratch_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ExpanderContract, ::testing::Types<Win32Env>);

}  // namespace
}  // namespace setup
