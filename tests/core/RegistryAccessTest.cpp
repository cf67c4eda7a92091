#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/RegistryWorld.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {
namespace {

using Value = MemoryRegistry::Value;
using Texts = std::vector<std::string>;
const std::string kKey = "SOFTWARE\\Test";

TEST(RegistryAccessTest, ValueTableWritesRowsUpToTheLastIndexPastAFailedOne) {
  RegistryWorld world;
  const std::string imagePath(259, 'd');
  RegistryValueTable table;
  table[0] = TextRow("DisplayName", Registry::kSz, "Velmar");
  table[1] = NumberRow("Failing", 1);
  table[2] = TextRow("ImagePath", Registry::kExpandSz, imagePath);
  table[3] = TextRow("username", Registry::kSz, "");
  table[4] = NumberRow("DosVector", 0xF1);
  table[5] = NumberRow("Behind", 1);
  const CreatedKey key(world.registry, kKey);
  world.registry.FailChange(2);
  EXPECT_EQ(WriteValueTable(world.registry, key.key(), table, 4), 0);
  const std::pair<const char*, std::optional<Value>> expected[] = {
      {"DisplayName", Value{Registry::kSz, std::string("Velmar\0", 7)}},
      {"Failing", std::nullopt},
      {"ImagePath", Value{Registry::kExpandSz, imagePath + '\0'}},
      {"username", Value{Registry::kSz, std::string(1, '\0')}},
      {"DosVector", Value{Registry::kDword, std::string("\xF1\0\0\0", 4)}},
      {"Behind", std::nullopt},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(world.registry.ValueOf(kKey, name), value);
  EXPECT_TRUE(world.Messages().empty());
}

TEST(RegistryAccessTest, DwordQueryReadsFourBytesAndCountsTextsAsRead) {
  const struct {
    std::optional<Value> stored;
    int report, result;
    std::uint32_t destination;
  } cases[] = {
      {Value{Registry::kDword, std::string("\x50\x02\0\0", 4)}, 1, 1, 0x250},
      {Value{Registry::kSz, std::string("5\0", 2)}, 1, 1, 0xDEAD},
      {Value{Registry::kMultiSz, std::string("5\0\0", 3)}, 1, 1, 0xDEAD},
      {std::nullopt, 0, 0, 0xDEAD},
      {std::nullopt, 1, 0, 0xDEAD},
      {Value{Registry::kBinary, std::string(8, '\x11')}, 1, 0, 0xDEAD},
  };
  for (const auto& c : cases) {
    RegistryWorld world;
    world.registry.AddKey(kKey);
    if (c.stored) world.registry.PutValue(kKey, "Start", c.stored->type, c.stored->bytes);
    const OpenKey key(world.registry, kKey, Registry::Access::Read);
    std::uint32_t destination = 0xDEAD;
    EXPECT_EQ(
        QueryDwordValue(world.services, *world.state, key.key(), destination, "Start", c.report),
        c.result);
    EXPECT_EQ(destination, c.destination);
    EXPECT_EQ(world.Messages(), c.result == 0 && c.report ? Texts{"no query Start"} : Texts{});
  }
}

TEST(RegistryAccessTest, StringQueryFitsTheDestinationOrLeavesItEmpty) {
  constexpr std::uint32_t kCapacity = 8;
  const struct {
    std::optional<std::string> stored;
    int result;
    std::string text;
  } cases[] = {
      {std::string("abc\0", 4), 1, "abc"},
      {std::string("abc"), 1, "abc"},  // stored without its terminator
      {std::string("1234567\0", 8), 1, "1234567"},
      {std::string("12345678\0", 9), 0, ""},
      {std::string("12345678"), 0, ""},  // no room left for a terminator
      {std::nullopt, 0, ""},
  };
  for (const auto& c : cases) {
    RegistryWorld world;
    world.registry.AddKey(kKey);
    if (c.stored) world.registry.PutValue(kKey, "SPID", Registry::kSz, *c.stored);
    const OpenKey key(world.registry, kKey, Registry::Access::Read);
    std::string buffer(kCapacity + 4, 'x');  // guard bytes behind the destination
    EXPECT_EQ(QueryStringValue(world.registry, key.key(), buffer.data(), "SPID", kCapacity),
              c.result);
    std::string expected = c.text;
    expected.resize(kCapacity, '\0');
    EXPECT_EQ(buffer, expected + "xxxx");
  }
}

// Each reporter's text shows with its caller's failure; a message holds 1023 bytes, far
// more than a path.
TEST(RegistryAccessTest, ReportersCutTheirTextAndHaveNoOwner) {
  RegistryWorld world;
  ReportNoKey(world.services, *world.state, std::string(1500, 'k'));
  EXPECT_EQ(world.Messages(), Texts{"no key " + std::string(1016, 'k')});
  EXPECT_EQ(world.prompts.shown()[0].owner, kNoWindow);
}

}  // namespace
}  // namespace setup
