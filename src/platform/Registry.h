#pragma once

#include <cstdint>
#include <string>

namespace setup {

// Keys below HKEY_LOCAL_MACHINE, named by their relative path. Results are Win32 status
// codes (0 success, 2 not found, 5 access denied, ...).
class Registry {
 public:
  using Key = std::uintptr_t;
  enum class Access { Read, All };
  static constexpr std::int32_t kSuccess = 0;
  static constexpr std::int32_t kNotFound = 2;
  static constexpr std::int32_t kAccessDenied = 5;
  static constexpr std::int32_t kMoreData = 234;
  static constexpr std::int32_t kNoMoreItems = 259;
  static constexpr std::int32_t kKeyDeleted = 1018;

  // Value types as Windows numbers them.
  static constexpr std::uint32_t kSz = 1, kExpandSz = 2, kBinary = 3, kDword = 4, kMultiSz = 7;

  virtual ~Registry() = default;

  virtual std::int32_t OpenKey(const std::string& path, Access access, Key& key) = 0;
  // Opens the key with all access, creating it and every missing key above it first; the
  // class string is given to the key named when this creates it, never to one that exists.
  virtual std::int32_t CreateKey(const std::string& path, const std::string& keyClass,
                                 Key& key) = 0;
  virtual void CloseKey(Key key) = 0;

  // Changing values needs a key opened with all access.
  virtual std::int32_t SetValue(Key key, const std::string& name, std::uint32_t type,
                                const void* data, std::uint32_t size) = 0;
  // Gives the stored type and size. With `data`, `size` is the buffer's capacity on entry:
  // a value that does not fit fails with kMoreData, setting `size` to what it needs, and
  // leaves the buffer's contents undefined.
  virtual std::int32_t QueryValue(Key key, const std::string& name, std::uint32_t& type, void* data,
                                  std::uint32_t& size) = 0;
  virtual std::int32_t DeleteValue(Key key, const std::string& name) = 0;
  // One key without subkeys; a key that still has one is refused with kAccessDenied, as on
  // Windows NT.
  virtual std::int32_t DeleteKey(const std::string& path) = 0;

  virtual std::int32_t CountSubkeys(Key key, std::uint32_t& count) = 0;
  // The name of subkey `index` (from 0, in the registry's order); kNoMoreItems past the last.
  virtual std::int32_t EnumSubkey(Key key, std::uint32_t index, std::string& name) = 0;
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

 protected:
  struct Created {};
  OpenKey(Registry& registry, const std::string& path, const std::string& keyClass, Created)
      : registry_(registry), status_(registry.CreateKey(path, keyClass, key_)) {}

 private:
  Registry& registry_;
  Registry::Key key_ = 0;
  std::int32_t status_;
};

// A key created (or opened) with all access, closed when it goes out of scope.
class CreatedKey : public OpenKey {
 public:
  CreatedKey(Registry& registry, const std::string& path, const std::string& keyClass = {})
      : OpenKey(registry, path, keyClass, Created{}) {}
};

}  // namespace setup
