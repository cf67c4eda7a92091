#pragma once

#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Enters the group "CAPI20" just before "NDIS" in the service group order, unless it already
// stands before "NDIS"; a list without "NDIS" is left alone. Every other byte of the list
// stays as it was, empty names and what follows them included. Creates the key when missing.
// 1 when done or nothing was to do; 0 after a message when the key, the whole list or the
// write failed, or the list would grow past the 16384 bytes an edit reads.
int InsertGroupIntoServiceOrder(Services& services, const ProgramState& state);

// Takes the first "CAPI20" out of the service group order. 1 / 0 as above; a missing key is
// a failure here.
int RemoveGroupFromServiceOrder(Services& services, const ProgramState& state);

}  // namespace setup
