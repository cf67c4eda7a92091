#pragma once

#include <string_view>

#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// The whole run of the program: fixes the start-up settings, runs the main dialog, re-creates
// the program group after a change of language and tells the user when Windows must be
// restarted. Returns the main dialog's result.
int RunSetup(Services& services, ProgramState& state, std::string_view commandLine);

}  // namespace setup
