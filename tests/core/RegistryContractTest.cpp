#include "support/MemoryRegistry.h"
#include "support/contracts/RegistryContract.h"

namespace setup {
namespace {

class MemoryEnv {
 public:
  MemoryEnv() {
    for (const char* key : kRegistryContractKeys) registry_.AddKey(key);
  }
  Registry& registry() { return registry_; }
  std::string scratch() const { return "SOFTWARE\\KVXContract"; }
  std::string ClassOf(const std::string& path) const { return registry_.ClassOf(path); }

 private:
  MemoryRegistry registry_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryEnv);

}  // namespace
}  // namespace setup
