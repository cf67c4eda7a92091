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
    system_.capiDlls["CAPI2032.DLL"] = {2, 0, 2, 105};
  }
  SystemInfo& system() { return system_; }
  Files& files() { return files_; }
  std::string capiDll() const { return "capi2032.dll"; }
  std::string otherDll() const { return "LZ32.DLL"; }

 private:
  FixedSystemInfo system_;
  SandboxFiles files_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fixed, SystemInfoContract, FixedEnv);

}  // namespace
}  // namespace setup
