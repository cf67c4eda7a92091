// The program from its start to the end of the main dialog, on the doubles: the paths a real
// run cannot easily reach.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "script/CatalogueKeys.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Kind = FakePrompts::Kind;
using Texts = std::vector<std::string>;

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

void Choose(FakeDialogView& view, Dialog& dialog, int index) {
  view.ComboSelect(9, index);
  dialog.OnCommand(view, 9, 1);
}

class Startup : public ::testing::Test {
 protected:
  Startup() { world_.PutMedium(); }

  // `inMain` is what the user does in the main dialog; it ends with Exit.
  int Run(std::string_view commandLine, FakeDialogHost::UserScript inMain = {}) {
    world_.SkipIntro();
    world_.host.OnShow("DLG_main", [inMain](FakeDialogView& view, Dialog& dialog) {
      if (inMain) inMain(view, dialog);
      dialog.OnCommand(view, 8, 0);
    });
    return RunSetup(world_.services, state_, commandLine);
  }
  AppWorld world_;
  ProgramState& state_ = *world_.state;
};

// The program never restarts Windows itself; it tells the user to, in the language chosen
// last. Started from the installed copy, it also rebuilds the group in that language there.
TEST_F(Startup, RestartNoticeAndGroupFollowTheLanguageChosenLast) {
  world_.system.modulePath = "A:\\INSTALL.EXE";
  EXPECT_EQ(Run("/d /lDEUTSCH",
                [this](FakeDialogView& view, Dialog& dialog) {
                  EXPECT_EQ(view.Text(3), LanguageText("DE", text::DLG_MAIN_DEINSTALL));
                  state_.RestartRequired = 1;
                  Choose(view, dialog, 0);
                }),
            kExitCancelled);
  EXPECT_EQ(state_.SetupFileName, "INSTALL.EXE");
  EXPECT_FALSE(world_.files.FileBytes("C:\\WINNT\\system32\\KVXCheck.$$$"));
  EXPECT_EQ(world_.prompts.Texts(Kind::ErrorBox),
            Texts{LanguageText("EN", text::QUEST_RESTARTSYSTEM)});
  EXPECT_EQ(world_.programGroups.commands,
            (Texts{"[DeleteGroup(\"Velmar\")]", "[CreateGroup(\"Velmar\",0)]",
                   "[ShowGroup(\"Velmar\",1)]",
                   "[AddItem(INSTALL.EXE /c,Configure,A:\\INSTALL.EXE,1,20,10,A:\\)]",
                   "[ShowGroup(\"Velmar\",6)]"}));
}

TEST_F(Startup, NeverRebuildsAGroupADeinstallDeletedInThisRun) {
  Run("/d /lDeutsch", [this](FakeDialogView& view, Dialog& dialog) {
    state_.InstallComplete = state_.GroupDeleted = 1;
    Choose(view, dialog, 0);
  });
  EXPECT_TRUE(world_.programGroups.commands.empty());
}

}  // namespace
}  // namespace setup
