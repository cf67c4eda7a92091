#pragma once

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

namespace setup {

// A Windows file system inside a temporary host folder: each drive letter is a subfolder,
// paths use backslashes and names match without regard to case, as on Windows. Everything
// is removed when the sandbox goes away.
class SandboxFiles : public Files {
 public:
  SandboxFiles();
  ~SandboxFiles() override;
  SandboxFiles(const SandboxFiles&) = delete;
  SandboxFiles& operator=(const SandboxFiles&) = delete;

  // Writes a file with exactly these bytes, making its folders as needed.
  void PutFile(const std::string& path, std::string_view bytes);
  // The bytes of a file, or nothing when it does not exist.
  std::optional<std::string> FileBytes(const std::string& path) const;
  void MakeDirectories(const std::string& path);
  // Dates a file or directory, as a file time.
  void SetLastWriteTime(const std::string& path, std::uint64_t fileTime);
  // Makes every later write to this file fail, storing nothing, as on a full disk.
  void FailWrites(const std::string& path) { failingWrites_.insert(HostPath(path).value()); }
  // How many files are open now.
  std::size_t openFiles() const { return open_.size(); }
  // Every path given to OpenRead, as given.
  const std::vector<std::string>& openedPaths() const { return openedPaths_; }

  Handle OpenRead(const std::string& path) override;
  Handle OpenReadWrite(const std::string& path) override;
  Handle Create(const std::string& path) override;
  std::int32_t Read(Handle file, void* buffer, std::uint32_t count) override;
  std::int32_t Write(Handle file, const void* buffer, std::uint32_t count) override;
  std::int32_t Seek(Handle file, std::int32_t offset, Origin origin) override;
  void Close(Handle file) override;
  bool Delete(const std::string& path) override;
  // The starting current directory is "C:\".
  std::string CurrentDirectory() override { return currentDirectory_; }
  bool ChangeDirectory(const std::string& path) override;
  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  std::optional<std::uint64_t> LastWriteTime(const std::string& path) override;
  bool Copy(const std::string& source, const std::string& target) override;
  bool Replace(const std::string& source, const std::string& target) override;
  bool MakeDirectory(const std::string& path) override;
  bool DeleteDirectory(const std::string& path) override;
  bool SameFile(const std::string& a, const std::string& b) override;
  // Hidden directories are not modelled: SetAttributes takes files only.
  std::vector<std::string> Subdirectories(const std::string& path) override;
  // The drives a path was put on, and C.
  std::string DriveLetters() override;

 private:
  struct Open {
    std::FILE* stream;
    std::filesystem::path hostPath;
    bool writing;  // C streams need a seek between a write and a read
  };

  // Where an absolute Windows path lies on the host, matching names without regard to case;
  // nothing for relative and network paths, which the program never uses.
  std::optional<std::filesystem::path> HostPath(const std::string& path) const;
  bool IsOpen(const std::filesystem::path& host) const;
  // A regular file that is not read-only.
  bool Writable(const std::filesystem::path& host) const;
  // Where a new file or directory may be made: its parent is a directory.
  std::optional<std::filesystem::path> NewEntry(const std::string& path) const;
  Handle Register(std::FILE* stream, const std::filesystem::path& hostPath);

  std::filesystem::path root_;
  std::string currentDirectory_ = "C:\\";
  std::map<Handle, Open> open_;
  Handle nextHandle_ = 0x100;
  std::vector<std::string> openedPaths_;
  // Read-only and hidden bits; root ignores permission bits. Files absent are normal.
  std::map<std::filesystem::path, std::uint32_t> attributes_;
  std::set<std::filesystem::path> failingWrites_;
};

}  // namespace setup
