#pragma once

// What every Registry must do as Windows NT does. Include once per test program and
// instantiate with INSTANTIATE_TEST_SUITE_P(Name, RegistryContract, Values(...)).

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/Registry.h"

namespace setup {

// Keys every Windows NT installation has; a double must be seeded with them.
inline constexpr std::array<const char*, 3> kRegistryContractKeys = {
    "SOFTWARE",
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
    "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder",
};

struct RegistryContractSubject {
  std::string name;
  std::function<std::unique_ptr<Registry>()> make;
};

class RegistryContract : public ::testing::TestWithParam<RegistryContractSubject> {
 protected:
  void SetUp() override { registry_ = GetParam().make(); }

  // Opens and closes a key; the status of the open.
  std::int32_t Probe(const std::string& path, Registry::Access access) {
    Registry::Key key = 0;
    const std::int32_t status = registry_->OpenKey(path, access, key);
    if (status == Registry::kSuccess) {
      EXPECT_NE(key, Registry::Key{0}) << path;
      registry_->CloseKey(key);
    }
    return status;
  }

  std::unique_ptr<Registry> registry_;
};

inline std::string RegistryContractName(
    const ::testing::TestParamInfo<RegistryContractSubject>& info) {
  return info.param.name;
}

TEST_P(RegistryContract, SoftwareOpensForReadAndForAllAccess) {
  EXPECT_EQ(Probe("SOFTWARE", Registry::Access::Read), Registry::kSuccess);
  EXPECT_EQ(Probe("SOFTWARE", Registry::Access::All), Registry::kSuccess);
}

TEST_P(RegistryContract, MissingKeysAreNotFound) {
  for (auto access : {Registry::Access::Read, Registry::Access::All}) {
    EXPECT_EQ(Probe("SOFTWARE\\KVXContractMissing", access), Registry::kNotFound);
    EXPECT_EQ(Probe("SOFTWARE\\KVXContractMissing\\Deeper", access), Registry::kNotFound);
    EXPECT_EQ(Probe("KVXContractMissing", access), Registry::kNotFound);
  }
}

TEST_P(RegistryContract, NestedPathsOpenEveryLevel) {
  EXPECT_EQ(Probe("SOFTWARE\\Microsoft", Registry::Access::Read), Registry::kSuccess);
  EXPECT_EQ(Probe("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", Registry::Access::Read),
            Registry::kSuccess);
  EXPECT_EQ(Probe("SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder", Registry::Access::All),
            Registry::kSuccess);
  // A leaf name is only found below its own parent.
  EXPECT_EQ(Probe("SOFTWARE\\CurrentVersion", Registry::Access::Read), Registry::kNotFound);
}

TEST_P(RegistryContract, KeyNamesIgnoreCase) {
  EXPECT_EQ(Probe("software", Registry::Access::All), Registry::kSuccess);
  EXPECT_EQ(Probe("sOfTwArE\\MICROSOFT\\windows nt\\currentVERSION", Registry::Access::Read),
            Registry::kSuccess);
}

TEST_P(RegistryContract, PathsAreSplitAtBackslashesOnly) {
  EXPECT_EQ(Probe("SOFTWARE\\", Registry::Access::Read), Registry::kSuccess);
  EXPECT_EQ(Probe("SOFTWARE\\\\Microsoft\\", Registry::Access::Read), Registry::kSuccess);
  // Blanks belong to the name.
  EXPECT_EQ(Probe("SOFTWARE ", Registry::Access::Read), Registry::kNotFound);
  EXPECT_EQ(Probe(" SOFTWARE", Registry::Access::Read), Registry::kNotFound);
  // A path is relative to HKEY_LOCAL_MACHINE and may not begin with a backslash
  // (ERROR_BAD_PATHNAME).
  EXPECT_EQ(Probe("\\SOFTWARE", Registry::Access::Read), 161);
}

TEST_P(RegistryContract, EveryOpenHasItsOwnHandle) {
  Registry::Key first = 0, second = 0;
  ASSERT_EQ(registry_->OpenKey("SOFTWARE", Registry::Access::Read, first), Registry::kSuccess);
  ASSERT_EQ(registry_->OpenKey("SOFTWARE", Registry::Access::All, second), Registry::kSuccess);
  EXPECT_NE(first, second);
  registry_->CloseKey(first);
  // The other handle still works after the first is closed.
  registry_->CloseKey(second);
}

}  // namespace setup
