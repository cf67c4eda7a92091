#pragma once

namespace setup {

// The program's exit codes, for a script that runs it; the same with the dialogs and with /s.
enum ExitCode : int {
  kExitSuccess = 0,
  kExitRestartNeeded = 1,  // done; the driver's changes take effect after a restart
  kExitCancelled = 2,
  kExitFailed = 3,  // stopped; a run of the same command can finish what is left
  kExitBadCommandLine = 4,
  kExitBadAnswerFile = 5,
  kExitNoRights = 6,
  kExitWrongPlatform = 7,
};

}  // namespace setup
