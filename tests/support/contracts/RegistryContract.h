#pragma once

// What every Registry must do as Windows NT does. `Env` gives `Registry& registry()`,
// `std::string scratch()`, the path of a key below SOFTWARE that does not exist yet and that
// the test may build a tree under, and `std::string ClassOf(path)`, the class string of a key.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
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
  // The scratch tree goes even when a test fails halfway.
  void TearDown() override { RemoveTree(env_.scratch()); }

  Registry& registry() { return env_.registry(); }
  std::string At(const std::string& name) { return Below(env_.scratch(), name); }
  static std::string Below(std::string path, const std::string& name) {
    path += '\\';
    path += name;
    return path;
  }

  // Opens and closes a key; the status of the open.
  std::int32_t Probe(const std::string& path, Registry::Access access) {
    Registry::Key key = 0;
    const std::int32_t status = registry().OpenKey(path, access, key);
    if (status == Registry::kSuccess) {
      EXPECT_NE(key, Registry::Key{0}) << path;
      registry().CloseKey(key);
    }
    return status;
  }

  void Create(const std::string& path, const std::string& keyClass = {}) {
    const CreatedKey key(registry(), path, keyClass);
    EXPECT_TRUE(key.ok()) << path << ": " << key.status();
  }

  std::set<std::string> Subkeys(const std::string& path) {
    std::set<std::string> names;
    const OpenKey key(registry(), path, Registry::Access::Read);
    std::uint32_t count = 0;
    EXPECT_EQ(registry().CountSubkeys(key.key(), count), Registry::kSuccess) << path;
    std::string name;
    for (std::uint32_t i = 0; i < count; ++i) {
      EXPECT_EQ(registry().EnumSubkey(key.key(), i, name), Registry::kSuccess) << path;
      names.insert(name);
    }
    EXPECT_EQ(registry().EnumSubkey(key.key(), count, name), Registry::kNoMoreItems) << path;
    EXPECT_EQ(names.size(), count) << path;
    return names;
  }

  Env env_;

 private:
  void RemoveTree(const std::string& path) {
    if (Probe(path, Registry::Access::Read) != Registry::kSuccess) return;
    for (const std::string& name : Subkeys(path)) RemoveTree(Below(path, name));
    EXPECT_EQ(registry().DeleteKey(path), Registry::kSuccess) << path;
  }
};

TYPED_TEST_SUITE_P(RegistryContract);

// The rights check opens SOFTWARE with all access; later steps open keys below it. A leaf
// name is only found below its own parent, and blanks belong to the name.
TYPED_TEST_P(RegistryContract, KeysOpenAtEveryLevelIgnoringCaseAndOnlyWhereTheyAre) {
  for (auto access : {Registry::Access::Read, Registry::Access::All}) {
    for (const char* path : {"SOFTWARE", "sOfTwArE\\MICROSOFT\\windows nt\\currentVERSION",
                             "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder"})
      EXPECT_EQ(this->Probe(path, access), Registry::kSuccess) << path;
    for (const char* path : {"SOFTWARE\\KVXContractMissing\\Deeper", "KVXContractMissing",
                             "SOFTWARE\\CurrentVersion", "SOFTWARE "})
      EXPECT_EQ(this->Probe(path, access), Registry::kNotFound) << path;
  }
}

// The service key is made with its class in one go, parents and all, and made again by a
// second install. (Windows NT keeps the first class then, Wine takes the new one; the setup
// gives a key the same class each time.) Subkey names come back as they were made.
TYPED_TEST_P(RegistryContract, CreateMakesParentsWithTheClassAndNamesComeBack) {
  for (int round = 0; round < 2; ++round) this->Create(this->At("CAPI\\Velmar"), "CAPI20");
  for (const char* name : {"1", "alpha", "4294967296"}) this->Create(this->At("capi\\") + name);
  EXPECT_EQ(this->env_.ClassOf(this->At("CAPI\\Velmar")), "CAPI20");
  EXPECT_EQ(this->env_.ClassOf(this->At("CAPI\\1")), "");
  EXPECT_EQ(this->Subkeys(this->At("CAPI")),
            (std::set<std::string>{"Velmar", "1", "alpha", "4294967296"}));
  EXPECT_EQ(this->Subkeys(this->At("CAPI\\1")), std::set<std::string>{});
}

