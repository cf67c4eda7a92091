#pragma once

#include <cstdint>
#include <string>

namespace setup {

struct LocalDate {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;
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
};

}  // namespace setup
