#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/MainDialog.h"
#include "script/CatalogueKeys.h"

namespace setup {

int RunSetup(Services& services, ProgramState& state, std::string_view commandLine) {
  const std::string currentDirectory = services.files.CurrentDirectory();
  state.SourceDir.Assign(currentDirectory);
  DeriveSetupFileName(currentDirectory, services.system.ModulePath(), state.SetupFileName);

  // Before the command line is read: the language table always comes from SETUP.KVX, even
  // when /f names another script for everything after it.
  ReadLanguageTable(services.files, services.prompts, state.Script(), state.Languages);
  ParseCommandLine(state, commandLine);
  FindLanguage(state);
  state.InitialLanguageIndex = state.LanguageIndex;
  state.InitialStartMode = state.StartMode;

  MainDialog mainDialog(services, state);
  const int result = services.host.RunModal("DLG_main", kNoWindow, mainDialog);

  // The program never restarts Windows itself.
  if (state.RestartRequired)
    services.prompts.ShowErrorBox(kNoWindow, state.Catalogue.Text(text::QUEST_RESTARTSYSTEM));
  return result;
}

}  // namespace setup
