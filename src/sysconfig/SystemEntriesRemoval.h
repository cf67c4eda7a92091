#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Takes x31Layer2 and the Maintenance key away before the service configuration is written
// again; reports a missing Parameters key with the service key's path and does nothing else.
// False after a failure, each reported.
bool ClearOptionalServiceEntries(Services& services, const ProgramState& state);

// Deletes the keys of adapters 1 to 4 in both trees, missing ones included; nothing when the
// registrations cannot be searched. False after a failure, each reported.
bool DeleteAdapterKeys(Services& services, const ProgramState& state);

// Deletes one key without subkeys. The Win32 status: 0 deleted, 2 when it was missing, any
// other failed. A key the removal log lists is handled without a message; any other
// missing or undeletable key is reported with its path.
std::int32_t DeleteKeyForRemoval(Services& services, const ProgramState& state,
                                 std::string_view path);

// Takes every registry key of the driver away, with the AutoExec.NT block and, when no other
// maker is registered, the service group entry, logging each key it deletes. A run that an
// earlier, interrupted one left halfway finishes what is left, and a damaged configuration
// does not stop it. 1 when done (also when only the last log line failed); 0 when stopped at
// a failure, or when the keys are gone but the AutoExec.NT block could not be taken out.
int RemoveSystemEntries(Services& services, const ProgramState& state);

}  // namespace setup
