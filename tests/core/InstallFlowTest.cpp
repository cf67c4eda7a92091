// An install run from the main dialog on the doubles, ended by each failure or finding.
#include <gtest/gtest.h>

#include <memory>

#include "app/MainDialog.h"
#include "app/Startup.h"
#include "install/InstallFlow.h"
#include "support/RegistryWorld.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {
namespace {

using Kind = FakePrompts::Kind;

class InstallFlowTest : public ::testing::Test {
 protected:
  InstallFlowTest() { Reset(); }
  // A fresh system with the medium in drive A.
  void Reset() {
    world_ = std::make_unique<RegistryWorld>();
    w().files.PutFile(
        "A:\\SETUP.KVX",
        Piped("[OS]|!OS_WINDOWS_NT|[LANGUAGE]|1|English|ENG.TXT|[VERSION]|104|[DEFPROTOCOL]|Euro|"
              "[PROTOCOL]|1|Euro|vmdss1.sys|2|[ADDFILES]|1|1||README.TXT||[COMPFILES]|1|1||"
              "VMDSS1.SY_|vmdss1.sys|!NOSETUPDIR|system32\\drivers|!VERSION_ON|[PROGMAN]|Velmar|"
              "English|1|Configure|!SETUPFILE+CMD|/c|!SETUPDIR|!SETUPICON|1"));
    w().files.PutFile("A:\\ENG.TXT", LanguageFile("EN"));
    w().files.PutFile("A:\\SETUP.EXE", "MZ");
    w().files.PutFile("A:\\README.TXT", "readme");
    w().files.PutFile("A:\\VMDSS1.SY_", Szdd("driver"));
    w().files.PutFile("A:\\removed.kvx", "an earlier deinstallation's log");
    w().PutMachine();
  }

  // Types over the offered source what is given; a refused install leaves the dialog to Cancel.
  void Install(const char* source) {
    w().SkipIntro();
    w().host.OnShow("DLG_install", [&](FakeDialogView& view, Dialog& dialog) {
      if (source) view.UserTypes(install_dialog::kSource, source);
      dialog.OnCommand(view, install_dialog::kInstall, 0);
      if (!view.ended()) dialog.OnCommand(view, install_dialog::kCancel, 0);
    });
    w().host.OnShow("DLG_main", [](FakeDialogView& view, Dialog& dialog) {
      dialog.OnCommand(view, main_dialog::kAction, 0);
      dialog.OnCommand(view, main_dialog::kExit, 0);
    });
    RunSetup(w().services, state(), "");
  }
  ProgramState& state() { return *w().state; }
  std::optional<MemoryRegistry::Value> Value(std::string_view key, const char* name) {
    return w().registry.ValueOf(std::string(key), name);
  }

  RegistryWorld& w() { return *world_; }

  std::unique_ptr<RegistryWorld> world_;
};

// Each way an install can end. Before: o two other makers' drivers registered, s a relative
// source typed, n the setup script and the
// driver image installed already and newer (answered All), a OverwriteAll left at 1 by an
// earlier install, r a refused [ADDFILES] ahead of the script's own. After: D the driver image in
// place, R registered, B its integrity backup, L no removal log left, here or in an installed copy
// where a deinstallation run from there left it. The group is made once the files are all there;
// every install clears OverwriteAll.
TEST_F(InstallFlowTest, EndsAsEachFailureOrFindingDecides) {
  const struct {
    std::string flags;
    int cancelAt;  // -1: none
    std::vector<int> messages;
  } cases[] = {
      {"RBDL", -1, {text::INFO_INS_DONE}},
      {"D", 5, {text::INFO_INS_DONE, text::ERR_INS_NOSUCCESS}},  // cancelled after the files
      {"oRBDL", -1, {text::INFO_INS_DONE, text::INFO_OTHERMANU}},
      {"s", -1, {text::ERR_INS_FULLPATH}},
      {"naRBDL", -1, {text::INFO_INS_DONE}},  // asked once in three batches
      {"rD", -1, {text::ERR_INS_NOSUCCESS}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags + std::to_string(c.cancelAt));
    const auto has = [&c](char flag) { return c.flags.find(flag) != std::string::npos; };
    Reset();
    w().files.PutFile("C:\\Velmar\\removed.kvx", "log");
    w().files.SetAttributes("C:\\Velmar\\removed.kvx", Files::kHidden | Files::kReadOnly);
    if (has('r'))
      w().files.PutFile("A:\\SETUP.KVX",
                        Piped("[ADDFILES]|1|999") + *w().files.FileBytes("A:\\SETUP.KVX"));
    for (const char* key : {"SOFTWARE\\CAPI20\\1", "SOFTWARE\\CAPI20\\2"})
      if (has('o'))
        w().registry.PutValue(key, "Manufacturer", Registry::kSz, std::string("Other\0", 6));
    for (const char* path : {"C:\\Velmar\\SETUP.KVX", "C:\\WINNT\\system32\\drivers\\vmdss1.sys"})
      if (has('n')) {
        w().files.PutFile(path, "newer");
        // Later than the medium's last file.
        w().files.SetLastWriteTime(path, *w().files.LastWriteTime("A:\\VMDSS1.SY_") + 1);
      }
    state().OverwriteAll = has('a');
    if (has('n')) w().prompts.Answer(Prompts::kAll);
    if (c.cancelAt != -1) w().prompts.CancelProgressAfter(c.cancelAt);
    Install(has('s') ? "MEDIUM" : nullptr);
    EXPECT_EQ(w().prompts.unanswered(), 0u);
    std::vector<std::string> expected;
    for (int key : c.messages) expected.push_back(LanguageText("EN", key));
    EXPECT_EQ(w().prompts.Texts(Kind::Message), expected);
    EXPECT_EQ(w().files.FileBytes("C:\\WINNT\\system32\\drivers\\vmdss1.sys").has_value(),
              has('D'));
    EXPECT_EQ(Value(kServiceKeyPath, "ImagePath").has_value(), has('R'));
    EXPECT_EQ(Value(kIntegrityKeyPath, "RegistryBackup").has_value(), has('B'));
    EXPECT_EQ(state().StartMode, has('R'));
    EXPECT_EQ(!w().files.FileBytes("A:\\removed.kvx"), has('L'));
    EXPECT_EQ(w().programGroups.commands.empty(), !has('R'));
    EXPECT_EQ(state().OverwriteAll, 0);
    if (has('L')) {
      EXPECT_FALSE(w().files.FileBytes("C:\\Velmar\\removed.kvx"));
      EXPECT_EQ(state().InstallComplete + state().RestartRequired, 2);
    }
  }
  for (const char* path : {"c:\\V", "\\\\server\\share"}) EXPECT_TRUE(IsFullPath(path));
  for (const char* path : {"", "C:V", "\\V", "\\\\server\\"})
    EXPECT_FALSE(IsFullPath(path)) << path;
}

}  // namespace
}  // namespace setup
