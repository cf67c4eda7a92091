#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/SandboxFiles.h"
#include "support/SzddExpander.h"
#include "support/contracts/ExpanderContract.h"

namespace setup {
namespace {

// The decoder on a sandbox that holds a copy of the build tree's SZDD files.
class SandboxEnv {
 public:
  SandboxEnv() {
    files_.MakeDirectories(scratch());
    for (const auto& entry : std::filesystem::directory_iterator(SETUP_SZDD_DIR)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      files_.PutFile(fixtures() + "\\" + entry.path().filename().string(), bytes.str());
    }
  }
  Expander& expander() { return expander_; }
  Files& files() { return files_; }
  std::string fixtures() const { return "C:\\Fixtures"; }
  std::string scratch() const { return "C:\\Scratch"; }

 private:
  SandboxFiles files_;
  SzddExpander expander_{files_};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Sandbox, ExpanderContract, ::testing::Types<SandboxEnv>);

}  // namespace
}  // namespace setup
