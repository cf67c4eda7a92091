#pragma once

#include "platform/LogWriter.h"
#include "platform/Profiles.h"

namespace setup {

class Win32Profiles : public Profiles {
 public:
  std::vector<std::string> Section(const std::string& path, const std::string& name) override;
};

class Win32LogWriter : public LogWriter {
 public:
  bool Append(const std::string& path, std::string_view line) override;
};

}  // namespace setup
