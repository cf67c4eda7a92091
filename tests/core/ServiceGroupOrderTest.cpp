// The service group list is the machine's boot order: an edit writes it only when due and
// never loses a name, whatever fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/RegistryWorld.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceGroupOrder.h"

namespace setup {
namespace {

const std::string kKey(kServiceGroupOrderKeyPath);

// Names written with '|' between them; "" is the empty list.
std::string MultiSz(std::string_view names) {
  std::string bytes(names);
  std::replace(bytes.begin(), bytes.end(), '|', '\0');
  return names.empty() ? std::string(1, '\0') : bytes + std::string(2, '\0');
}

TEST(ServiceGroupOrderTest, EditsTheGroupsBeforeNdisInPlaceOrFailsLeavingTheListAlone) {
  std::string many;
  for (int i = 0; i < 1000; ++i) many += std::string(16, 'g') + '|';  // 17000 bytes
  const std::string tooLong = MultiSz(many + "NDIS");
  const struct {
    bool insert;
    std::optional<std::string> before;  // nothing: no key at all
    int failChange;
    const char* after;    // nullptr: the list must be as before
    std::string message;  // "": none
  } cases[] = {
      {true, MultiSz("G1|ndis|G3"), 0, "G1|CAPI20|ndis|G3", ""},
      {false, MultiSz("Capi20|G1|CAPI20"), 0, "G1|CAPI20", ""},
      // Nothing due: a write would fail and show.
      {true, MultiSz("G1|capi20|NDIS"), 2, nullptr, ""},
      {true, MultiSz("G1|CAPI20x|TDI"), 2, nullptr, ""},
      {false, MultiSz("G1|G2"), 1, nullptr, ""},
      {false, std::nullopt, 0, nullptr, "no key " + kKey},
      {true, tooLong, 0, nullptr, "no value " + kKey + " List"},
      {false, tooLong, 0, nullptr, "no value " + kKey + " List"},
      {true, MultiSz("NDIS"), 2, nullptr, "no change " + kKey},
      {false, MultiSz("CAPI20|NDIS"), 1, nullptr, "no change " + kKey},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    RegistryWorld world;
    if (c.before) world.registry.PutValue(kKey, "List", Registry::kMultiSz, *c.before);
    world.registry.FailChange(c.failChange);
    EXPECT_EQ(c.insert ? InsertGroupIntoServiceOrder(world.services, *world.state)
                       : RemoveGroupFromServiceOrder(world.services, *world.state),
              c.message.empty() ? 1 : 0);
    const std::optional<MemoryRegistry::Value> list = world.registry.ValueOf(kKey, "List");
    EXPECT_EQ(list ? std::optional(list->bytes) : std::nullopt,
              c.after ? MultiSz(c.after) : c.before);
    EXPECT_EQ(world.Messages(),
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
  }
}

// Whatever lies behind the closing empty name is not part of the list.
TEST(ServiceGroupOrderTest, InsertThenRemoveGivesTheListBackByteForByte) {
  const std::string original = MultiSz("Base|Video|NDIS|TDI");
  RegistryWorld world;
  world.registry.PutValue(kKey, "List", Registry::kMultiSz, original + "junk");
  EXPECT_EQ(InsertGroupIntoServiceOrder(world.services, *world.state), 1);
  EXPECT_EQ(world.registry.ValueOf(kKey, "List")->bytes, MultiSz("Base|Video|CAPI20|NDIS|TDI"));
  EXPECT_EQ(RemoveGroupFromServiceOrder(world.services, *world.state), 1);
  EXPECT_EQ(world.registry.ValueOf(kKey, "List")->bytes, original);
}

}  // namespace
}  // namespace setup
