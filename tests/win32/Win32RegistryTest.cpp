#include "support/contracts/RegistryContract.h"
#include "win32/Win32Registry.h"

namespace setup {
namespace {

class Win32Env {
 public:
  Registry& registry() { return registry_; }

 private:
  Win32Registry registry_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Env);

}  // namespace
}  // namespace setup
