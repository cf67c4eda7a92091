#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/RegistryWorld.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceConfig.h"
#include "sysconfig/SystemEntriesRemoval.h"

namespace setup {
namespace {

const std::string kService = "SYSTEM\\CurrentControlSet\\Services\\Velmar";
const std::string kParameters = kService + "\\Parameters";
const std::string kOrder = "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";
constexpr char kLog[] = "A:\\removed.kvx";
constexpr char kHeader[] =
    "KVX Velmar Setup --- *** DON'T TOUCH THIS FILE!!!***\r\nDeleted Objects:\r\n\r\n";

// Two adapters installed as the install flow leaves them, beside another maker's
// registration (number 1) and service.
std::unique_ptr<RegistryWorld> Installed() {
  auto world = std::make_unique<RegistryWorld>();
  ProgramState& state = *world->state;
  Services& services = world->services;
  state.Catalogue.SetText(text::ERR_DEI_KEYNOTFOUND, "gone %s");
  state.Catalogue.SetText(text::ERR_DEI_NOREMOVEKEY, "stuck %s");
  state.SourceDir.Assign("A:\\");
  world->files.PutFile("A:\\SETUP.KVX", CrLfLines({"[PROTOCOL]", "1", "X31", "vmx31.sys", "2"}));
  world->files.PutFile("C:\\WINNT\\system32\\AutoExec.NT", "REM\r\n");
  world->registry.PutValue(kOrder, "List", Registry::kMultiSz, std::string("NDIS\0TDI\0\0", 10));
  world->registry.PutValue("SOFTWARE\\CAPI20\\1", "Manufacturer", Registry::kSz,
                           std::string("Other\0", 6));
  world->registry.AddKey("SOFTWARE\\CAPI20\\1\\1");
  world->registry.AddKey("SYSTEM\\CurrentControlSet\\Services\\Other\\Parameters");
  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services, found);
  WriteScriptVersion(services, state, 7);
  DriverServiceConfig config;
  InitServiceConfigDefaults(services, state, n, config);
  config.NumberOfControllers = 2;
  config.ImagePath.Assign("\\SystemRoot\\System32\\drivers\\vmx31.sys");
  config.MaintenanceMode = kMaintenanceFull;
  EXPECT_EQ(WriteServiceConfig(services, state, n, config), 1);
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(WriteAdapterConfig(services, state, AdapterConfig{2, 0x250, 5, {}}, i, 0), 1);
  world->registry.AddKey(kService + "\\Enum");
  return world;
}

// Every own key, children first.
std::string ExpectedLog() {
  const std::string& p = kParameters;
  return kHeader + Piped("SOFTWARE\\CAPI20\\2\\1|SOFTWARE\\CAPI20\\2\\2|SOFTWARE\\CAPI20\\2|" + p +
                         "\\Adapter01|" + p + "\\Adapter02|" + p +
                         "\\KVXVelmarSetupIntegrityCheck|" + p + "|" + kService);
}

// Every change of the removal refused in turn; a second run finishes the work, silent about
// what the first one logged, and leaves the other maker alone.
TEST(SystemEntriesRemovalTest, ARunInterruptedAtAnyChangeIsFinishedByTheNext) {
  int k = 1;
  for (;; ++k) {
    SCOPED_TRACE(k);
    auto world = Installed();
    world->prompts = FakePrompts();
    world->registry.FailChange(k);
    if (RemoveSystemEntries(world->services, *world->state) == 1) break;
    EXPECT_EQ(world->Messages().size(), 1u);  // the refused deletion, or the stuck parent

    world->registry.FailChange(0);
    world->prompts = FakePrompts();
    EXPECT_EQ(RemoveSystemEntries(world->services, *world->state), 1);
    EXPECT_TRUE(world->Messages().empty());
    EXPECT_EQ(world->files.FileBytes(kLog), ExpectedLog());
    EXPECT_FALSE(world->registry.HasKey("SOFTWARE\\CAPI20\\2"));
    EXPECT_FALSE(world->registry.HasKey(kService));
    EXPECT_TRUE(world->registry.HasKey("SOFTWARE\\CAPI20\\1\\1"));
    EXPECT_TRUE(world->registry.HasKey("SYSTEM\\CurrentControlSet\\Services\\Other\\Parameters"));
    EXPECT_EQ(world->registry.ValueOf(kOrder, "List")->bytes,
              std::string("CAPI20\0NDIS\0TDI\0\0", 17));
  }
  EXPECT_EQ(k, 11);  // ten deletions, the shared key and the group entry being kept
}

}  // namespace
}  // namespace setup
