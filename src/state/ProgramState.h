#pragma once

#include <memory>

#include "platform/FixedText.h"
#include "platform/Window.h"
#include "script/LanguageTable.h"
#include "script/ScriptReader.h"
#include "script/StringCatalogue.h"
#include "state/ConfigRecords.h"
#include "state/ExitCodes.h"

namespace setup {

class ConfigFrame;

// The settings fixed at start-up and shared by every part of the program, with the language
// table and the texts of the current language.
struct ProgramState {
  PathText SourceDir;
  PathText ScriptFileName{"SETUP.KVX"};
  PathText SetupFileName{"SETUP.EXE"};
  PathText DefaultDirName{"Velmar"};
  int StartMode = 0;  // 0 install, 1 configure, 2 deinstall
  FixedText<16> LanguageName;
  int LanguageIndex = 0;
  int InitialLanguageIndex = 0;
  int InitialStartMode = 0;
  int InstallComplete = 1;
  int RestartRequired = 0;
  // 1 once a deinstall has deleted the program group (or tried to) in this run.
  int GroupDeleted = 0;
  PathText InstallSourceDir;
  PathText InstallDestDir;
  // What the change-directory dialog chose, until its field has taken it.
  PathText ChosenDirectory;
  // 1 once the user answered All to overwriting a newer file; each install clears it.
  int OverwriteAll = 0;
  WindowRef MainWindow = kNoWindow;
  // The unattended run's switches: /s, /a<answer file>, /o<log file>. A switch letter that
  // no mode knows is ignored by the dialogs and refused by /s.
  int Silent = 0;
  PathText AnswerFileName;
  PathText LogFileName;
  int UnknownSwitch = 0;
  // The outcome of the last action the user carried through; leaving without one is
  // cancelling.
  int ExitCode = kExitCancelled;

  LanguageTable Languages;
  StringCatalogue Catalogue;
  // The configuration the install and the configuration dialog fill and write.
  DriverServiceConfig ServiceConfig;
  AdapterTable Adapters{};
  // The configuration dialog last opened; one at a time.
  std::shared_ptr<ConfigFrame> ConfigDialog;

  // The setup script every section reader opens.
  ScriptLocation Script() const { return {SourceDir.view(), ScriptFileName.view()}; }
};

}  // namespace setup
