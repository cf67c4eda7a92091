#pragma once

#include "platform/LogWriter.h"
#include "platform/Profiles.h"
#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// The name of the log beside the installed copy when no /o names one, and the log in the
// Windows directory that takes what that one could not: a run that ended before the
// install made its directory.
inline constexpr std::string_view kLogFileName = "SETUP.LOG";
inline constexpr std::string_view kFallbackLogName = "VMSETUP.LOG";

// What an unattended run needs beyond the ports of the dialogs.
struct AdminPorts {
  Profiles& profiles;
  LogWriter& logWriter;
};

// The run /s asks for, after start-up has read the command line: install, configure or
// deinstall (by StartMode) from the answer file, without a window, every change logged.
// Returns the exit code. `services` are the system's own; the run puts its logging ports
// and its policy over them.
int RunUnattended(Services& services, AdminPorts& admin, ProgramState& state,
                  std::string_view commandLine);

}  // namespace setup
