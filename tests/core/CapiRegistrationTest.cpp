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
  const std::string f = "Other Maker", own(kOwnManufacturer);
  const struct {
    std::vector<Registration> registrations;
    std::uint32_t number;
    int found;
  } cases[] = {
      {{}, 1, 0},
      {{{"1", f}}, 2, 0},
      {{{"1", "kvx corvane gmbh"}}, 1, 1},
      {{{"1", f}, {"3", f}, {"2", own}}, 2, 1},
      {{{"1", f}, {"3", f}}, 4, 0},
      // No manufacturer, or a key that cannot be opened, counts as foreign.
      {{{"1", ""}, {"2", f}}, 3, 0},
      {{{"1", f}, {"2", own, true}}, 3, 0},
      {{{"1", f, true}, {"2", own}}, 2, 1},
      // Names that are no number, or beyond 32 bits, are no registration; nothing lies above
      // the highest.
      {{{"Info", own}, {"01", own}, {"0", f}, {"2 ", f}}, 1, 0},
      {{{"1", f}, {"4294967296", f}, {"99999999999999999999", f}}, 2, 0},
      {{{"1", f}, {"4294967295", f}}, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
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

// The value written is pinned by the install's test.
TEST(CapiRegistrationTest, ScriptVersionOnALockedKeyIsShownAsMissingKey) {
  const std::string path(kIntegrityKeyPath);
  RegistryWorld world;
  world.registry.DenyAllAccess(path);
  WriteScriptVersion(world.services, *world.state, 3);
  EXPECT_FALSE(world.registry.ValueOf(path, "ScriptVersion"));
  EXPECT_EQ(world.Messages(), std::vector<std::string>{"no key " + path});
}

}  // namespace
}  // namespace setup
