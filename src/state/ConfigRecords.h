#pragma once

#include <array>
#include <cstdint>

#include "platform/FixedText.h"
#include "script/Protocols.h"

namespace setup {

inline constexpr std::size_t kMaxAdapters = 4;
// The maintenance Controller that means remote maintenance is not switched on.
inline constexpr std::uint32_t kMaintenanceNotOn = 0xFFFF;

// The driver's service, parameters, maintenance settings and CAPI 2.0 registration.
struct DriverServiceConfig {
  FixedText<64> DisplayName;
  std::uint32_t ErrorControl = 0;
  FixedText<16> Group;
  PathText ImagePath;
  std::uint32_t Start = 0;
  std::uint32_t Type = 0;
  std::uint32_t DataIoMode = 0;
  std::uint32_t DeliveryConf = 0;
  FixedText<16> DeviceName;
  std::uint32_t DosVector = 0;
  std::uint32_t Point2Point = 0;
  std::uint32_t Test = 0;
  std::uint32_t x31Layer2 = 0;
  FixedText<32> Manufacturer;
  std::uint32_t NumberOfControllers = 0;
  std::uint32_t MaintenanceMode = 0;  // not stored: nonzero writes the Maintenance key
  std::uint32_t cipValue = 0;
  std::uint32_t Controller = 0;
  MaintenanceText username;
  MaintenanceText password;
  std::uint32_t CdpnCount = 0;
  std::array<PartyNumber, kMaxCdpn> Cdpn{};
  std::uint32_t CgpnCount = 0;
  std::array<PartyNumber, kMaxCgpn> Cgpn{};

  bool operator==(const DriverServiceConfig&) const = default;
};

// One adapter; the first NumberOfControllers of the four are in use.
struct AdapterConfig {
  std::uint32_t Channels = 0;
  std::uint32_t BaseAddress = 0;
  std::uint32_t Interrupt = 0;
  FixedText<16> SPID;

  bool operator==(const AdapterConfig&) const = default;
};

using AdapterTable = std::array<AdapterConfig, kMaxAdapters>;

}  // namespace setup
