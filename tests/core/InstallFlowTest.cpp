// An install run from the main dialog on the doubles, twice: first on a fresh system, then
// over the configuration the first left.
#include <gtest/gtest.h>

#include "app/MainDialog.h"
#include "app/Startup.h"
#include "install/ChangeDirDialog.h"
#include "install/InstallFlow.h"
#include "script/CaseFold.h"
#include "support/RegistryWorld.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {
namespace {

using Kind = FakePrompts::Kind;

class InstallFlowTest : public ::testing::Test {
 protected:
  InstallFlowTest() {
    world_.files.PutFile("A:\\SETUP.KVX", CrLfLines({"[OS]",
                                                     "!OS_WINDOWS_NT",
                                                     "[LANGUAGE]",
                                                     "1",
                                                     "English",
                                                     "ENG.TXT",
                                                     "[VERSION]",
                                                     "104",
                                                     "[DEFPROTOCOL]",
                                                     "Euro",
                                                     "[PROTOCOL]",
                                                     "1",
                                                     "Euro",
                                                     "vmdss1.sys",
                                                     "2",
                                                     "[ADDFILES]",
                                                     "1",
                                                     "1",
                                                     "",
                                                     "README.TXT",
                                                     "",
                                                     "[COMPFILES]",
                                                     "1",
                                                     "1",
                                                     "",
                                                     "VMDSS1.SY_",
                                                     "vmdss1.sys",
                                                     "!NOSETUPDIR",
                                                     "system32\\drivers",
                                                     "!VERSION_ON",
                                                     "[PROGMAN]",
                                                     "Velmar",
                                                     "English",
                                                     "1",
                                                     "Configure",
                                                     "!SETUPFILE+CMD",
                                                     "/c",
                                                     "!SETUPDIR",
                                                     "!SETUPICON",
                                                     "1"}));
    world_.files.PutFile("A:\\ENG.TXT", LanguageFile("EN"));
    world_.files.PutFile("A:\\SETUP.EXE", "MZ");
    world_.files.PutFile("A:\\README.TXT", "readme");
    world_.files.PutFile("A:\\VMDSS1.SY_", Szdd("driver"));
    world_.files.PutFile("C:\\WINNT\\system32\\AutoExec.NT", "REM\r\n");
    world_.files.PutFile("A:\\removed.kvx", "an earlier deinstallation's log");
    world_.registry.PutValue(std::string(kServiceGroupOrderKeyPath), "List", Registry::kMultiSz,
                             std::string("NDIS\0\0", 6));
  }

  // Presses the action button in the main dialog and Install in the install dialog.
  void Install() {
    world_.SkipIntro();
    world_.host.OnShow("DLG_install", [this](FakeDialogView& view, Dialog& dialog) {
      destination_ = view.Text(install_dialog::kDestination);
      EXPECT_EQ(view.TextLimit(install_dialog::kSource), 259);
      EXPECT_EQ(view.TextLimit(install_dialog::kDestination), 259);
      dialog.OnCommand(view, install_dialog::kInstall, 0);
    });
    world_.host.OnShow("DLG_main", [](FakeDialogView& view, Dialog& dialog) {
      dialog.OnCommand(view, main_dialog::kAction, 0);
      dialog.OnCommand(view, main_dialog::kExit, 0);
    });
    RunSetup(world_.services, state(), "");
  }
  ProgramState& state() { return *world_.state; }
  std::optional<MemoryRegistry::Value> Value(std::string_view key, const char* name) {
    return world_.registry.ValueOf(std::string(key), name);
  }

