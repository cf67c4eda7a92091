// The program from its start to the end of the main dialog, on the doubles. What a user sees
// of the main dialog in every language is checked end to end; these are the paths a real
// run cannot easily reach.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/IntroWindow.h"
#include "app/MainDialog.h"
#include "app/Startup.h"
#include "script/CatalogueKeys.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Kind = FakePrompts::Kind;
using UserScript = FakeDialogHost::UserScript;

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

void ExpectLabels(const FakeDialogView& view, std::string_view tag, int actionSlot) {
  EXPECT_EQ(view.Caption(), LanguageText(tag, text::DLG_MAIN_CAPTION));
  for (int id : {7, 8, 10, 11, 12}) EXPECT_EQ(view.Text(id), LanguageText(tag, id)) << id;
  EXPECT_EQ(view.Text(3), LanguageText(tag, actionSlot));
}

void Choose(FakeDialogView& view, Dialog& dialog, int index, int notification = 1) {
  view.ComboSelect(9, index);
  dialog.OnCommand(view, 9, notification);
}

void PressExit(FakeDialogView& view, Dialog& dialog) {
  dialog.OnCommand(view, 8, 0);
}

class Startup : public ::testing::Test {
 protected:
  Startup() { world_.PutMedium(); }

  // Runs the program; `inMain` is what the user does in the main dialog and must end it.
  int Run(std::string_view commandLine, UserScript inMain = PressExit) {
    world_.SkipIntro();
    world_.host.OnShow("DLG_main", std::move(inMain));
    return RunSetup(world_.services, state_, commandLine);
  }
  FakeDialogView& Main() { return *world_.host.views().at(0); }
  AppWorld world_;
  ProgramState& state_ = *world_.state;
};

// The program never restarts Windows itself; it tells the user to, in the language chosen
// last. Started from the installed copy, it also rebuilds the group in that language there.
TEST_F(Startup, MainDialogShowsLabelledBehindTheIntroInTheChosenLanguage) {
  world_.system.modulePath = "A:\\INSTALL.EXE";
  EXPECT_EQ(Run("/d /lDEUTSCH",
                [this](FakeDialogView& view, Dialog& dialog) {
                  EXPECT_EQ(view.hiddenCount(), 1);
                  EXPECT_EQ(view.centredCount(), 1);
                  ExpectLabels(view, "DE", text::DLG_MAIN_DEINSTALL);
                  ASSERT_TRUE(view.control(10).font);
                  EXPECT_EQ(view.control(10).font->points, 12);
                  EXPECT_EQ(state_.MainWindow, view.Window());
                  state_.RestartRequired = 1;
                  Choose(view, dialog, 0);
                  PressExit(view, dialog);
                }),
            0);
  ASSERT_EQ(world_.host.views().size(), 2u);
  EXPECT_EQ(Main().owner(), kNoWindow);
  EXPECT_EQ(world_.host.views()[1]->templateName(), "WND_intro");
  EXPECT_EQ(world_.host.views()[1]->owner(), Main().Window());
  EXPECT_EQ(state_.SourceDir, "A:\\");
  EXPECT_EQ(state_.SetupFileName, "INSTALL.EXE");
  EXPECT_EQ(state_.LanguageIndex, 0);
  EXPECT_EQ(state_.InitialLanguageIndex, 1);
  EXPECT_EQ(state_.InitialStartMode, 2);
  EXPECT_FALSE(world_.files.FileBytes("C:\\WINNT\\system32\\KVXCheck.$$$"));
  ASSERT_EQ(world_.prompts.shown().size(), 1u);
  EXPECT_EQ(world_.prompts.shown()[0].kind, Kind::ErrorBox);
  EXPECT_EQ(world_.prompts.shown()[0].owner, kNoWindow);
  EXPECT_EQ(world_.prompts.shown()[0].text, LanguageText("EN", text::QUEST_RESTARTSYSTEM));
  EXPECT_EQ(
      world_.programGroups.commands,
      (std::vector<std::string>{"[DeleteGroup(\"Velmar\")]", "[CreateGroup(\"Velmar\",0)]",
                                "[ShowGroup(\"Velmar\",1)]",
                                "[AddItem(INSTALL.EXE /c,Configure,A:\\INSTALL.EXE,1,20,10,A:\\)]",
                                "[ShowGroup(\"Velmar\",6)]"}));
}

