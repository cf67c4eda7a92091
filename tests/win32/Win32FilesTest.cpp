#include <windows.h>

#include <string>

#include "Scratch.h"
#include "support/contracts/FilesContract.h"
#include "win32/Win32Files.h"

namespace setup {
namespace {

class Win32Env {
 public:
  Files& files() { return files_; }
  const std::string& scratch() const { return scratch_.path(); }
  void SetLastWriteTime(const std::string& path, std::uint64_t fileTime) {
    EXPECT_TRUE(setup::SetLastWriteTime(path, fileTime)) << path;
  }

 private:
  Win32Files files_;
  ScratchFolder scratch_{"files-contract"};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FilesContract, ::testing::Types<Win32Env>);

}  // namespace
}  // namespace setup
