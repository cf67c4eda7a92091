#pragma once

#include <cstdint>
#include <string>

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
};

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