// Only a change of language rebuilds the group at exit: from the installed copy, or from
// the pair of directories an install that got as far as the group used.
TEST(StartupExit, RebuildsTheGroupAfterALanguageChangeWhereItWasMade) {
  struct Case {
    const char* commandLine;
    int language;          // chosen in the main dialog; -1 keeps the first
    bool installed;        // an install got past its file transfer
    int installComplete;   // and made its group
    const char* item;      // the one add-item command sent, or none
    int groupDeleted = 0;  // by a deinstall in this run
  };
  for (const Case& c : {
           Case{"", 1, true, 1,
                "[AddItem(SETUP.EXE ,Konfigurieren,C:\\Velmar\\SETUP.EXE,1,20,10,C:\\Velmar)]"},
           Case{"", 1, true, 0, nullptr},
           Case{"", 1, false, 1, nullptr},
           Case{"/c", -1, false, 1, nullptr},
           Case{"/c /lDeutsch", 0, false, 1,
                "[AddItem(SETUP.EXE /c,Configure,A:\\SETUP.EXE,1,20,10,A:\\)]"},
           Case{"/d /lDeutsch", 0, false, 1, nullptr, 1},
       }) {
    SCOPED_TRACE(c.commandLine);
    AppWorld world;
    world.PutMedium();
    // The install's source holds another script than the medium the program started from.
    world.files.PutFile("B:\\SETUP.KVX",
                        CrLfLines({"[PROGMAN]", "Velmar", "Deutsch", "1", "Konfigurieren",
                                   "!SETUPFILE", "!SETUPDIR", "!SETUPICON", "1"}));
    world.SkipIntro();
    ProgramState& state = *world.state;
    world.host.OnShow("DLG_main", [&](FakeDialogView& view, Dialog& dialog) {
      if (c.installed) {
        state.StartMode = 1;
        state.InstallSourceDir.Assign("B:\\");
        state.InstallDestDir.Assign("C:\\Velmar");
      }
      state.InstallComplete = c.installComplete;
      state.GroupDeleted = c.groupDeleted;
      if (c.language >= 0) Choose(view, dialog, c.language);
      PressExit(view, dialog);
    });
    RunSetup(world.services, state, c.commandLine);
    const std::vector<std::string>& sent = world.programGroups.commands;
    EXPECT_EQ(world.programGroups.liveInstances(), 0u);
    if (!c.item) {
      EXPECT_TRUE(sent.empty());
      continue;
    }
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[3], c.item);
  }
}

// Ended before the main dialog was ever shown, with one notice the main dialog owns. The
// rights probe is never left behind.
TEST(StartupRefusal, WrongPlatformOrMissingRightsEndWithATranslatedMessage) {
  struct Case {
    const char* platform;
    bool denied;
    const char* systemDirectory;
    int slot;
  };
  for (const Case& c : {Case{"!OS_WINDOWS_95", false, "C:\\WINNT\\system32", text::ERR_INVALID_OS},
                        Case{"!OS_WINDOWS_NT", true, "C:\\WINNT\\system32", text::ERR_NORIGHTS},
                        Case{"!OS_WINDOWS_NT", false, "C:\\WINNT\\MISSING", text::ERR_NORIGHTS}}) {
    AppWorld world;
    world.PutMedium(c.platform);
    if (c.denied) world.registry.DenyAllAccess("SOFTWARE");
    world.system.systemDirectory = c.systemDirectory;
    world.SkipIntro();
    EXPECT_EQ(RunSetup(world.services, *world.state, "/lDeutsch"), 0);
    const FakeDialogView& main = *world.host.views().at(0);
    EXPECT_TRUE(main.ended());
    EXPECT_EQ(main.centredCount(), 0);
    ASSERT_EQ(world.prompts.shown().size(), 1u);
    EXPECT_EQ(world.prompts.shown()[0].kind,
              c.slot == text::ERR_INVALID_OS ? Kind::ErrorBox : Kind::Message);
    EXPECT_EQ(world.prompts.shown()[0].owner, main.Window());
    EXPECT_EQ(world.prompts.shown()[0].text, LanguageText("DE", c.slot));
    EXPECT_FALSE(world.files.FileBytes(std::string(c.systemDirectory) + "\\KVXCheck.$$$"));
  }
}

