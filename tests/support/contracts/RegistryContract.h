#pragma once

// What every Registry must do as Windows NT does. `Env` gives `Registry& registry()`,
// `std::string scratch()`, the path of a key below SOFTWARE that does not exist yet and that
// the test may build a tree under, and `std::string ClassOf(path)`, the class string of a key.

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "platform/Registry.h"

namespace setup {

template <class Env>
class RegistryContract : public ::testing::Test {
 protected:
  // The scratch tree goes even when a test fails halfway.
  void TearDown() override { RemoveTree(env_.scratch()); }

  Registry& registry() { return env_.registry(); }
  std::string At(std::string name) { return name.insert(0, env_.scratch() + "\\"); }
  std::int32_t Probe(const std::string& path, Registry::Access access) {
    Registry::Key key = 0;
    const std::int32_t status = registry().OpenKey(path, access, key);
    if (status == Registry::kSuccess) registry().CloseKey(key);
    return status;
  }
  std::set<std::string> Subkeys(const std::string& path) {
    std::set<std::string> names;
    const OpenKey key(registry(), path, Registry::Access::Read);
    std::uint32_t count = 0;
    EXPECT_EQ(registry().CountSubkeys(key.key(), count), Registry::kSuccess) << path;
    std::string name;
    for (std::uint32_t i = 0; registry().EnumSubkey(key.key(), i, name) == Registry::kSuccess; ++i)
      names.insert(name);
    EXPECT_EQ(names.size(), count) << path;
    return names;
  }

  Env env_;

 private:
  void RemoveTree(const std::string& path) {
    if (Probe(path, Registry::Access::Read) != Registry::kSuccess) return;
    for (const std::string& name : Subkeys(path)) RemoveTree(path + "\\" + name);
    EXPECT_EQ(registry().DeleteKey(path), Registry::kSuccess) << path;
  }
};

TYPED_TEST_SUITE_P(RegistryContract);

// The service key is made with its class in one go, parents and all, and made again by a
// second install; names ignore case and a leaf is found only below its own parent. Only a
// key opened with all access changes; a key is deleted only without subkeys.
TYPED_TEST_P(RegistryContract, KeysAreMadeFoundAndDeletedOneLevelAtATime) {
  Registry& registry = this->registry();
  for (int round = 0; round < 2; ++round) {
    const CreatedKey key(registry, this->At("CAPI\\Velmar"), "CAPI20");
    EXPECT_TRUE(key.ok()) << key.status();
  }
  EXPECT_TRUE(CreatedKey(registry, this->At("capi\\1")).ok());
  EXPECT_EQ(this->env_.ClassOf(this->At("CAPI\\Velmar")), "CAPI20");
  EXPECT_EQ(this->Subkeys(this->At("CAPI")), (std::set<std::string>{"Velmar", "1"}));
  for (const char* path : {"capi\\VELMAR", "Velmar", "CAPI\\Velmar "})
    EXPECT_EQ(this->Probe(this->At(path), Registry::Access::Read),
              path[0] == 'c' ? Registry::kSuccess : Registry::kNotFound)
        << path;

  const std::uint32_t number = 1;
  for (auto access : {Registry::Access::Read, Registry::Access::All}) {
    const OpenKey key(registry, this->At("CAPI\\1"), access);
    const std::int32_t expected =
        access == Registry::Access::All ? Registry::kSuccess : Registry::kAccessDenied;
    EXPECT_EQ(registry.SetValue(key.key(), "Test", Registry::kDword, &number, 4), expected);
    EXPECT_EQ(registry.DeleteValue(key.key(), "TEST"), expected);
  }
  EXPECT_EQ(registry.DeleteKey(this->At("CAPI")), Registry::kAccessDenied);
  EXPECT_EQ(registry.DeleteKey(this->At("CAPI\\1")), Registry::kSuccess);
  EXPECT_EQ(registry.DeleteKey(this->At("CAPI\\1")), Registry::kNotFound);
  EXPECT_EQ(this->Subkeys(this->At("CAPI")), std::set<std::string>{"Velmar"});
}

// Each kind of value the setup stores comes back with its type and exact size; a buffer one
// byte short is refused with the size it needs, and nothing is written past it.
TYPED_TEST_P(RegistryContract, ValuesComeBackWithTypeAndSizeAndNeverOverrun) {
  const std::pair<std::uint32_t, std::string> cases[] = {
      {Registry::kDword, std::string("\xF1\0\0\0", 4)},
      {Registry::kMultiSz, std::string("Base\0NDIS\0\0", 11)},
  };
  Registry& registry = this->registry();
  const CreatedKey key(registry, this->At("Values"));
  for (const auto& [storedType, bytes] : cases) {
    const std::uint32_t stored = static_cast<std::uint32_t>(bytes.size());
    ASSERT_EQ(registry.SetValue(key.key(), "Value", storedType, bytes.data(), stored),
              Registry::kSuccess);
    for (std::uint32_t capacity : {stored, stored - 1}) {
      std::string buffer(stored + 4, '#');
      std::uint32_t type = 0, size = capacity;
      EXPECT_EQ(registry.QueryValue(key.key(), "VALUE", type, buffer.data(), size),
                capacity == stored ? Registry::kSuccess : Registry::kMoreData);
      EXPECT_EQ(type, storedType);
      EXPECT_EQ(size, stored);
      EXPECT_EQ(buffer.substr(capacity == stored ? 0 : capacity),
                (capacity == stored ? bytes : "") + std::string(stored + 4 - capacity, '#'));
    }
  }
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(registry.QueryValue(key.key(), "Missing", type, nullptr, size), Registry::kNotFound);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, KeysAreMadeFoundAndDeletedOneLevelAtATime,
                            ValuesComeBackWithTypeAndSizeAndNeverOverrun);

}  // namespace setup
