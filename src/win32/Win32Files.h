#pragma once

#include "platform/Files.h"

namespace setup {

// The Windows file system through kernel32; a Handle is the HANDLE itself, at full width.
class Win32Files : public Files {
 public:
  Handle OpenRead(const std::string& path) override;
  Handle OpenReadWrite(const std::string& path) override;
  Handle Create(const std::string& path) override;
  std::int32_t Read(Handle file, void* buffer, std::uint32_t count) override;
  std::int32_t Write(Handle file, const void* buffer, std::uint32_t count) override;
  std::int32_t Seek(Handle file, std::int32_t offset, Origin origin) override;
  void Close(Handle file) override;
  bool Delete(const std::string& path) override;
  std::string CurrentDirectory() override;
  bool ChangeDirectory(const std::string& path) override;
  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  std::optional<std::uint64_t> LastWriteTime(const std::string& path) override;
  bool Copy(const std::string& source, const std::string& target) override;
  bool Replace(const std::string& source, const std::string& target) override;
  std::optional<std::string> CreateTemporaryFile(const std::string& directory) override;
  bool MakeDirectory(const std::string& path) override;
  bool DeleteDirectory(const std::string& path) override;
  bool SameFile(const std::string& a, const std::string& b) override;
  std::vector<std::string> Subdirectories(const std::string& path) override;
  std::string DriveLetters() override;
};

}  // namespace setup
