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
  MemoryRegistry();
  ~MemoryRegistry() override;

  // Creates the key and every missing key above it.
  void AddKey(const std::string& path);
  // Opening this key with all access then fails with 5, as for a user without
  // administrator rights; read access still works.
  void DenyAllAccess(const std::string& path);

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
