#pragma once

#include <string_view>

#include "platform/ProgramGroups.h"
#include "platform/Services.h"
#include "platform/Window.h"
#include "state/ProgramState.h"

namespace setup {

// The program group of the script in `scriptDir`, rebuilt from scratch with the items of
// the current language, their paths built on `installDir`. Afterwards `owner` (when given)
// is centred and activated, in front of the shell again. Every failure is shown here and
// nothing is reported back: the caller goes on as if the group existed. An item whose paths
// or command text would not fit the command buffer is left out with a message naming it,
// never sent cut.
void CreateProgramGroup(Services& services, const ProgramState& state, WindowRef owner,
                        std::string_view scriptDir, std::string_view installDir);

// Deletes the group named in the script in `scriptDir`. 1 when the shell took the command
// (or the script names no group); 0 after the failure was shown.
int DeleteProgramGroup(Services& services, const ProgramState& state, WindowRef owner,
                       std::string_view scriptDir);

// Sends one command in a conversation of its own: 1 when the transaction was accepted, 0
// after "No connection!" or "Error: %X" (no owner).
int SendProgmanCommand(Services& services, ProgramGroups::Instance instance,
                       std::string_view command);

}  // namespace setup
