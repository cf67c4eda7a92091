#include "support/FixedSystemInfo.h"
#include "support/SandboxFiles.h"
#include "support/contracts/SystemInfoContract.h"

namespace setup {
namespace {

class FixedEnv {
 public:
  FixedEnv() {
    files_.MakeDirectories(system_.systemDirectory);
    files_.PutFile(system_.modulePath, "MZ");
  }
  SystemInfo& system() { return system_; }
  Files& files() { return files_; }

 private:
  FixedSystemInfo system_;
  SandboxFiles files_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fixed, SystemInfoContract, FixedEnv);

}  // namespace
}  // namespace setup
