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

// What only the double offers: seeding and the refusal a user without rights meets.
TEST(MemoryRegistry, DeniedKeyStillOpensForReading) {
  MemoryRegistry registry;
  registry.AddKey("SOFTWARE\\Classes");
  registry.DenyAllAccess("software");
  Registry::Key key = 0;
  EXPECT_EQ(registry.OpenKey("SOFTWARE", Registry::Access::All, key), Registry::kAccessDenied);
  EXPECT_EQ(registry.OpenHandles(), 0);
  ASSERT_EQ(registry.OpenKey("SOFTWARE", Registry::Access::Read, key), Registry::kSuccess);
  registry.CloseKey(key);
  // Only the key itself is protected, not the keys below it.
  EXPECT_EQ(registry.OpenKey("SOFTWARE\\Classes", Registry::Access::All, key), Registry::kSuccess);
  registry.CloseKey(key);
}

TEST(MemoryRegistry, CountsKeysLeftOpen) {
  MemoryRegistry registry;
  registry.AddKey("SOFTWARE\\Velmar");
  EXPECT_TRUE(registry.HasKey("software\\VELMAR"));
  EXPECT_FALSE(registry.HasKey("SOFTWARE\\Velmar\\Parameters"));
  Registry::Key a = 0, b = 0;
  registry.OpenKey("SOFTWARE", Registry::Access::Read, a);
  registry.OpenKey("SOFTWARE\\Velmar", Registry::Access::Read, b);
  EXPECT_EQ(registry.OpenHandles(), 2);
  registry.CloseKey(a);
  registry.CloseKey(b);
  EXPECT_EQ(registry.OpenHandles(), 0);
}

}  // namespace
}  // namespace setup
