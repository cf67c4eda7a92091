#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RegistryWorld.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {
namespace {

// A subkey of SOFTWARE\CAPI20: its name and Manufacturer ("" for none); a locked one cannot
// be opened with all access.
struct Registration {
  std::string name;
  std::string manufacturer;
  bool locked = false;
};
const std::string kForeign = "Other Maker";

void Put(RegistryWorld& world, const std::vector<Registration>& registrations) {
  world.registry.AddKey("SOFTWARE\\CAPI20");
  for (const Registration& r : registrations) {
    const std::string path = "SOFTWARE\\CAPI20\\" + r.name;
    world.registry.AddKey(path);
    if (!r.manufacturer.empty())
      world.registry.PutValue(path, "Manufacturer", Registry::kSz, r.manufacturer + '\0');
    if (r.locked) world.registry.DenyAllAccess(path);
  }
}

TEST(CapiRegistrationTest, NumberIsTheOwnRegistrationOrOneAboveEveryOther) {
  const struct {
    const char* name;
    std::vector<Registration> registrations;
    std::uint32_t number;
    int found;
  } cases[] = {
      {"empty", {}, 1, 0},
      {"foreign 1", {{"1", kForeign}}, 2, 0},
      {"own alone", {{"1", kOwnManufacturer}}, 1, 1},
      {"own in other case", {{"1", "kvx corvane gmbh"}}, 1, 1},
      {"foreign 1, own 2", {{"1", kForeign}, {"2", kOwnManufacturer}}, 2, 1},
      {"foreign 1 and 3", {{"1", kForeign}, {"3", kForeign}}, 4, 0},
      {"foreign 1 and 3, own 2", {{"1", kForeign}, {"3", kForeign}, {"2", kOwnManufacturer}}, 2, 1},
      {"no manufacturer counts as foreign", {{"1", ""}, {"2", kForeign}}, 3, 0},
      {"locked counts as foreign", {{"1", kForeign}, {"2", kOwnManufacturer, true}}, 3, 0},
      {"own above a locked one", {{"1", kForeign, true}, {"2", kOwnManufacturer}}, 2, 1},
      {"names that are no number",
       {{"Info", kOwnManufacturer}, {"01", kOwnManufacturer}, {"0", kForeign}, {"2 ", kForeign}},
       1,
       0},
      {"numbers beyond 32 bits",
       {{"1", kForeign}, {"4294967296", kForeign}, {"99999999999999999999", kForeign}},
       2,
       0},
      {"nothing above the highest", {{"1", kForeign}, {"4294967295", kForeign}}, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegistryWorld world;
    Put(world, c.registrations);
    int found = -1;
    EXPECT_EQ(FindCapiControllerNumber(world.services, found), c.number);
    EXPECT_EQ(found, c.found);
    EXPECT_TRUE(world.Messages().empty());
  }

  RegistryWorld world;  // no SOFTWARE\CAPI20: the first driver on the machine
  int found = -1;
  EXPECT_EQ(FindCapiControllerNumber(world.services, found), 1u);
  EXPECT_EQ(found, 0);
}

TEST(CapiRegistrationTest, OthersMeanMoreThanOneSubkeyAndAMissingKeyIsShown) {
  for (int subkeys : {0, 1, 2}) {
    RegistryWorld world;
    world.registry.AddKey("SOFTWARE\\CAPI20");
    for (int i = 1; i <= subkeys; ++i)
      world.registry.AddKey("SOFTWARE\\CAPI20\\" + std::to_string(i));
    EXPECT_EQ(CapiHasOtherControllers(world.services, *world.state), subkeys > 1 ? 1 : 0);
  }
  RegistryWorld world;
  EXPECT_EQ(CapiHasOtherControllers(world.services, *world.state), 0);
  EXPECT_EQ(world.Messages(), std::vector<std::string>{"no key SOFTWARE\\CAPI20"});
}

TEST(CapiRegistrationTest, ScriptVersionCreatesTheServiceKeysOrIsShownAsMissingKey) {
  const std::string path(kIntegrityKeyPath);
  RegistryWorld world;
  WriteScriptVersion(world.services, *world.state, 3);
  EXPECT_EQ(world.registry.ValueOf(path, "ScriptVersion"),
            (MemoryRegistry::Value{Registry::kDword, std::string("\3\0\0\0", 4)}));
  EXPECT_TRUE(world.Messages().empty());

  RegistryWorld locked;
  locked.registry.DenyAllAccess(path);
  WriteScriptVersion(locked.services, *locked.state, 3);
  EXPECT_FALSE(locked.registry.ValueOf(path, "ScriptVersion"));
  EXPECT_EQ(locked.Messages(), std::vector<std::string>{"no key " + path});
}

}  // namespace
}  // namespace setup
