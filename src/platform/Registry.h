#pragma once

#include <cstdint>
#include <string>

namespace setup {

// Keys below HKEY_LOCAL_MACHINE, named by their relative path. Results are Win32 status
// codes (0 success, 2 not found, 5 access denied).
class Registry {
 public:
  using Key = std::uintptr_t;
  enum class Access { Read, All };
  static constexpr std::int32_t kSuccess = 0;
  static constexpr std::int32_t kNotFound = 2;
  static constexpr std::int32_t kAccessDenied = 5;

  virtual ~Registry() = default;

  virtual std::int32_t OpenKey(const std::string& path, Access access, Key& key) = 0;
  virtual void CloseKey(Key key) = 0;
};

// Closes its key when it goes out of scope.
class OpenKey {
 public:
  OpenKey(Registry& registry, const std::string& path, Registry::Access access)
      : registry_(registry), status_(registry.OpenKey(path, access, key_)) {}
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (ok()) registry_.CloseKey(key_);
  }

  bool ok() const { return status_ == Registry::kSuccess; }
  std::int32_t status() const { return status_; }
  Registry::Key key() const { return key_; }

 private:
  Registry& registry_;
  Registry::Key key_ = 0;
  std::int32_t status_;
};

}  // namespace setup
