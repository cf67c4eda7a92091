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

// The service group order of Windows NT 4.0.
const char kNt40Groups[] =
    "SCSI miniport\0Port\0Primary disk\0SCSI class\0SCSI CDROM class\0Filter\0Boot file system\0"
    "Base\0Pointer Port\0Keyboard Port\0Pointer Class\0Keyboard Class\0Video Init\0Video\0"
    "Video Save\0File system\0Event log\0Streams Drivers\0NDIS\0TDI\0NetBIOSGroup\0SpoolerGroup\0"
    "NetDDEGroup\0Parallel arbitrator\0Extended base\0RemoteValidation\0PCI Configuration\0";

// Names written with '|' between them; "" is the empty list.
std::string MultiSz(std::string_view names) {
  std::string bytes(names);
  std::replace(bytes.begin(), bytes.end(), '|', '\0');
  return names.empty() ? std::string(1, '\0') : bytes + std::string(2, '\0');
}

enum class Edit { Insert, Remove };

int Edited(RegistryWorld& world, Edit edit) {
  return edit == Edit::Insert ? InsertGroupIntoServiceOrder(world.services, *world.state)
                              : RemoveGroupFromServiceOrder(world.services, *world.state);
}

TEST(ServiceGroupOrderTest, EditsTheGroupsBeforeNdisInPlace) {
  const struct {
    Edit edit;
    const char* before;
    const char* after;  // nullptr: the list must not be written at all
  } cases[] = {
      {Edit::Insert, "G1|G2|NDIS|G3", "G1|G2|CAPI20|NDIS|G3"},
      {Edit::Insert, "ndis|G1", "CAPI20|ndis|G1"},
      {Edit::Insert, "G1|capi20|NDIS", nullptr},
      {Edit::Insert, "G1|NDIS|CAPI20", "G1|CAPI20|NDIS|CAPI20"},
      {Edit::Insert, "G1|CAPI20x|TDI", nullptr},
      {Edit::Insert, "", nullptr},
      {Edit::Remove, "G1|CAPI20|G2", "G1|G2"},
      {Edit::Remove, "Capi20|G1|CAPI20", "G1|CAPI20"},
      {Edit::Remove, "NDIS|CAPI20", "NDIS"},
      {Edit::Remove, "G1|G2", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    RegistryWorld world;
    world.registry.PutValue(kKey, "List", Registry::kMultiSz, MultiSz(c.before));
    // A write where none is due then fails and shows.
    if (!c.after) world.registry.FailChange(c.edit == Edit::Insert ? 2 : 1);
    EXPECT_EQ(Edited(world, c.edit), 1);
    EXPECT_EQ(world.registry.ValueOf(kKey, "List"),
              (MemoryRegistry::Value{Registry::kMultiSz, MultiSz(c.after ? c.after : c.before)}));
    EXPECT_TRUE(world.Messages().empty());
  }
}

TEST(ServiceGroupOrderTest, InsertThenRemoveGivesTheNt40ListBackByteForByte) {
  const std::string original(kNt40Groups, sizeof kNt40Groups);  // with the closing empty name
  std::string inserted = original;
  inserted.insert(inserted.find("NDIS"), std::string("CAPI20\0", 7));
  RegistryWorld world;
  // Whatever lies behind the closing empty name is not part of the list.
  world.registry.PutValue(kKey, "List", Registry::kMultiSz, original + "junk");
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(InsertGroupIntoServiceOrder(world.services, *world.state), 1);
    EXPECT_EQ(world.registry.ValueOf(kKey, "List")->bytes, inserted);
  }
  EXPECT_EQ(RemoveGroupFromServiceOrder(world.services, *world.state), 1);
  EXPECT_EQ(world.registry.ValueOf(kKey, "List")->bytes, original);
  EXPECT_TRUE(world.Messages().empty());
}

TEST(ServiceGroupOrderTest, FailuresAreShownAndLeaveTheListAlone) {
  std::string many;
  for (int i = 0; i < 1000; ++i) many += std::string(16, 'g') + '|';  // 17000 bytes
  const std::string tooLong = MultiSz(many + "NDIS"), group = MultiSz("G1|CAPI20|NDIS");
  const struct {
    const char* name;
    Edit edit;
    std::optional<std::string> list;  // nothing: no key at all
    int failChange;
    std::string message;
  } cases[] = {
      {"no key to remove from", Edit::Remove, std::nullopt, 0, "no key " + kKey},
      {"no list to insert into", Edit::Insert, std::nullopt, 0, "no value " + kKey + " List"},
      {"list too long to insert", Edit::Insert, tooLong, 0, "no value " + kKey + " List"},
      {"list too long to remove", Edit::Remove, tooLong, 0, "no value " + kKey + " List"},
      {"key refused", Edit::Insert, group, 1, "no key " + kKey},
      {"insert not written", Edit::Insert, MultiSz("NDIS"), 2, "no change " + kKey},
      {"remove not written", Edit::Remove, group, 1, "no change " + kKey},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegistryWorld world;
    if (c.list) world.registry.PutValue(kKey, "List", Registry::kMultiSz, *c.list);
    world.registry.FailChange(c.failChange);
    EXPECT_EQ(Edited(world, c.edit), 0);
    EXPECT_EQ(world.Messages(), std::vector<std::string>{c.message});
    const std::optional<MemoryRegistry::Value> list = world.registry.ValueOf(kKey, "List");
    EXPECT_EQ(list ? std::optional(list->bytes) : std::nullopt, c.list);
    // Inserting makes the key it needs; removing never does.
    EXPECT_EQ(world.registry.HasKey(kKey), c.list || (c.edit == Edit::Insert && !c.failChange));
  }
}

}  // namespace
}  // namespace setup
