#pragma once

#include <string>
#include <vector>

namespace setup {

// INI files, read with the system's profile functions.
class Profiles {
 public:
  virtual ~Profiles() = default;

  // The "key=value" lines of one section in file order, as the system gives them (comments
  // left out); empty when the file or the section is not there.
  virtual std::vector<std::string> Section(const std::string& path, const std::string& name) = 0;
};

}  // namespace setup
