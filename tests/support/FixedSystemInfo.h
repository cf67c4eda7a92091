#pragma once

#include <map>
#include <vector>

#include "platform/SystemInfo.h"
#include "script/CaseFold.h"

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
  // The CAPI DLLs that load and answer, by name; any other name loads nothing.
  std::map<std::string, CapiVersion> capiDlls;
  // Every name asked about, in order.
  std::vector<std::string> capiQueries;

  std::string WindowsDirectory() override { return windowsDirectory; }
  std::string SystemDirectory() override { return systemDirectory; }
  std::uint32_t PlatformId() override { return platformId; }
  std::string ModulePath() override { return modulePath; }
  LocalDate Today() override { return today; }
  void Sleep(std::uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
  std::optional<CapiVersion> CapiDllVersion(const std::string& dllName) override {
    capiQueries.push_back(dllName);
    for (const auto& [name, version] : capiDlls)
      if (EqualIgnoringCase(name, dllName)) return version;
    return std::nullopt;
  }
};

}  // namespace setup
