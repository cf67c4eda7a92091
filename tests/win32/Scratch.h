#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace setup {

// A fresh folder under the Windows temporary directory, emptied and removed afterwards, also
// of the read-only files a test leaves behind.
class ScratchFolder {
 public:
  explicit ScratchFolder(const char* purpose);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A file or folder that the build puts beside this test program.
std::string BesideThisProgram(const char* name);

// Dates a file, as a file time.
bool SetLastWriteTime(const std::string& path, std::uint64_t fileTime);

}  // namespace setup
