#include "support/SandboxFiles.h"
#include "support/contracts/FilesContract.h"

namespace setup {
namespace {

class SandboxEnv {
 public:
  SandboxEnv() { files_.MakeDirectories(scratch()); }
  Files& files() { return files_; }
  std::string scratch() const { return "C:\\Scratch"; }
  void SetLastWriteTime(const std::string& path, std::uint64_t fileTime) {
    files_.SetLastWriteTime(path, fileTime);
  }

 private:
  SandboxFiles files_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Sandbox, FilesContract, ::testing::Types<SandboxEnv>);

}  // namespace
}  // namespace setup
