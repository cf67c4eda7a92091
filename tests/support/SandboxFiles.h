#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

namespace setup {

// A Windows file system in memory: paths are absolute with backslashes, names match without
// regard to case, and open files share reading and writing but not deletion, as on Windows.
class SandboxFiles : public Files {
 public:
  SandboxFiles() { entries_["C:"] = {true, "C:", {}, kNormal, 0}; }

  // Writes a file with exactly these bytes, making its folders as needed.
  void PutFile(const std::string& path, std::string_view bytes);
  // The bytes of a file, or nothing when it does not exist.
  std::optional<std::string> FileBytes(const std::string& path) const;
  void MakeDirectories(const std::string& path);
  // Dates a file or directory, as a file time.
  void SetLastWriteTime(const std::string& path, std::uint64_t fileTime) {
    entries_.at(Key(path).value()).time = fileTime;
  }
  // Makes every later write to this file fail, storing nothing, as on a full disk.
  void FailWrites(const std::string& path) { failingWrites_.insert(Key(path).value()); }
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
  void Close(Handle file) override { open_.erase(file); }
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
  std::vector<std::string> Subdirectories(const std::string& path) override;
  // The drives a path was put on, and C.
  std::string DriveLetters() override;

 private:
  struct Entry {
    bool directory = false;
    std::string name;  // as created
    std::string bytes;
    std::uint32_t attributes = kNormal;  // of a file: read-only and hidden bits
    std::uint64_t time = 0;
  };
  struct Open {
    std::string key;
    std::uint32_t position = 0;
  };

  // "C:\a\B" as "C:\A\B" with each name folded; nothing for relative and network paths,
  // which the program never uses. Doubled backslashes name no empty folder, as on Windows.
  static std::optional<std::string> Key(const std::string& path);
  static std::string Parent(const std::string& key) { return key.substr(0, key.rfind('\\')); }
  Entry* Find(const std::optional<std::string>& key, bool directory);
  // A regular file that is not read-only and not open, when `closed`.
  Entry* Writable(const std::optional<std::string>& key, bool closed = false);
  // Where a new file or directory may be made: its parent is a directory, it is none.
  std::optional<std::string> NewEntry(const std::string& path);
  bool IsOpen(const std::string& key) const;
  Handle Register(const std::string& key);

  std::map<std::string, Entry> entries_;
  std::string currentDirectory_ = "C:\\";
  std::map<Handle, Open> open_;
  Handle nextHandle_ = 0x100;
  std::vector<std::string> openedPaths_;
  std::set<std::string> failingWrites_;
};

}  // namespace setup
