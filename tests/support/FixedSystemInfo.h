#pragma once

#include <vector>

#include "platform/SystemInfo.h"

namespace setup {

// What the system reports, as the test sets it; by default a Windows NT 4.0 installation
// with the program on the distribution medium in drive A.
class FixedSystemInfo : public SystemInfo {
 public:
  std::string windowsDirectory = "C:\\WINNT";
  std::string systemDirectory = "C:\\WINNT\\system32";
  std::uint32_t platformId = 2;
  std::string modulePath = "A:\\SETUP.EXE";
  LocalDate today{1997, 3, 14};
  // Every wait asked for, in order; none is waited.
  std::vector<std::uint32_t> sleeps;

  std::string WindowsDirectory() override { return windowsDirectory; }
  std::string SystemDirectory() override { return systemDirectory; }
  std::uint32_t PlatformId() override { return platformId; }
  std::string ModulePath() override { return modulePath; }
  LocalDate Today() override { return today; }
  void Sleep(std::uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
};

}  // namespace setup
