// A deinstall started with /d in the installed copy's main dialog, on the doubles, once for
// each way it can end.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Startup.h"
#include "support/RegistryWorld.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {
namespace {

const std::string kDir = "C:\\Velmar", kLog = kDir + "\\removed.kvx";
const std::string kAutoexec = "C:\\WINNT\\system32\\AutoExec.NT";
const std::string kWinCopy = "C:\\WINNT\\system32\\drivers\\vmdss1.sys";
const std::string kSetupCopy = kDir + "\\DRV\\NT\\vmdss1.sys", kReadme = kDir + "\\README.TXT";
// In the order of the bits of Case::kept.
const std::string kFiles[] = {kWinCopy, kSetupCopy, kReadme, kDir + "\\TRACE\\LOG.TXT",
                              kDir + "\\SETUP.EXE"};

// Before the run: f a foreign key under Parameters, n No to the last confirmation, d the stored
// display name too long, p a refused [COMPFILES] ahead of the script's own.
// After: R the removal of the system entries entered, S the service key left, G the group deleted,
// D done and the program ending, A asked whether to go on after a failure (answered No).
struct Case {
  std::string flags;
  unsigned kept;                    // kFiles left
  std::vector<std::string> logged;  // none: no log is left
};

TEST(DeinstallFlow, EndsAsEachFailureOfTheRunDecides) {
  const Case cases[] = {
      {"nS", 0x1F, {}},
      {"fRSGA", 0x10, {kWinCopy, kSetupCopy, kReadme}},
      {"dRGD", 0, {}},
      {"pRGA", 0x13, {kReadme}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    const auto has = [&c](char flag) { return c.flags.find(flag) != std::string::npos; };
    RegistryWorld w;
    w.files.PutFile(kDir + "\\ENG.TXT", LanguageFile("EN"));
    w.files.PutFile(
        kDir + "\\SETUP.KVX",
        Piped("[OS]|!OS_WINDOWS_NT|[LANGUAGE]|1|English|ENG.TXT|"
              "[COMPFILES]|1|1||V.SY_|vmdss1.sys|DRV\\NT|system32\\drivers||[ADDFILES]|1|1||"
              "README.TXT||[DELETEADDFILES]|1|1|TRACE|LOG.TXT|[PROGMAN]|Velmar"));
    if (has('p'))
      w.files.PutFile(kDir + "\\SETUP.KVX",
                      Piped("[COMPFILES]|1|999") + *w.files.FileBytes(kDir + "\\SETUP.KVX"));
    for (const std::string& file : kFiles) w.files.PutFile(file, "x");
    w.PutMachine();
    w.files.ChangeDirectory(kDir);
    w.system.modulePath = kFiles[4];
    w.PutDriver(1);
    if (has('f')) w.registry.AddKey(std::string(kParametersKeyPath) + "\\X");
    if (has('d'))
      w.registry.PutValue(std::string(kServiceKeyPath), "DisplayName", Registry::kSz,
                          std::string(64, 'd') + '\0');
    const std::optional<std::string> autoexec = w.files.FileBytes(kAutoexec);
    w.SkipIntro();
    w.host.AnswerBox(has('n') ? BoxAnswer::No : BoxAnswer::Yes);
    if (has('A')) w.prompts.Answer(Prompts::kNo);
    for (const char* name : {"DLG_deinstall", "DLG_main"})
      w.host.OnShow(name, [](FakeDialogView& view, Dialog& dialog) {
        dialog.OnCommand(view, view.templateName() == "DLG_main" ? 3 : 0, 1);  // no click
        dialog.OnCommand(view, view.templateName() == "DLG_main" ? 3 : 0, 0);
        dialog.OnCommand(view, 8, 0);  // the main dialog's Exit
      });
    RunSetup(w.services, *w.state, "/d");

    EXPECT_EQ(w.host.boxes().at(0).kind, BoxKind::QuestionYesNoDefaultNo);
    using Kind = FakePrompts::Kind;
    const auto shown = [&w](Kind kind, int key) {
      const std::vector<std::string> texts = w.prompts.Texts(kind);
      return std::count(texts.begin(), texts.end(), LanguageText("EN", key));
    };
    EXPECT_EQ(shown(Kind::Question, text::ERR_DEI_NOSUCCESS), has('A'));
    EXPECT_TRUE(w.prompts.Texts(Kind::AbortRetryIgnore).empty());
    for (std::size_t i = 0; i < std::size(kFiles); ++i)
      EXPECT_EQ(w.files.FileBytes(kFiles[i]).has_value(), (c.kept >> i & 1) != 0) << kFiles[i];
    // The levels the install made go with the last file in them.
    EXPECT_EQ(w.files.Attributes(kDir + "\\DRV").has_value(), (c.kept & 2) != 0);
    EXPECT_EQ(w.files.FileBytes(kAutoexec) != autoexec, has('R'));
    EXPECT_EQ(w.registry.HasKey(std::string(kServiceKeyPath)), has('S'));
    EXPECT_EQ(w.programGroups.commands.size(), has('G') ? 1u : 0u);
    EXPECT_EQ(w.state->GroupDeleted, has('G'));
    const std::optional<std::string> log = w.files.FileBytes(kLog);
    EXPECT_EQ(log.has_value(), !c.logged.empty());
    for (const std::string& line : c.logged)
      EXPECT_NE(log.value_or("").find(line + "\r\n"), std::string::npos) << line;
    // A damaged configuration is named, not refused in silence.
    EXPECT_EQ(shown(Kind::Message, text::ERR_CFG_NOVALQUERY), has('d'));
    EXPECT_EQ(shown(Kind::Message, text::INFO_DEI_DONE), has('D'));
    EXPECT_EQ(w.host.quitCodes, std::vector<int>(has('D'), 0));
    EXPECT_FALSE(w.prompts.progressOpen());
  }
}

}  // namespace
}  // namespace setup
