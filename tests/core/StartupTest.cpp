// The program from its start to the end of the main dialog, on the doubles: the paths a real
// run cannot easily reach.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

TEST(DeriveSetupFileName, StripsTheCurrentDirectoryOrKeepsTheFileName) {
  // A drive root already ends in a backslash; it must not count twice. Started from another
  // directory, only the file name is the program's.
  for (auto [current, module, expected] :
       {std::tuple{"C:\\", "C:\\VSETUP.EXE", "VSETUP.EXE"},
        {"c:\\kvx", "C:\\KVX\\BIN\\VSETUP.EXE", "BIN\\VSETUP.EXE"},
        {"C:\\KVX\\DISK1", "C:\\VSETUP.EXE", "VSETUP.EXE"}}) {
    PathText name("SETUP.EXE");
    DeriveSetupFileName(current, module, name);
    EXPECT_EQ(name, expected) << module;
  }
}

// Another language chosen in the main dialog rebuilds the group in it at the end, unless a
// deinstall deleted the group in this run.
TEST(Startup, NeverRebuildsAGroupADeinstallDeletedInThisRun) {
  AppWorld world;
  world.PutMedium();
  world.SkipIntro();
  world.host.OnShow("DLG_main", [&world](FakeDialogView& view, Dialog& dialog) {
    world.state->InstallComplete = world.state->GroupDeleted = 1;
    view.ComboSelect(9, 0);
    dialog.OnCommand(view, 9, 1);
    dialog.OnCommand(view, 8, 0);  // Exit
  });
  RunSetup(world.services, *world.state, "/d /lDeutsch");
  EXPECT_TRUE(world.programGroups.commands.empty());
}

}  // namespace
}  // namespace setup
