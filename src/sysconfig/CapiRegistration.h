#pragma once

#include <cstdint>

#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// The Manufacturer value that marks a registration under SOFTWARE\CAPI20 as this driver's.
inline constexpr const char* kOwnManufacturer = "KVX Corvane GmbH";

// The number N under which this driver is registered (found = 1), or the number to register
// it under (found = 0): one above the highest numbered registration, so that no other
// maker's registration is ever written over, even one this user cannot open. 0 (found = 0)
// after [ERR_CFG_NOKEY] when SOFTWARE\CAPI20 cannot be listed whole: a number taken from
// part of the registrations could name one of the others, so nothing may be written then.
std::uint32_t FindCapiControllerNumber(Services& services, const ProgramState& state, int& found);

// 1 when SOFTWARE\CAPI20 has more than one subkey, this driver's own counted; 0 otherwise,
// after [ERR_CFG_NOKEY] when the key cannot be opened.
int CapiHasOtherControllers(Services& services, const ProgramState& state);

// Stores the script's [VERSION] number, creating the service's keys when they are missing.
void WriteScriptVersion(Services& services, const ProgramState& state, std::uint32_t version);

}  // namespace setup
