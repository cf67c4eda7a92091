#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "script/CaseFold.h"

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

  ~MemoryRegistry() override {
    if (!handles_.empty()) ADD_FAILURE() << handles_.size() << " registry key(s) left open";
  }

  void AddKey(const std::string& path) { Walk(path, true); }
  // Opening (or creating) this key with all access then fails with 5, as for a user
  // without administrator rights; read access still works.
  void DenyAllAccess(const std::string& path) { nodes_[Walk(path, true)].denyAllAccess = true; }
  void PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                const std::string& bytes) {
    nodes_[Walk(path, true)].values[Folded(name)] = Value{type, bytes};
  }
  // The n-th change from now (1 = the next CreateKey, SetValue, DeleteValue or DeleteKey)
  // fails with 5 and changes nothing, as when the machine refuses halfway.
  void FailChange(int n) { changesBeforeFailure_ = n; }
  // Likewise the n-th CountSubkeys or EnumSubkey from now.
  void FailListing(int n) { listingsBeforeFailure_ = n; }
  // Likewise the n-th read from now: an OpenKey for reading, QueryValue or a listing.
  void FailRead(int n) { readsBeforeFailure_ = n; }
  int readsTried = 0;
  // CreateKey, SetValue, DeleteValue and DeleteKey calls so far; the one (or the read) refused.
  int changesTried = 0;
  std::string refusedChange;
  std::map<std::string, std::map<std::string, Value>> Contents() const {
    std::map<std::string, std::map<std::string, Value>> contents;
    for (const auto& [path, node] : nodes_) contents[path] = node.values;
    return contents;
  }

  bool HasKey(const std::string& path) const { return nodes_.count(Walk(path)); }
  std::string ClassOf(const std::string& path) const { return nodes_.at(Walk(path)).keyClass; }
  std::optional<Value> ValueOf(const std::string& path, const std::string& name) const {
    const auto node = nodes_.find(Walk(path));
    if (node == nodes_.end() || !node->second.values.count(Folded(name))) return std::nullopt;
    return node->second.values.at(Folded(name));
  }

  std::int32_t OpenKey(const std::string& path, Access access, Key& key) override {
    if (access != Access::All && ReadRefused("open " + path)) return kAccessDenied;
    const auto node = nodes_.find(Walk(path));
    if (node == nodes_.end()) return kNotFound;
    if (access == Access::All && node->second.denyAllAccess) return kAccessDenied;
    handles_[key = nextHandle_] = {node->first, access};
    nextHandle_ += 4;
    return kSuccess;
  }
  // Windows NT keeps the class of a key that exists.
  std::int32_t CreateKey(const std::string& path, const std::string& keyClass, Key& key) override {
    if (Refused("create " + path)) return kAccessDenied;
    if (!HasKey(path)) nodes_[Walk(path, true)].keyClass = keyClass;
    return OpenKey(path, Access::All, key);
  }
  void CloseKey(Key key) override {
    EXPECT_EQ(handles_.erase(key), 1u) << "closing a registry key that is not open";
  }
  std::int32_t SetValue(Key key, const std::string& name, std::uint32_t type, const void* data,
                        std::uint32_t size) override {
    Node* node = nullptr;
    if (const std::int32_t status = Resolve(key, true, node)) return status;
    if (Refused("set " + handles_.at(key).path + " " + name)) return kAccessDenied;
    node->values[Folded(name)] = Value{type, std::string(static_cast<const char*>(data), size)};
    return kSuccess;
  }
  std::int32_t QueryValue(Key key, const std::string& name, std::uint32_t& type, void* data,
                          std::uint32_t& size) override {
    Node* node = nullptr;
    if (ReadRefused("query " + handles_.at(key).path + " " + name)) return kAccessDenied;
    if (const std::int32_t status = Resolve(key, false, node)) return status;
    const auto it = node->values.find(Folded(name));
    if (it == node->values.end()) return kNotFound;
    const bool fits = size >= it->second.bytes.size();
    if (fits && data) std::memcpy(data, it->second.bytes.data(), it->second.bytes.size());
    type = it->second.type;
    size = static_cast<std::uint32_t>(it->second.bytes.size());
    return fits || !data ? kSuccess : kMoreData;
  }
  std::int32_t DeleteValue(Key key, const std::string& name) override {
    Node* node = nullptr;
    if (const std::int32_t status = Resolve(key, true, node)) return status;
    if (Refused("delete " + handles_.at(key).path + " " + name)) return kAccessDenied;
    return node->values.erase(Folded(name)) ? kSuccess : kNotFound;
  }
  std::int32_t DeleteKey(const std::string& path) override {
    if (Refused("delete " + path)) return kAccessDenied;
    const std::string folded = Walk(path);
    if (!nodes_.count(folded)) return kNotFound;
    if (folded.empty() || !Subkeys(folded).empty() || nodes_[folded].denyAllAccess)
      return kAccessDenied;
    nodes_.erase(folded);
    return kSuccess;
  }
  std::int32_t CountSubkeys(Key key, std::uint32_t& count) override {
    if (ReadRefused("count " + handles_.at(key).path) || Due(listingsBeforeFailure_))
      return kAccessDenied;
    count = static_cast<std::uint32_t>(Subkeys(handles_.at(key).path).size());
    return kSuccess;
  }
  std::int32_t EnumSubkey(Key key, std::uint32_t index, std::string& name) override {
    if (ReadRefused("list " + handles_.at(key).path) || Due(listingsBeforeFailure_))
      return kAccessDenied;
    const std::vector<std::string> names = Subkeys(handles_.at(key).path);
    if (index >= names.size()) return kNoMoreItems;
    name = names[index];
    return kSuccess;
  }

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

  static std::string Folded(std::string name) {
    for (char& c : name) c = FoldCase(c);
    return name;
  }
  // The folded path, its key made with every missing key above it when `make`. As on
  // Windows, doubled and trailing backslashes name no empty key.
  std::string Walk(const std::string& path, bool make = false) const {
    std::string folded;
    for (std::size_t start = 0, end; start < path.size(); start = end + 1) {
      end = std::min(path.find('\\', start), path.size());
      if (end == start) continue;
      if (!folded.empty()) folded += '\\';
      folded += Folded(path.substr(start, end - start));
      if (make) nodes_.try_emplace(folded, Node{path.substr(start, end - start), {}, false, {}});
    }
    return folded;
  }
  std::vector<std::string> Subkeys(const std::string& folded) const {
    std::vector<std::string> names;
    for (const auto& [path, node] : nodes_) {
      const std::size_t end = path.rfind('\\');
      if (!path.empty() && path.substr(0, end == std::string::npos ? 0 : end) == folded)
        names.push_back(node.name);
    }
    return names;
  }
  // The handle's key, or the status that refuses the operation; a deleted key's path is gone.
  std::int32_t Resolve(Key key, bool change, Node*& node) {
    const Handle& handle = handles_.at(key);
    const auto found = nodes_.find(handle.path);
    if (found == nodes_.end()) return kKeyDeleted;
    if (change && handle.access != Access::All) return kAccessDenied;
    node = &found->second;
    return kSuccess;
  }
  static bool Due(int& before) { return before > 0 && --before == 0; }
  bool ReadRefused(const std::string& r) { return Refuses(readsTried, readsBeforeFailure_, r); }
  bool Refused(const std::string& c) { return Refuses(changesTried, changesBeforeFailure_, c); }
  bool Refuses(int& tried, int& before, const std::string& what) {
    ++tried;
    const bool refused = Due(before);
    if (refused) refusedChange = what;
    return refused;
  }

  mutable std::map<std::string, Node> nodes_{{"", Node{}}};  // by folded path
  std::map<Key, Handle> handles_;
  // Above 32 bits where the pointer is wide, so a handle squeezed into 32 bits names no key.
  Key nextHandle_ = ~Registry::Key{0} << 16;
  int changesBeforeFailure_ = 0;
  int listingsBeforeFailure_ = 0;
  int readsBeforeFailure_ = 0;
};

}  // namespace setup
