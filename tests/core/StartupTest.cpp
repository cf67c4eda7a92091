#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "script/CatalogueKeys.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Kind = FakePrompts::Kind;

TEST(DeriveSetupFileName, StripsTheCurrentDirectoryOrKeepsTheDefault) {
  struct Case {
    const char *current, *module, *name;
  };
  // A drive root already ends in a backslash; it must not count twice.
  for (const Case& c : {Case{"C:\\", "C:\\VSETUP.EXE", "VSETUP.EXE"},
                        Case{"C:\\KVX\\DISK1", "C:\\KVX\\DISK1\\INST.EXE", "INST.EXE"},
                        Case{"C:\\KVX\\DISK1", "C:\\VSETUP.EXE", "SETUP.EXE"},
                        Case{"C:\\KVX", "C:\\KVX\\", "SETUP.EXE"}}) {
    PathText name("SETUP.EXE");
    DeriveSetupFileName(c.current, c.module, name);
    EXPECT_EQ(name, c.name) << c.module;
  }
}

class Startup : public ::testing::Test {
 protected:
  // Runs the program; the user closes the main dialog with Exit after `inMain`.
  int Run(std::string_view commandLine, std::function<void(FakeDialogView&, Dialog&)> inMain = {}) {
    world_.SkipIntro();
    world_.host.OnShow("DLG_main", [inMain](FakeDialogView& view, Dialog& dialog) {
      if (inMain) inMain(view, dialog);
      dialog.OnCommand(view, 8, 0);
    });
    return RunSetup(world_.services, *world_.state, commandLine);
  }

  AppWorld world_;
  ProgramState& state_ = *world_.state;
};

TEST_F(Startup, FixesTheSettingsBeforeTheMainDialogOpens) {
  world_.PutMedium();
  world_.system.modulePath = "A:\\INSTALL.EXE";
  int modeSeen = -1;
  EXPECT_EQ(Run("/d /lDEUTSCH",
                [&](FakeDialogView& view, Dialog& dialog) {
                  modeSeen = state_.StartMode;
                  view.ComboSelect(9, 0);
                  dialog.OnCommand(view, 9, 1);
                }),
            0);
  EXPECT_EQ(modeSeen, 2);
  EXPECT_EQ(state_.SourceDir, "A:\\");
  EXPECT_EQ(state_.SetupFileName, "INSTALL.EXE");
  EXPECT_EQ(state_.LanguageIndex, 0);
  EXPECT_EQ(state_.InitialLanguageIndex, 1);
  EXPECT_EQ(state_.InitialStartMode, 2);
  ASSERT_EQ(world_.host.views().size(), 2u);
  EXPECT_EQ(world_.host.views()[0]->templateName(), "DLG_main");
  EXPECT_EQ(world_.host.views()[0]->owner(), kNoWindow);
  EXPECT_TRUE(world_.prompts.shown().empty());  // no restart notice without a restart
}

TEST_F(Startup, LanguageTableAlwaysComesFromSetupKvx) {
  world_.PutMedium();
  world_.files.PutFile("A:\\OTHER.KVX", CrLfLines({"[OS]", "!OS_WINDOWS_NT", "[LANGUAGE]", "1",
                                                   "Francais", "FRA.TXT"}));
  EXPECT_EQ(Run("/fOTHER.KVX /lDeutsch"), 0);
  EXPECT_EQ(state_.Languages.count, 2);
  EXPECT_EQ(state_.LanguageIndex, 1);
  EXPECT_EQ(state_.ScriptFileName, "OTHER.KVX");
  // Everything after the language table reads the script /f names.
  const auto& opened = world_.files.openedPaths();
  ASSERT_FALSE(opened.empty());
  EXPECT_EQ(opened.front(), "A:\\SETUP.KVX");
  EXPECT_EQ(opened.back(), "A:\\OTHER.KVX");
}

TEST_F(Startup, RestartNoticeInTheChosenLanguage) {
  world_.PutMedium();
  Run("/lDeutsch", [&](FakeDialogView&, Dialog&) { state_.RestartRequired = 1; });
  ASSERT_EQ(world_.prompts.shown().size(), 1u);
  const auto& notice = world_.prompts.shown().front();
  EXPECT_EQ(notice.kind, Kind::ErrorBox);
  EXPECT_EQ(notice.owner, kNoWindow);
  EXPECT_EQ(notice.text, LanguageText("DE", text::QUEST_RESTARTSYSTEM));
}

TEST_F(Startup, MissingScriptStillOpensTheMainDialogThatThenEnds) {
  world_.SkipIntro();
  EXPECT_EQ(RunSetup(world_.services, state_, "/c"), 0);
  EXPECT_EQ(
      world_.prompts.Texts(Kind::ErrorBox),
      (std::vector<std::string>{"Can't find SETUPINFOFILE!", "Language is not supported!", ""}));
  EXPECT_EQ(world_.host.views().size(), 2u);
}

TEST(AdminRights, NeedAllAccessToSoftwareAndAFileInTheSystemDirectory) {
  struct Case {
    bool denied;
    const char* systemDirectory;
    int passed;
  };
  for (const Case& c : {Case{false, "C:\\WINNT\\system32", 1}, Case{true, "C:\\WINNT\\system32", 0},
                        Case{false, "C:\\WINNT\\MISSING", 0}}) {
    AppWorld world;
    world.state->Catalogue.SetText(text::ERR_NORIGHTS, "no rights");
    if (c.denied) world.registry.DenyAllAccess("SOFTWARE");
    world.system.systemDirectory = c.systemDirectory;
    EXPECT_EQ(CheckAdminRights(world.services, *world.state, 0x77), c.passed);
    ASSERT_EQ(world.prompts.shown().size(), c.passed ? 0u : 1u) << c.systemDirectory;
    if (!c.passed) {
      EXPECT_EQ(world.prompts.shown()[0].kind, Kind::Message);
      EXPECT_EQ(world.prompts.shown()[0].owner, WindowRef{0x77});
      EXPECT_EQ(world.prompts.shown()[0].text, "no rights");
    }
    // The probe is tried all the same and never left behind.
    EXPECT_FALSE(world.files.FileBytes(std::string(c.systemDirectory) + "\\KVXCheck.$$$"));
  }
}

}  // namespace
}  // namespace setup
