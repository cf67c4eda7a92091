#pragma once

#include "platform/SystemInfo.h"

namespace setup {

class Win32SystemInfo : public SystemInfo {
 public:
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::uint32_t PlatformId() override;
  std::string ModulePath() override;
  LocalDate Today() override;
  void Sleep(std::uint32_t milliseconds) override;
  std::optional<CapiVersion> CapiDllVersion(const std::string& dllName) override;
};

}  // namespace setup
