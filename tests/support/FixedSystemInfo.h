#pragma once

#include <string>

#include "platform/SystemInfo.h"

namespace setup {

// A Windows NT 4.0 installation with the program on the distribution medium in drive A and
// no CAPI DLL.
class FixedSystemInfo : public SystemInfo {
 public:
  std::string windowsDirectory = "C:\\WINNT";
  std::string modulePath = "A:\\SETUP.EXE";

  std::string WindowsDirectory() override { return windowsDirectory; }
  std::string SystemDirectory() override { return windowsDirectory + "\\system32"; }
  std::uint32_t PlatformId() override { return 2; }
  std::string ModulePath() override { return modulePath; }
  LocalDate Today() override { return {1997, 3, 14}; }
  void Sleep(std::uint32_t) override {}
  std::optional<CapiVersion> CapiDllVersion(const std::string&) override { return std::nullopt; }
};

}  // namespace setup
