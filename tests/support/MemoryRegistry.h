#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/Registry.h"

namespace setup {

// HKEY_LOCAL_MACHINE in memory, with the rules of Windows NT: key names ignore case and
// every open gives a handle of its own.
class MemoryRegistry : public Registry {
 public:
  // What Windows says to a path that begins with a backslash.
  static constexpr std::int32_t kBadPathname = 161;

  MemoryRegistry();
  ~MemoryRegistry() override;

  // Creates the key and every missing key above it.
  void AddKey(const std::string& path);
  // Opening this key with all access then fails with 5, as for a user without
  // administrator rights; read access still works.
  void DenyAllAccess(const std::string& path);
  bool HasKey(const std::string& path) const;
  // Keys opened and not closed yet.
  int OpenHandles() const { return static_cast<int>(handles_.size()); }

  std::int32_t OpenKey(const std::string& path, Access access, Key& key) override;
  void CloseKey(Key key) override;

 private:
  struct Node;
  Node* Find(const std::string& path) const;

  std::unique_ptr<Node> root_;
  std::map<Key, Node*> handles_;
  Key nextHandle_;
};

}  // namespace setup
