#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace setup {

struct LocalDate {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;
};

// What CAPI_GET_VERSION of a CAPI 2.0 DLL reports through its four out-parameters.
struct CapiVersion {
  std::uint32_t capiMajor = 0;
  std::uint32_t capiMinor = 0;
  std::uint32_t manufacturerMajor = 0;
  std::uint32_t manufacturerMinor = 0;

  friend bool operator==(const CapiVersion&, const CapiVersion&) = default;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  // The platform identifier of GetVersionExA: 0 Win32s, 1 Windows 95 family, 2 Windows NT.
  virtual std::uint32_t PlatformId() = 0;
  // Full path of the running program file.
  virtual std::string ModulePath() = 0;
  // Today's local date.
  virtual LocalDate Today() = 0;
  // Waits without handling messages.
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Loads the DLL of that name where the system looks for DLLs, calls its CAPI_GET_VERSION
  // with every out-parameter preset to 0 and frees it again. Nothing when the DLL does not
  // load or has no such export.
  virtual std::optional<CapiVersion> CapiDllVersion(const std::string& dllName) = 0;
};

}  // namespace setup