  RegistryWorld world_;
  std::string destination_;
};

TEST_F(InstallFlowTest, AFreshInstallRegistersTheDriverAndASecondKeepsItsConfiguration) {
  // An installed copy's log too, where a deinstallation run from there left it.
  world_.files.PutFile("C:\\Velmar\\removed.kvx", "log");
  world_.files.SetAttributes("C:\\Velmar\\removed.kvx", Files::kHidden | Files::kReadOnly);
  Install();
  EXPECT_FALSE(world_.files.FileBytes("C:\\Velmar\\removed.kvx"));
  EXPECT_EQ(destination_, "C:\\Velmar");
  EXPECT_EQ(world_.files.FileBytes("C:\\Velmar\\SETUP.EXE"), "MZ");
  EXPECT_EQ(world_.files.FileBytes("C:\\WINNT\\system32\\drivers\\vmdss1.sys"), "driver");
  EXPECT_EQ(Value(kServiceKeyPath, "ImagePath")->bytes,
            std::string("\\SystemRoot\\System32\\drivers\\vmdss1.sys") + '\0');
  EXPECT_TRUE(Value(kParametersKeyPath, "x31Layer2"));
  EXPECT_TRUE(Value(std::string(kParametersKeyPath) + "\\Adapter01", "Interrupt"));
  EXPECT_TRUE(Value(kIntegrityKeyPath, "RegistryBackup"));
  EXPECT_EQ(Value(kIntegrityKeyPath, "ScriptVersion")->bytes, std::string("\x68\0\0\0", 4));
  EXPECT_FALSE(world_.files.FileBytes("A:\\removed.kvx"));
  EXPECT_EQ(state().StartMode, 1);
  EXPECT_EQ(state().InstallComplete, 1);
  EXPECT_EQ(state().RestartRequired, 1);
  EXPECT_FALSE(world_.programGroups.commands.empty());
  // Every file is in place before the done message, and no question was asked.
  EXPECT_EQ(world_.prompts.Texts(Kind::Message),
            (std::vector<std::string>{LanguageText("EN", text::INFO_INS_DONE)}));
  EXPECT_EQ(world_.host.views().front()->Text(main_dialog::kAction),
            LanguageText("EN", text::DLG_MAIN_CONFIG));

  // Over the configuration there is: Yes keeps it, and nothing asks for a restart.
  world_.registry.PutValue(std::string(kServiceKeyPath), "Start", Registry::kDword,
                           std::string("\3\0\0\0", 4));
  // The double's expansion does not keep the source's date, so the driver image asks too.
  world_.prompts.Answer(Prompts::kYes);
  world_.prompts.Answer(Prompts::kYes);
  state().StartMode = 0;
  Install();
  EXPECT_EQ(world_.prompts.Texts(Kind::Question),
            (std::vector<std::string>{LanguageText("EN", text::QUEST_APPLYOLD)}));
  EXPECT_EQ(world_.prompts.Texts(Kind::QuestionWithAll).size(), 1u);
  EXPECT_EQ(Value(kServiceKeyPath, "Start")->bytes, std::string("\3\0\0\0", 4));
  EXPECT_EQ(state().RestartRequired, 0);
}

// Browsing for the fields: each step a user action in the change-directory dialog (none for
// its opening), then its path, its list and its selected drive.
TEST_F(InstallFlowTest, ChangeDirectoryBrowsesDrivesAndDirectoriesIntoTheField) {
  using namespace change_dir_dialog;
  using Shown = std::vector<std::string>;
  for (const char* path : {"D:\\Data\\Sub", "D:\\apps"}) world_.files.MakeDirectories(path);
  struct Step {
    int id, code, pick;
    Shown shown;
  };
  const auto walk = [](std::vector<Step> steps, int end) {
    return [=](FakeDialogView& view, Dialog& dialog) {
      for (const Step& s : steps) {
        if (s.id == kDrives) view.ComboSelect(kDrives, s.pick);
        view.control(kDirectories).selection = s.pick;
        if (s.code) dialog.OnCommand(view, s.id, s.code);
        Shown shown = {view.Text(kPath)};
        for (const std::string& item : view.control(kDirectories).items) shown.push_back(item);
        shown.push_back(view.ComboItemText(kDrives, view.ComboSelection(kDrives)));
        EXPECT_EQ(shown, s.shown);
      }
      EXPECT_EQ(view.control(kDrives).items, (Shown{"[-a-]", "[-c-]", "[-d-]"}));
      dialog.OnCommand(view, end, 0);
    };
  };
  // The default destination does not exist yet: the Windows drive's root, without parent.
  world_.host.OnShow("DLG_changedir",
                     walk({{0, 0, 0, {"C:\\", "[WINNT]", "[-c-]"}},
                           {kDrives, 1, 2, {"D:\\", "[apps]", "[Data]", "[-d-]"}},
                           {kDirectories, 2, 1, {"D:\\Data", "[..]", "[Sub]", "[-d-]"}},
                           {kDirectories, 2, 0, {"D:\\", "[apps]", "[Data]", "[-d-]"}}},
                          kOk));
  world_.host.OnShow("DLG_changedir",
                     walk({{0, 0, 0, {"d:\\data", "[..]", "[Sub]", "[-d-]"}}}, kCancel));
  world_.host.OnShow("DLG_install", [this](FakeDialogView& view, Dialog& dialog) {
    dialog.OnCommand(view, install_dialog::kChangeDestination, 0);
    EXPECT_EQ(view.Text(install_dialog::kDestination), "D:\\");
    EXPECT_TRUE(state().ChosenDirectory.empty());
    view.SetText(install_dialog::kSource, "d:\\data\\.\\Sub\\..\\");
    dialog.OnCommand(view, install_dialog::kChangeSource, 0);
    EXPECT_EQ(view.Text(install_dialog::kSource), "d:\\data\\.\\Sub\\..\\");
    dialog.OnCommand(view, install_dialog::kCancel, 0);
  });
  FakeDialogView main("DLG_main", 1, kNoWindow);
  OpenInstallDialog(world_.services, state(), main, "A:\\");
}

}  // namespace
}  // namespace setup
