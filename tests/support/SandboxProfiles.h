#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "platform/Profiles.h"
#include "support/SandboxFiles.h"

namespace setup {

// INI sections read from the sandbox's files, a line each as the profile functions give
// them: comments and blank lines left out, a carriage return dropped.
class SandboxProfiles : public Profiles {
 public:
  explicit SandboxProfiles(SandboxFiles& files) : files_(files) {}

  std::vector<std::string> Section(const std::string& path, const std::string& name) override {
    std::istringstream text(files_.FileBytes(path).value_or(""));
    std::vector<std::string> lines;
    bool inSection = false;
    for (std::string line; std::getline(text, line);) {
      if (line.ends_with('\r')) line.pop_back();
      if (line.starts_with('['))
        inSection = EqualIgnoringCase(line, '[' + name + ']');
      else if (inSection && !line.empty() && !line.starts_with(';'))
        lines.push_back(line);
    }
    return lines;
  }

 private:
  SandboxFiles& files_;
};

}  // namespace setup
