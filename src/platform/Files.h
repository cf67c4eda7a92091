#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setup {

// Windows file system, addressed by Windows paths (drive letters, backslashes,
// case-insensitive names).
class Files {
 public:
  using Handle = std::intptr_t;
  static constexpr Handle kInvalid = -1;
  enum class Origin { Begin, Current, End };

  virtual ~Files() = default;

  virtual Handle OpenRead(const std::string& path) = 0;
  // Opens an existing file for reading and writing at its start; never creates one, and
  // refuses a read-only file.
  virtual Handle OpenReadWrite(const std::string& path) = 0;
  // Creates or truncates a file for writing.
  virtual Handle Create(const std::string& path) = 0;
  // Returns the number of bytes read (0 at end of file) or -1 on error.
  virtual std::int32_t Read(Handle file, void* buffer, std::uint32_t count) = 0;
  virtual std::int32_t Write(Handle file, const void* buffer, std::uint32_t count) = 0;
  // Returns the new position or -1.
  virtual std::int32_t Seek(Handle file, std::int32_t offset, Origin origin) = 0;
  virtual void Close(Handle file) = 0;
  virtual bool Delete(const std::string& path) = 0;
  virtual std::string CurrentDirectory() = 0;
  // Makes `path` the current directory; false, with nothing changed, when it is no directory.
  // (Not called SetCurrentDirectory: <windows.h> makes that name a macro.)
  virtual bool ChangeDirectory(const std::string& path) = 0;

  // Attribute bits as Windows keeps them.
  static constexpr std::uint32_t kReadOnly = 0x01, kHidden = 0x02, kSystem = 0x04,
                                 kDirectory = 0x10, kArchive = 0x20, kNormal = 0x80;
  // The attributes of a file or directory; nothing when there is none by that path.
  virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
  // kNormal alone clears the others.
  virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // The last-write time as a file time: 100 ns units since 1601, in UTC.
  virtual std::optional<std::uint64_t> LastWriteTime(const std::string& path) = 0;
  // Copies contents and last-write time, replacing an existing target.
  virtual bool Copy(const std::string& source, const std::string& target) = 0;
  // Renames a file, replacing an existing target; both lie on one drive.
  virtual bool Replace(const std::string& source, const std::string& target) = 0;
  // Creates an empty file under a name that no file in `directory` has, and gives its path;
  // nothing when it cannot, also when `directory` is longer than kTemporaryDirectoryMax
  // characters (Windows' limit, so that the name fits a path).
  static constexpr std::size_t kTemporaryDirectoryMax = 246;
  virtual std::optional<std::string> CreateTemporaryFile(const std::string& directory) = 0;
  // One directory whose parent exists.
  virtual bool MakeDirectory(const std::string& path) = 0;
  // An empty directory.
  virtual bool DeleteDirectory(const std::string& path) = 0;
  // Whether two paths name one existing file, by whatever route each takes there.
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;
  // The names of the directories in `path`, in no particular order, as a user is shown them:
  // without "." and "..", hidden and system ones left out. Empty when `path` is no directory.
  virtual std::vector<std::string> Subdirectories(const std::string& path) = 0;
  // The letters of the drives there are, upper case, in order.
  virtual std::string DriveLetters() = 0;
};

inline bool IsDirectory(Files& files, const std::string& path) {
  const std::optional<std::uint32_t> attributes = files.Attributes(path);
  return attributes && (*attributes & Files::kDirectory) != 0;
}

// Closes its file when it goes out of scope.
class OpenFile {
 public:
  OpenFile(Files& files, Files::Handle handle) : files_(&files), handle_(handle) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  OpenFile(OpenFile&& other) noexcept : files_(other.files_), handle_(other.handle_) {
    other.handle_ = Files::kInvalid;
  }
  ~OpenFile() {
    if (valid()) files_->Close(handle_);
  }

  bool valid() const { return handle_ != Files::kInvalid; }
  Files::Handle handle() const { return handle_; }
  Files& files() const { return *files_; }

 private:
  Files* files_;
  Files::Handle handle_;
};

inline OpenFile OpenForReading(Files& files, const std::string& path) {
  return OpenFile(files, files.OpenRead(path));
}

}  // namespace setup