// The language table always comes from SETUP.KVX; everything after it, the platform too,
// from the script /f names.
TEST_F(Startup, ScriptOnTheCommandLineIsReadAfterTheLanguageTable) {
  world_.files.PutFile("A:\\OTHER.KVX", CrLfLines({"[OS]", "!OS_WINDOWS_95", "[LANGUAGE]", "1",
                                                   "Francais", "FRA.TXT"}));
  world_.system.platformId = 1;
  EXPECT_EQ(Run("/fOTHER.KVX /lDeutsch"), 0);
  EXPECT_EQ(state_.Languages.count, 2);
  EXPECT_EQ(state_.LanguageIndex, 1);
  EXPECT_EQ(world_.files.openedPaths().front(), "A:\\SETUP.KVX");
  EXPECT_EQ(world_.files.openedPaths().back(), "A:\\OTHER.KVX");
  EXPECT_TRUE(world_.prompts.shown().empty());  // no restart notice without a restart
}

TEST_F(Startup, OnlyAChangedSelectionSwitchesTheLanguage) {
  EXPECT_EQ(
      Run("/c",
          [this](FakeDialogView& view, Dialog& dialog) {
            Choose(view, dialog, 1, 7);  // the list dropped down
            Choose(view, dialog, -1);
            EXPECT_EQ(state_.LanguageIndex, 0);
            ExpectLabels(view, "EN", text::DLG_MAIN_CONFIG);

            Choose(view, dialog, 1);
            EXPECT_EQ(state_.LanguageIndex, 1);
            ExpectLabels(view, "DE", text::DLG_MAIN_CONFIG);
            EXPECT_EQ(view.control(9).items, (std::vector<std::string>{"English", "Deutsch"}));
            EXPECT_EQ(view.ComboSelection(9), 1);

            // A language whose file is gone keeps the labels there are.
            world_.files.Delete("A:\\ENG.TXT");
            Choose(view, dialog, 0);
            EXPECT_EQ(world_.prompts.Texts(Kind::ErrorBox),
                      std::vector<std::string>{"Language is not supported!"});
            ExpectLabels(view, "DE", text::DLG_MAIN_CONFIG);
            // Escape does not end the main dialog; closing it does.
            dialog.OnCommand(view, 2, 0);
            EXPECT_FALSE(view.ended());
            dialog.OnClose(view);
          }),
      0);
}

TEST(StartupWithoutMedium, MissingScriptStillOpensTheMainDialogThatThenEnds) {
  AppWorld world;
  world.SkipIntro();
  EXPECT_EQ(RunSetup(world.services, *world.state, "/c"), 0);
  EXPECT_EQ(
      world.prompts.Texts(Kind::ErrorBox),
      (std::vector<std::string>{"Can't find SETUPINFOFILE!", "Language is not supported!", ""}));
  EXPECT_EQ(world.host.views().size(), 2u);
}

// Each window goes on without what it could not make; the views are the test's own.
TEST(MainDialogAndIntro, ReportAMissingFontBitmapOrBrushAndStillOpen) {
  struct Case {
    const char* templateName;
    bool fontFails;
    BackgroundResult background;
    const char* message;
  };
  for (const Case& c :
       {Case{"DLG_main", true, BackgroundResult::Painted, "Unable to find font!"},
        Case{"WND_intro", false, BackgroundResult::NoBitmap, "Unable to load bitmap!"},
        Case{"WND_intro", false, BackgroundResult::NoBrush, "Can't create brush!"}}) {
    AppWorld world;
    world.PutMedium();
    world.state->SourceDir.Assign(AppWorld::kMedium);
    ReadLanguageTable(world.files, world.prompts, world.state->Script(), world.state->Languages);
    world.SkipIntro();
    FakeDialogView view(c.templateName, 0x500, kNoWindow);
    if (c.fontFails) view.FailFonts();
    view.SetBackgroundResult(c.background);
    if (view.templateName() == "WND_intro")
      IntroWindow(world.services, *world.state).OnInit(view);
    else
      MainDialog(world.services, *world.state).OnInit(view);
    EXPECT_EQ(world.prompts.Texts(Kind::ErrorBox), std::vector<std::string>{c.message});
    EXPECT_EQ(view.centredCount(), 1) << c.message;
    EXPECT_FALSE(view.ended()) << c.message;
  }
}

}  // namespace
}  // namespace setup
