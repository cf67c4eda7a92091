// The integrity check's own dialog and questions, run from their templates, as a user who
// finds the driver's configuration changed behind the program's back answers them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ScriptedUser.h"
#include "support/RegistryWorld.h"
#include "sysconfig/IntegrityBackup.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceConfig.h"
#include "ui/DialogPrompts.h"
#include "win32/Win32DialogHost.h"

namespace setup {
namespace {

TEST(IntegrityCheckWin32, EachButtonAndAnswerGivesItsResultAndShowsTheBackupDate) {
  const struct {
    int button;
    int answer;  // the question's button, 0 when none is asked
    int result;
  } cases[] = {{99, 111, 1},  {99, 112, 0}, {99, 1, 0}, {100, 111, 2},
               {100, 112, 0}, {100, 1, 0},  {1, 0, 0},  {0, 0, 0}};  // 0: closed
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button * 1000 + c.answer);
    RegistryWorld world;
    ProgramState& state = *world.state;
    FillCatalogue(state.Catalogue, "DE");
    state.Catalogue.SetText(text::DLG_CCI_INFOTXT, "Zuletzt vom Setup ge\xE4ndert am %u.%u.%u.");
    Win32DialogHost host(GetModuleHandleA(nullptr));
    DialogPrompts prompts(host, state.Catalogue);
    Services services{world.files, world.expander, world.system,       world.registry,
                      prompts,     host,           world.programGroups};
    state.SourceDir.Assign("A:\\");
    world.files.PutFile("A:\\SETUP.KVX",
                        CrLfLines({"[PROTOCOL]", "1", "Plain", "vmplain.sys", "0"}));
    world.system.today = {2001, 12, 3};
    InitServiceConfigDefaults(services, state, 1, state.ServiceConfig);
    state.ServiceConfig.NumberOfControllers = 2;
    for (AdapterConfig& adapter : state.Adapters) InitAdapterDefaults(adapter);
    WriteIntegrityBackup(services, state);
    const DriverServiceConfig backedUp = state.ServiceConfig;
    // What the configuration dialog reads from a registry changed by hand.
    state.ServiceConfig.NumberOfControllers = 1;
    state.ServiceConfig.Start = 3;
    const DriverServiceConfig live = state.ServiceConfig;
    const auto stored = world.registry.ValueOf(std::string(kIntegrityKeyPath), "RegistryBackup");

    ScriptedUser user;
    c.button ? user.Press(c.button) : user.Post(WM_CLOSE);
    if (c.answer) user.Press(c.answer);
    EXPECT_EQ(CheckIntegrity(services, state, kNoWindow), c.result);
    EXPECT_TRUE(user.Done());
    EXPECT_EQ(user.SeenText(95), "Zuletzt vom Setup ge\xE4ndert am 3.12.2001.");
    EXPECT_EQ(user.SeenText(99), LanguageText("DE", text::DLG_CCI_APPLY));
    EXPECT_TRUE(state.ServiceConfig == (c.result == 2 ? backedUp : live));
    EXPECT_EQ(world.registry.ValueOf(std::string(kIntegrityKeyPath), "RegistryBackup"), stored);
  }
}

}  // namespace
}  // namespace setup
