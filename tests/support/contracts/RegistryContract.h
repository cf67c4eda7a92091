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

// The rights check opens SOFTWARE with all access; later steps open keys below it.
TEST_P(RegistryContract, KeysOpenAtEveryLevelIgnoringCase) {
  for (auto access : {Registry::Access::Read, Registry::Access::All}) {
    EXPECT_EQ(Probe("SOFTWARE", access), Registry::kSuccess);
    EXPECT_EQ(Probe("sOfTwArE\\MICROSOFT\\windows nt\\currentVERSION", access), Registry::kSuccess);
    EXPECT_EQ(Probe("SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder", access),
              Registry::kSuccess);
  }
}

TEST_P(RegistryContract, MissingKeysAreNotFound) {
  for (auto access : {Registry::Access::Read, Registry::Access::All}) {
    EXPECT_EQ(Probe("SOFTWARE\\KVXContractMissing\\Deeper", access), Registry::kNotFound);
    EXPECT_EQ(Probe("KVXContractMissing", access), Registry::kNotFound);
    // A leaf name is only found below its own parent, and blanks belong to the name.
    EXPECT_EQ(Probe("SOFTWARE\\CurrentVersion", access), Registry::kNotFound);
    EXPECT_EQ(Probe("SOFTWARE ", access), Registry::kNotFound);
  }
}

}  // namespace setup
