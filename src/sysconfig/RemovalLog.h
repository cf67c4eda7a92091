#pragma once

#include <string_view>

#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// "removed.kvx" in SourceDir: every object a deinstallation removed, one line each, so that a
// later run knows what is gone already.

// Appends the object as a line, creating the log (hidden, with its header) first when there
// is none. 1 on success; 0 when the log's path does not fit, or the log could not be created
// and the user gave up.
int LogRemovedObject(Services& services, const ProgramState& state, std::string_view object);
// 1 when a whole line of the log equals the object, ignoring case; 0 otherwise or without log.
int IsLoggedAsRemoved(Services& services, const ProgramState& state, std::string_view object);
// Deletes the log in `directory`, read-only or hidden as it may be; silent when there is none.
// Whether no log is left.
bool DeleteRemovalLog(Services& services, std::string_view directory);

}  // namespace setup
