// AutoExec.NT and the service group list belong to the machine: an edit adds or takes only
// the driver's entries, writes only when due, and a failure leaves them as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "support/RegistryWorld.h"
#include "sysconfig/AutoexecNt.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceGroupOrder.h"

namespace setup {
namespace {

const std::string kAutoexec = "C:\\WINNT\\system32\\AutoExec.NT";
const std::string kTemporary = "C:\\WINNT\\system32\\AutoTmp.$$$";
const std::string kBegin(kAutoexecBlock[0]), kLoad(kAutoexecBlock[1]), kEnd(kAutoexecBlock[2]);
const std::string kBlock = CrLfLines({kBegin, kLoad, kEnd});

class AutoexecNtTest : public ::testing::Test {
 protected:
  int Insert() { return InsertAutoexecBlock(world_.services, *world_.state); }
  int Remove() { return RemoveAutoexecBlock(world_.services, *world_.state); }
  std::optional<std::string> Autoexec() const { return world_.files.FileBytes(kAutoexec); }

  RegistryWorld world_;
};

TEST_F(AutoexecNtTest, RoundTripAddsOnlyTheEmptyLineBeforeTheBlock) {
  const std::string odd =
      "x\ry\r\nsoft\xAF"
      "break  \r\nunix\nline\r\n" +
      std::string(300, 'L') + "\r\n" + kEnd + " \r\nlast";
  const struct {
    const char* name;
    std::string original, inserted, removed;  // removed: from the inserted file
  } cases[] = {
      {"odd bytes, last line open", odd, odd + "\r\n" + kBlock, odd + "\r\n"},
      {"foreign line inside the block",
       "A\r\n" + kBegin + "\r\nkeep\r\n" + kLoad + "\r\n" + kEnd + "\r\nB",
       "A\r\n" + kBegin + "\r\nkeep\r\n" + kLoad + "\r\n" + kEnd + "\r\nB", "A\r\nkeep\r\nB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    world_.files.PutFile(kAutoexec, c.original);
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(Insert(), 1);
      EXPECT_EQ(Autoexec(), c.inserted);
    }
    EXPECT_EQ(Remove(), 1);
    EXPECT_EQ(Autoexec(), c.removed);
    EXPECT_EQ(world_.files.Attributes(kTemporary), std::nullopt);
  }
  EXPECT_TRUE(world_.prompts.shown().empty());
}

TEST_F(AutoexecNtTest, FailuresLeaveTheFileAsItWas) {
  const std::string blocked = "A\r\n" + kBlock + "B\r\n";
  EXPECT_EQ(Insert(), 0);
  EXPECT_EQ(Remove(), 1);  // no file, no block to remove
  EXPECT_EQ(Autoexec(), std::nullopt) << "AutoExec.NT must never be created";

  world_.files.PutFile(kAutoexec, blocked);
  world_.files.SetAttributes(kAutoexec, Files::kReadOnly);
  EXPECT_EQ(Remove(), 0);
  EXPECT_EQ(Autoexec(), blocked);

  // Nothing to remove: nothing is written, so a read-only file does not matter.
  world_.files.PutFile(kAutoexec, "A\r\n");
  world_.files.SetAttributes(kAutoexec, Files::kReadOnly);
  EXPECT_EQ(Remove(), 1);
}

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
  // 16377 bytes grow to the 16384 an edit reads; one more would grow past them.
  const std::string full = std::string(16370, 'g') + "|CAPI20|NDIS";
  const struct {
    bool insert;
    std::optional<std::string> before;  // nothing: no key at all
    int failChange;
    const char* after;  // nullptr: failed, the list must be as before
  } cases[] = {
      {true, MultiSz("G1|ndis|G3"), 0, "G1|CAPI20|ndis|G3"},
      {false, MultiSz("Capi20|G1|CAPI20"), 0, "G1|CAPI20"},
      {false, std::nullopt, 0, nullptr},
      {true, tooLong, 0, nullptr},
      {true, MultiSz("NDIS"), 2, nullptr},
      {true, MultiSz(std::string(16370, 'g') + "|NDIS"), 0, full.c_str()},
      {true, MultiSz(std::string(16371, 'g') + "|NDIS"), 0, nullptr},
      // An empty name stays, and so does what follows it.
      {false, MultiSz("CAPI20|G1||G2"), 0, "G1||G2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    RegistryWorld world;
    if (c.before) world.registry.PutValue(kKey, "List", Registry::kMultiSz, *c.before);
    world.registry.FailChange(c.failChange);
    EXPECT_EQ(c.insert ? InsertGroupIntoServiceOrder(world.services, *world.state)
                       : RemoveGroupFromServiceOrder(world.services, *world.state),
              c.after ? 1 : 0);
    const std::optional<MemoryRegistry::Value> list = world.registry.ValueOf(kKey, "List");
    EXPECT_EQ(list ? std::optional(list->bytes) : std::nullopt,
              c.after ? MultiSz(c.after) : c.before);
  }
}

}  // namespace
}  // namespace setup
