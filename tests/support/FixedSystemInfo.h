#pragma once

#include <map>
#include <string>

#include "platform/SystemInfo.h"
#include "script/CaseFold.h"

namespace setup {

// What the system reports, as the test sets it; by default a Windows NT 4.0 installation
// with the program on the distribution medium in drive A.
class FixedSystemInfo : public SystemInfo {
 public:
  std::string windowsDirectory = "C:\\WINNT";
  std::string modulePath = "A:\\SETUP.EXE";
  // The CAPI DLLs that load and answer, by name; any other name loads nothing.
  std::map<std::string, CapiVersion> capiDlls;

  std::string WindowsDirectory() override { return windowsDirectory; }
  std::string SystemDirectory() override { return windowsDirectory + "\\system32"; }
  std::uint32_t PlatformId() override { return 2; }
  std::string ModulePath() override { return modulePath; }
  LocalDate Today() override { return {1997, 3, 14}; }
  void Sleep(std::uint32_t) override {}
  std::optional<CapiVersion> CapiDllVersion(const std::string& dllName) override {
    for (const auto& [name, version] : capiDlls)
      if (EqualIgnoringCase(name, dllName)) return version;
    return std::nullopt;
  }
};

}  // namespace setup
