#pragma once

#include <string_view>

#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// The directory, the program's name, the language table and the command line's settings.
void FixStartupSettings(Services& services, ProgramState& state, std::string_view commandLine);

// The whole run of the program: fixes the start-up settings, runs the main dialog, re-creates
// the program group after a change of language and tells the user when Windows must be
// restarted. Returns the exit code of the last action carried through.
int RunSetup(Services& services, ProgramState& state, std::string_view commandLine);

}  // namespace setup
