#include "support/MemoryRegistry.h"
#include "support/contracts/RegistryContract.h"

namespace setup {
namespace {

std::unique_ptr<Registry> SeededMemoryRegistry() {
  auto registry = std::make_unique<MemoryRegistry>();
  for (const char* key : kRegistryContractKeys) registry->AddKey(key);
  return registry;
}

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract,
                         ::testing::Values(RegistryContractSubject{"Memory", SeededMemoryRegistry}),
                         RegistryContractName);

}  // namespace
}  // namespace setup
