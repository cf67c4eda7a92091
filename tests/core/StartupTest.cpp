#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "script/CatalogueKeys.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Kind = FakePrompts::Kind;

TEST(DeriveSetupFileName, StripsTheCurrentDirectoryFromTheModulePath) {
  PathText name("SETUP.EXE");
  // A drive root already ends in a backslash; it must not count twice.
  DeriveSetupFileName("C:\\", "C:\\VSETUP.EXE", name);
  EXPECT_EQ(name, "VSETUP.EXE");
  DeriveSetupFileName("C:\\KVX\\DISK1", "C:\\KVX\\DISK1\\INST.EXE", name);
  EXPECT_EQ(name, "INST.EXE");
}

TEST(DeriveSetupFileName, KeepsTheDefaultForAShorterModulePath) {
  PathText name("SETUP.EXE");
  DeriveSetupFileName("C:\\KVX\\DISK1", "C:\\VSETUP.EXE", name);
  EXPECT_EQ(name, "SETUP.EXE");
  DeriveSetupFileName("C:\\KVX", "C:\\KVX\\", name);
  EXPECT_EQ(name, "SETUP.EXE");
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

TEST_F(Startup, NoNoticeWithoutRestart) {
  world_.PutMedium();
  Run("");
  EXPECT_TRUE(world_.prompts.shown().empty());
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

class AdminRights : public ::testing::Test {
 protected:
  std::string Probe() const { return world_.system.systemDirectory + "\\KVXCheck.$$$"; }

  AppWorld world_;
};

TEST_F(AdminRights, PassesAndLeavesNoProbeBehind) {
  EXPECT_EQ(CheckAdminRights(world_.services, *world_.state, 0x77), 1);
  EXPECT_TRUE(world_.prompts.shown().empty());
  EXPECT_FALSE(world_.files.FileBytes(Probe()));
  EXPECT_EQ(world_.registry.OpenHandles(), 0);
}

TEST_F(AdminRights, RegistryRefusalIsReportedToTheOwner) {
  world_.state->Catalogue.SetText(text::ERR_NORIGHTS, "no rights");
  world_.registry.DenyAllAccess("SOFTWARE");
  EXPECT_EQ(CheckAdminRights(world_.services, *world_.state, 0x77), 0);
  ASSERT_EQ(world_.prompts.shown().size(), 1u);
  EXPECT_EQ(world_.prompts.shown()[0].kind, FakePrompts::Kind::Message);
  EXPECT_EQ(world_.prompts.shown()[0].owner, WindowRef{0x77});
  EXPECT_EQ(world_.prompts.shown()[0].text, "no rights");
  // The probe was tried all the same and not left behind.
  EXPECT_FALSE(world_.files.FileBytes(Probe()));
}

TEST_F(AdminRights, FailsWhenTheSystemDirectoryTakesNoFile) {
  world_.system.systemDirectory = "C:\\WINNT\\MISSING";
  EXPECT_EQ(CheckAdminRights(world_.services, *world_.state, 0x77), 0);
  EXPECT_EQ(world_.prompts.Texts(FakePrompts::Kind::Message).size(), 1u);
}

}  // namespace
}  // namespace setup