// Each kind of value the setup stores comes back with its type and exact size; a buffer one
// byte short is refused with the size it needs, and nothing is written past it.
TYPED_TEST_P(RegistryContract, ValuesComeBackWithTypeAndSizeAndNeverOverrun) {
  const struct {
    std::uint32_t type;
    std::string bytes;
  } cases[] = {
      {Registry::kSz, std::string("CAPI 2.0 Velmar Driver\0", 23)},
      {Registry::kExpandSz, std::string("\\SystemRoot\\x.sys\0", 18)},
      {Registry::kSz, std::string("\0", 1)},
      {Registry::kDword, std::string("\xF1\0\0\0", 4)},
      {Registry::kMultiSz, std::string("Base\0NDIS\0\0", 11)},
  };
  Registry& registry = this->registry();
  const CreatedKey key(registry, this->At("Values"));
  for (const auto& [storedType, bytes] : cases) {
    SCOPED_TRACE(bytes);
    const std::uint32_t stored = static_cast<std::uint32_t>(bytes.size());
    ASSERT_EQ(registry.SetValue(key.key(), "Value", storedType, bytes.data(), stored),
              Registry::kSuccess);
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(registry.QueryValue(key.key(), "VALUE", type, nullptr, size), Registry::kSuccess);
    EXPECT_EQ(type, storedType);
    EXPECT_GE(size, stored);  // an ANSI query may count what Windows keeps in UTF-16
    for (std::uint32_t capacity : {stored, stored - 1}) {
      std::string buffer(stored + 4, '#');
      size = capacity;
      EXPECT_EQ(registry.QueryValue(key.key(), "value", type, buffer.data(), size),
                capacity == stored ? Registry::kSuccess : Registry::kMoreData);
      EXPECT_EQ(size, stored);
      if (capacity == stored) {
        EXPECT_EQ(buffer.substr(0, stored), bytes);
      }
      EXPECT_EQ(buffer.substr(capacity), std::string(stored + 4 - capacity, '#'));
    }
  }
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(registry.QueryValue(key.key(), "Missing", type, nullptr, size), Registry::kNotFound);
}

// Only a key opened with all access changes; a key is deleted only without subkeys, as on
// Windows NT, and one that still has a subkey stays whole.
TYPED_TEST_P(RegistryContract, ChangesNeedAllAccessAndDeletionIsOneLevel) {
  Registry& registry = this->registry();
  const std::string parent = this->At("Parameters"), child = this->At("Parameters\\Adapter01");
  const std::uint32_t number = 1;
  this->Create(child);
  for (auto access : {Registry::Access::Read, Registry::Access::All}) {
    const OpenKey key(registry, child, access);
    const std::int32_t expected =
        access == Registry::Access::All ? Registry::kSuccess : Registry::kAccessDenied;
    EXPECT_EQ(registry.SetValue(key.key(), "Test", Registry::kDword, &number, 4), expected);
    EXPECT_EQ(registry.DeleteValue(key.key(), "TEST"), expected);
  }
  EXPECT_EQ(registry.DeleteKey(parent), Registry::kAccessDenied);
  EXPECT_EQ(this->Probe(child, Registry::Access::Read), Registry::kSuccess);
  EXPECT_EQ(registry.DeleteKey(child), Registry::kSuccess);
  EXPECT_EQ(registry.DeleteKey(child), Registry::kNotFound);
  EXPECT_EQ(registry.DeleteKey(parent), Registry::kSuccess);
  EXPECT_EQ(this->Probe(parent, Registry::Access::Read), Registry::kNotFound);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, KeysOpenAtEveryLevelIgnoringCaseAndOnlyWhereTheyAre,
                            CreateMakesParentsWithTheClassAndNamesComeBack,
                            ValuesComeBackWithTypeAndSizeAndNeverOverrun,
                            ChangesNeedAllAccessAndDeletionIsOneLevel);

}  // namespace setup
