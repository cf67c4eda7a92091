#include <gtest/gtest.h>

#include <string>

#include "support/RegistryWorld.h"
#include "sysconfig/IntegrityBackup.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceConfig.h"

namespace setup {
namespace {

const std::string kIntegrity(kIntegrityKeyPath);

void PutScript(RegistryWorld& world) {
  world.state->SourceDir.Assign("A:\\");
  world.files.PutFile("A:\\SETUP.KVX", CrLfLines({"[PROTOCOL]", "4", "Plain", "vmplain.sys", "0",
                                                  "SPID", "vmspid.sys", "1", "X31", "vmx31.sys",
                                                  "2", "Both", "vmboth.sys", "3"}));
}

TEST(IntegrityBackupTest, ABackupReadsBackAsTheConfigurationInTheFieldsItCovers) {
  const struct {
    const char* driver;
    std::uint32_t adapters;
  } cases[] = {{"vmplain.sys", 2}, {"vmspid.sys", 4}, {"vmx31.sys", 0},
               {"vmboth.sys", 1},  {"VMBOTH.SYS", 3}, {"vmplain.sys", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.driver) + " " + std::to_string(c.adapters));
    RegistryWorld world;
    PutScript(world);
    ProgramState& state = *world.state;
    DriverServiceConfig& written = state.ServiceConfig;
    InitServiceConfigDefaults(world.services, state, 1, written);
    written.DisplayName.Assign("Velmar; driver");  // stored as "Velmar, driver"
    written.ImagePath.Assign(std::string(kDriverPrefix) + c.driver);
    written.x31Layer2 = 0;
    written.Test = 4000000000u;
    written.MaintenanceMode = kMaintenanceFull;
    written.username.Assign("not backed up");
    written.NumberOfControllers = c.adapters;
    for (std::uint32_t i = 0; i < kMaxAdapters; ++i) {
      state.Adapters[i] = {i + 1, 0x250 + 0x20 * i, 5 + i, {}};
      state.Adapters[i].SPID.Assign("55501" + std::to_string(i));
    }
    WriteIntegrityBackup(world.services, state);
    EXPECT_EQ(world.registry.ValueOf(kIntegrity, "BackupDate")->bytes, std::string("19970314", 9));

    DriverServiceConfig read;
    AdapterTable readAdapters{};
    ASSERT_EQ(ReadIntegrityBackup(world.services, state, read, readAdapters), 1);
    const std::string_view driver(c.driver);
    const bool x31 = driver == "vmx31.sys" || driver == "VMBOTH.SYS" || driver == "vmboth.sys";
    const bool spid = driver == "vmspid.sys" || driver == "VMBOTH.SYS" || driver == "vmboth.sys";
    // What was written, less the fields a backup does not cover.
    DriverServiceConfig expected = written;
    expected.DisplayName.Assign("Velmar, driver");
    expected.x31Layer2 = x31 ? written.x31Layer2 : 0;
    expected.MaintenanceMode = expected.cipValue = expected.Controller = 0;
    expected.CdpnCount = expected.CgpnCount = 0;
    expected.username = expected.password = {};
    expected.Cdpn = {};
    expected.Cgpn = {};
    EXPECT_TRUE(read == expected);
    for (std::uint32_t i = 0; i < kMaxAdapters; ++i) {
      AdapterConfig adapter = i < c.adapters ? state.Adapters[i] : AdapterConfig{};
      adapter.SPID.Assign(i < c.adapters && spid ? "55501" + std::to_string(i) : "");
      EXPECT_TRUE(readAdapters[i] == adapter) << i;
    }
    EXPECT_EQ(CheckIntegrity(world.services, state, kNoWindow), 1);  // only the name differs
    EXPECT_TRUE(world.host.views().empty());
  }
}

// A value the writer cannot have left is no backup: configuring goes on, nothing is taken.
TEST(IntegrityBackupTest, AnUnsoundBackupCountsAsNone) {
  const std::string sound =
      "D;1;G;\\SystemRoot\\System32\\drivers\\vmplain.sys;1;1;1;0;C;241;0;0;M;0;0;1;2;592;5;";
  for (const std::string& value :
       {std::string(), sound.substr(0, sound.size() - 1), sound.substr(0, 40),
        "D;1;G;I;1;1;1;0;C;241;0;0;M;0;0;5;" + std::string(30, '1') + ';',
        std::string(70, 'D') + sound, std::string("garbage")}) {
    SCOPED_TRACE(value);
    RegistryWorld world;
    PutScript(world);
    ProgramState& state = *world.state;
    world.registry.PutValue(kIntegrity, "RegistryBackup", Registry::kSz, value + '\0');
    DriverServiceConfig config;
    AdapterTable adapters{};
    EXPECT_EQ(ReadIntegrityBackup(world.services, state, config, adapters), 0);
    EXPECT_TRUE(config == DriverServiceConfig{});
    EXPECT_EQ(CheckIntegrity(world.services, state, kNoWindow), 1);
    EXPECT_TRUE(world.host.views().empty());
  }
}

}  // namespace
}  // namespace setup
