#pragma once

#include <string>

namespace setup {

// Expands files compressed in the SZDD format (method 'A'); a file without the SZDD mark is
// copied unchanged, one with another method is not expanded at all.
class Expander {
 public:
  enum class Result {
    Done,               // the whole file was written
    SourceUnreadable,   // the source could not be opened
    TargetUncreatable,  // the target could not be created
    Failed,             // reading, decoding or writing stopped short
  };

  virtual ~Expander() = default;

  // Writes the expanded `source` to `target`, creating or truncating it. After anything but
  // Done the target may hold a part of the file.
  virtual Result Expand(const std::string& source, const std::string& target) = 0;
};

}  // namespace setup
