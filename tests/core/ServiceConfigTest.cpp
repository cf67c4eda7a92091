#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/RegistryWorld.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceConfig.h"

namespace setup {
namespace {

const std::string kService = "SYSTEM\\CurrentControlSet\\Services\\Velmar";
const std::string kParameters = kService + "\\Parameters";

std::string Sz(std::string_view text) {
  return std::string(text) + '\0';
}

// A configuration written and read back on one registry: what was stored, and what the read
// gives that the written record did not hold.
struct Case {
  const char* name;
  std::vector<std::pair<const char*, const char*>> registrations;  // number, manufacturer
  std::uint32_t number;
  const char* protocol;
  const char* maintenance;
  std::uint32_t adapters;
  std::function<void(DriverServiceConfig&)> edit;              // before writing
  std::function<void(MemoryRegistry&)> behindTheProgramsBack;  // before reading
  std::function<void(DriverServiceConfig&)> readDifferently;   // what reading changes
};

// [MAINTENANCE] lines, '|' for each CR LF.
const char kMaintenanceOff[] = "!MAINTENANCE_OFF";
const char kFullThreeCallers[] =
    "!MAINTENANCE_FULL|2|0|service|velmar|1|5550100,1|3|5550199,|5550142,7|5550111,";
const char kFullNoNumbers[] = "!MAINTENANCE_FULL|7|1|svc|pw|0|0";

TEST(ServiceConfigTest, WrittenConfigurationsReadBackExceptWhatTheRegistryDoesNotKeep) {
  const Case cases[] = {
      {"fresh, X.31, four adapters", {}, 1, "X31", kMaintenanceOff, 4, nullptr, nullptr, nullptr},
      {"foreign at 1 and 3, SPID, full with three callers",
       {{"1", "Other"}, {"3", "Other"}},
       4,
       "SPID",
       kFullThreeCallers,
       2,
       [](DriverServiceConfig& c) { c.MaintenanceMode = kMaintenanceDefaultInvisible; },
       [](MemoryRegistry& r) {
         OpenKey key(r, kParameters + "\\Maintenance", Registry::Access::All);
         r.DeleteValue(key.key(), "CGPN2");
       },
       [](DriverServiceConfig& c) {
         c.MaintenanceMode = kMaintenanceFull;  // the mode is not stored; the script's is taken
         c.CgpnCount = 1;  // the calling numbers stop at the missing one, which reads empty
         c.Cgpn[1].Clear();
       }},
      {"own at 2, plain protocol, full without numbers",
       {{"1", "Other"}, {"2", kOwnManufacturer}, {"3", "Other"}},
       2,
       "Plain",
       kFullNoNumbers,
       1,
       [](DriverServiceConfig& c) {
         c.x31Layer2 = 0;
         c.Controller = 2;
       },
       nullptr,
       [](DriverServiceConfig& c) {
         c.x31Layer2 = 1;   // neither written nor read without the X.31 bit
         c.Controller = 0;  // one controller
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto world = std::make_unique<RegistryWorld>();
    ProgramState& state = *world->state;
    Services& services = world->services;
    world->files.PutFile("A:\\SETUP.KVX",
                         Piped("[PROTOCOL]|3|Plain|vmplain.sys|0|SPID|vmspid.sys|1|X31|vmx31.sys|"
                               "2|[MAINTENANCE]|" +
                               std::string(c.maintenance)));
    world->files.PutFile("C:\\WINNT\\system32\\AutoExec.NT", "REM\r\n");
    world->registry.PutValue("SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder", "List",
                             Registry::kMultiSz, std::string("NDIS\0TDI\0\0", 10));
    state.SourceDir.Assign("A:\\");
    for (const auto& [number, manufacturer] : c.registrations)
      world->registry.PutValue(std::string("SOFTWARE\\CAPI20\\") + number, "Manufacturer",
                               Registry::kSz, Sz(manufacturer));

    int found = 0;
    ASSERT_EQ(FindCapiControllerNumber(services, found), c.number);
    DriverServiceConfig written;
    InitServiceConfigDefaults(services, state, c.number, written);
    written.NumberOfControllers = c.adapters;
    ASSERT_EQ(GetScriptNewImagePath(world->files, world->prompts, state.Script(), c.protocol,
                                    written.ImagePath),
              1);
    if (c.edit) c.edit(written);
    const bool spid = std::string_view(c.protocol) == "SPID";
    AdapterTable adapters{};
    ASSERT_EQ(WriteServiceConfig(services, state, c.number, written), 1);
    for (std::uint32_t i = 0; i < c.adapters; ++i) {
      adapters[i] = {2, 0x300 + 0x10 * i, 3 + i, {}};
      adapters[i].SPID.Assign("0" + std::to_string(i));
      ASSERT_EQ(WriteAdapterConfig(services, state, adapters[i], static_cast<int>(i), spid), 1);
    }

    const MemoryRegistry& registry = world->registry;
    const std::string capi = "SOFTWARE\\CAPI20\\" + std::to_string(c.number);
    const std::string device = Sz("CAPI20" + std::to_string(c.number));
    EXPECT_EQ(registry.ValueOf(capi, "DeviceName")->bytes, device);
    EXPECT_EQ(registry.ValueOf(kParameters, "DeviceName")->bytes, device);
    EXPECT_EQ(registry.ClassOf(kService), "CAPI20");
    EXPECT_EQ(registry.ValueOf(kService, "ImagePath")->type, Registry::kExpandSz);
    EXPECT_EQ(registry.ValueOf(kParameters, "x31Layer2").has_value(),
              std::string_view(c.protocol) == "X31");
    EXPECT_EQ(registry.HasKey(kParameters + "\\Maintenance"), written.MaintenanceMode != 0);
    for (std::uint32_t i = 1; i <= kMaxCgpn; ++i)
      EXPECT_EQ(
          registry.ValueOf(kParameters + "\\Maintenance", "CGPN" + std::to_string(i)).has_value(),
          written.MaintenanceMode != 0 && i <= written.CgpnCount)
          << i;
    for (std::uint32_t i = 0; i < kMaxAdapters; ++i) {
      EXPECT_EQ(registry.HasKey(AdapterKeyPath(static_cast<int>(i))), i < c.adapters) << i;
      EXPECT_EQ(registry.HasKey(capi + "\\" + std::to_string(i + 1)), i < c.adapters) << i;
    }
    EXPECT_EQ(registry.ValueOf(AdapterKeyPath(0), "SPID").has_value(), spid);

    if (c.behindTheProgramsBack) c.behindTheProgramsBack(world->registry);
    DriverServiceConfig read;
    InitServiceConfigDefaults(services, state, c.number, read);
    EXPECT_EQ(ReadServiceConfig(services, state, read), 1);
    DriverServiceConfig expected = written;
    if (c.readDifferently) c.readDifferently(expected);
    EXPECT_TRUE(read == expected);
    for (std::uint32_t i = 0; i < c.adapters; ++i) {
      AdapterConfig adapter;
      InitAdapterDefaults(adapter);
      EXPECT_EQ(ReadAdapterConfig(services, state, adapter, static_cast<int>(i), spid), 1);
      AdapterConfig expectedAdapter = adapters[i];
      if (!spid) expectedAdapter.SPID.Clear();
      EXPECT_TRUE(adapter == expectedAdapter) << i;
    }
    EXPECT_TRUE(world->Messages().empty());
  }
}

TEST(ServiceConfigTest, AMissingNumberIsReportedAMissingTextEndsTheReadSilently) {
  RegistryWorld world;
  ProgramState& state = *world.state;
  world.files.PutFile("C:\\WINNT\\system32\\AutoExec.NT", "REM\r\n");
  world.registry.PutValue("SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder", "List",
                          Registry::kMultiSz, std::string("NDIS\0\0", 6));
  DriverServiceConfig config;
  InitServiceConfigDefaults(world.services, state, 1, config);
  world.files.PutFile("A:\\SETUP.KVX", "[PROTOCOL]\r\n0\r\n");
  state.SourceDir.Assign("A:\\");
  world.registry.FailChange(7);  // the service key's first value
  EXPECT_EQ(WriteServiceConfig(world.services, state, 1, config), 0);
  EXPECT_EQ(WriteServiceConfig(world.services, state, 1, config), 1);
  for (const char* value : {"ErrorControl", "DisplayName"}) {
    OpenKey key(world.registry, kService, Registry::Access::All);
    world.registry.DeleteValue(key.key(), value);
    EXPECT_EQ(ReadServiceConfig(world.services, state, config), 0) << value;
  }
  EXPECT_EQ(world.Messages(),
            (std::vector<std::string>{"no change " + kService, "no query ErrorControl"}));
}

}  // namespace
}  // namespace setup
