#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace setup {

// HKEY_LOCAL_MACHINE in memory, with the rules of Windows NT: key and value names ignore
// case, every open gives a handle of its own, only keys opened with all access change, and
// a key with subkeys is not deleted.
class MemoryRegistry : public Registry {
 public:
  struct Value {
    std::uint32_t type = 0;
    std::string bytes;
    bool operator==(const Value&) const = default;
  };

  // Every key is closed by the operation that opened it.
  ~MemoryRegistry() override;

  // Creates the key and every missing key above it.
  void AddKey(const std::string& path) { Walk(path, true); }
  // Opening (or creating) this key with all access then fails with 5, as for a user
  // without administrator rights; read access still works.
  void DenyAllAccess(const std::string& path) { nodes_[Walk(path, true)].denyAllAccess = true; }
  // Stores a value, creating its key; bytes as they lie in the registry.
  void PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                const std::string& bytes);
  // The n-th change from now (1 = the next CreateKey, SetValue, DeleteValue or DeleteKey)
  // fails with 5 and changes nothing, as when the machine refuses halfway.
  void FailChange(int n) { changesBeforeFailure_ = n; }

  bool HasKey(const std::string& path) const { return Find(path); }
  std::string ClassOf(const std::string& path) const { return Find(path)->keyClass; }
  std::optional<Value> ValueOf(const std::string& path, const std::string& name) const;

  std::int32_t OpenKey(const std::string& path, Access access, Key& key) override;
  std::int32_t CreateKey(const std::string& path, const std::string& keyClass, Key& key) override;
  void CloseKey(Key key) override;
  std::int32_t SetValue(Key key, const std::string& name, std::uint32_t type, const void* data,
                        std::uint32_t size) override;
  std::int32_t QueryValue(Key key, const std::string& name, std::uint32_t& type, void* data,
                          std::uint32_t& size) override;
  std::int32_t DeleteValue(Key key, const std::string& name) override;
  std::int32_t DeleteKey(const std::string& path) override;
  std::int32_t CountSubkeys(Key key, std::uint32_t& count) override;
  std::int32_t EnumSubkey(Key key, std::uint32_t index, std::string& name) override;

 private:
  struct Node {
    std::string name;  // as created
    std::string keyClass;
    bool denyAllAccess = false;
    std::map<std::string, Value> values;  // by folded name
  };
  struct Handle {
    std::string path;
    Access access;
  };
  // The folded path of `path`, its key made with every missing key above it when `make`.
  std::string Walk(const std::string& path, bool make = false) const;
  const Node* Find(const std::string& path) const;
  std::int32_t Resolve(Key key, bool change, Node*& node);
  std::vector<std::string> Subkeys(const std::string& folded) const;
  bool Refused() { return changesBeforeFailure_ > 0 && --changesBeforeFailure_ == 0; }

  mutable std::map<std::string, Node> nodes_{{"", Node{}}};  // by folded path
  std::map<Key, Handle> handles_;
  // Above 32 bits where the pointer is wide, so a handle squeezed into 32 bits names no key.
  Key nextHandle_ = ~Registry::Key{0} << 16;
  int changesBeforeFailure_ = 0;
};

}  // namespace setup
