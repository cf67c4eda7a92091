#pragma once

// What every Registry must do as Windows NT does. `Env` gives `Registry& registry()`.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/Registry.h"

namespace setup {

// Keys every Windows NT installation has; a double must be seeded with them.
inline constexpr std::array<const char*, 3> kRegistryContractKeys = {
    "SOFTWARE",
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
    "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder",
};

template <class Env>
class RegistryContract : public ::testing::Test {
 protected:
  // Opens and closes a key; the status of the open.
  std::int32_t Probe(const std::string& path, Registry::Access access) {
    Registry& registry = env_.registry();
    Registry::Key key = 0;
    const std::int32_t status = registry.OpenKey(path, access, key);
    if (status == Registry::kSuccess) {
      EXPECT_NE(key, Registry::Key{0}) << path;
      registry.CloseKey(key);
    }
    return status;
  }

  Env env_;
};

TYPED_TEST_SUITE_P(RegistryContract);

// The rights check opens SOFTWARE with all access; later steps open keys below it.
TYPED_TEST_P(RegistryContract, KeysOpenAtEveryLevelIgnoringCase) {
  for (auto access : {Registry::Access::Read, Registry::Access::All}) {
    EXPECT_EQ(this->Probe("SOFTWARE", access), Registry::kSuccess);
    EXPECT_EQ(this->Probe("sOfTwArE\\MICROSOFT\\windows nt\\currentVERSION", access),
              Registry::kSuccess);
    EXPECT_EQ(this->Probe("SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder", access),
              Registry::kSuccess);
  }
}

TYPED_TEST_P(RegistryContract, MissingKeysAreNotFound) {
  for (auto access : {Registry::Access::Read, Registry::Access::All}) {
    EXPECT_EQ(this->Probe("SOFTWARE\\KVXContractMissing\\Deeper", access), Registry::kNotFound);
    EXPECT_EQ(this->Probe("KVXContractMissing", access), Registry::kNotFound);
    // A leaf name is only found below its own parent, and blanks belong to the name.
    EXPECT_EQ(this->Probe("SOFTWARE\\CurrentVersion", access), Registry::kNotFound);
    EXPECT_EQ(this->Probe("SOFTWARE ", access), Registry::kNotFound);
  }
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, KeysOpenAtEveryLevelIgnoringCase,
                            MissingKeysAreNotFound);

}  // namespace setup
