#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/MainDialog.h"
#include "progman/ProgmanClient.h"
#include "script/CatalogueKeys.h"

namespace setup {

void FixStartupSettings(Services& services, ProgramState& state, std::string_view commandLine) {
  const std::string currentDirectory = services.files.CurrentDirectory();
  state.SourceDir.Assign(currentDirectory);
  DeriveSetupFileName(currentDirectory, services.system.ModulePath(), state.SetupFileName);

  // Before the command line is read: the language table always comes from SETUP.KVX, even
  // when /f names another script for everything after it.
  ReadLanguageTable(services.files, services.prompts, state.Script(), state.Languages);
  ParseCommandLine(state, commandLine);
  FindLanguage(state);
}

int RunSetup(Services& services, ProgramState& state, std::string_view commandLine) {
  FixStartupSettings(services, state, commandLine);
  state.InitialLanguageIndex = state.LanguageIndex;
  state.InitialStartMode = state.StartMode;
  services.host.StartDialogLook();

  MainDialog mainDialog(services, state);
  services.host.RunModal("DLG_main", kNoWindow, mainDialog);

  // The group's items speak the language chosen last. The start mode tells where the group
  // came from; a group a deinstall took away stays away.
  if (state.LanguageIndex != state.InitialLanguageIndex && state.InstallComplete &&
      !state.GroupDeleted) {
    if (state.InitialStartMode == 0 && state.StartMode != 0)
      CreateProgramGroup(services, state, kNoWindow, state.InstallSourceDir.view(),
                         state.InstallDestDir.view());
    else if (state.InitialStartMode != 0)
      CreateProgramGroup(services, state, kNoWindow, state.SourceDir.view(),
                         state.SourceDir.view());
  }
  // The program never restarts Windows itself.
  if (state.RestartRequired)
    services.prompts.ShowErrorBox(kNoWindow, state.Catalogue.Text(text::QUEST_RESTARTSYSTEM));
  services.host.EndDialogLook();
  return state.ExitCode == kExitSuccess && state.RestartRequired ? kExitRestartNeeded
                                                                 : state.ExitCode;
}

}  // namespace setup
