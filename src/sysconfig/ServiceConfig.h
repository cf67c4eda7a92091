#pragma once

#include <cstdint>

#include "platform/Services.h"
#include "state/ConfigRecords.h"
#include "state/ProgramState.h"

namespace setup {

// Every field its default, for registration number n, then the script's maintenance
// defaults.
void InitServiceConfigDefaults(Services& services, const ProgramState& state, std::uint32_t n,
                               DriverServiceConfig& config);
// Takes over the script's [MAINTENANCE] section unless there is none or it is off.
void ApplyMaintenanceDefaults(Services& services, const ProgramState& state,
                              DriverServiceConfig& config);
void InitAdapterDefaults(AdapterConfig& adapter);
// The configuration a fresh install registers as number n: the defaults, each adapter's,
// and the image of the script's default protocol.
void InitFreshConfiguration(Services& services, ProgramState& state, std::uint32_t n);

// Write the configuration, creating the keys; 1 when all was written, 0 after the first
// failure has been reported. The service's writer also enters the service group order and
// the AutoExec.NT block. Neither deletes what an earlier configuration left.
int WriteServiceConfig(Services& services, const ProgramState& state, std::uint32_t n,
                       const DriverServiceConfig& config);
int WriteAdapterConfig(Services& services, const ProgramState& state, const AdapterConfig& adapter,
                       int index, int withSpid);

// Read the configuration back: within each key the reads stop at the first value missing or
// too long, which is reported (a SPID not), leaving the later fields as they were. 1 when
// read; 0 after a failure. The maintenance values never make it fail.
int ReadServiceConfig(Services& services, const ProgramState& state, DriverServiceConfig& config);
int ReadAdapterConfig(Services& services, const ProgramState& state, AdapterConfig& adapter,
                      int index, int withSpid);

// The adapter's key below Parameters: "Adapter01" to "Adapter04" for index 0 to 3.
std::string AdapterKeyPath(int index);

}  // namespace setup
