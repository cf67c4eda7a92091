#pragma once

#include <string>
#include <string_view>

namespace setup {

// A text file that only ever grows: each line goes to its end, stamped with the local time.
class LogWriter {
 public:
  virtual ~LogWriter() = default;

  // Creates the file when it is not there; false, with nothing written, when it cannot be
  // opened or written to.
  virtual bool Append(const std::string& path, std::string_view line) = 0;
};

}  // namespace setup
