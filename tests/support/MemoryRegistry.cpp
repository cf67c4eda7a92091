#include "support/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "script/CaseFold.h"

namespace setup {
namespace {

std::string Folded(std::string name) {
  for (char& c : name) c = FoldCase(c);
  return name;
}

}  // namespace

struct MemoryRegistry::Node {
  std::string name;  // as created
  std::string keyClass;
  bool denyAllAccess = false;
  Node* parent = nullptr;
  std::map<std::string, std::unique_ptr<Node>> subkeys;  // by folded name
  std::map<std::string, Value> values;                   // by folded name
};

// Handles start above 32 bits where the pointer is wide, so a handle squeezed into 32 bits
// names no key.
MemoryRegistry::MemoryRegistry()
    : root_(std::make_unique<Node>()), nextHandle_(~Registry::Key{0} << 16) {}

// Every key is closed by the operation that opened it.
MemoryRegistry::~MemoryRegistry() {
  if (!handles_.empty()) ADD_FAILURE() << handles_.size() << " registry key(s) left open";
}

// Walks `path`, making what is missing when `make`. As on Windows, doubled and trailing
// backslashes name no empty key.
MemoryRegistry::Node* MemoryRegistry::Walk(const std::string& path, bool make) const {
  Node* node = root_.get();
  std::size_t start = 0;
  while (start < path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    const std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    auto it = node->subkeys.find(Folded(part));
    if (it == node->subkeys.end() && !make) return nullptr;
    if (it == node->subkeys.end())
      it = node->subkeys.emplace(Folded(part), new Node{part, {}, false, node, {}, {}}).first;
    node = it->second.get();
  }
  return node;
}

void MemoryRegistry::DenyAllAccess(const std::string& path) {
  Walk(path, true)->denyAllAccess = true;
}

void MemoryRegistry::PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                              const std::string& bytes) {
  Walk(path, true)->values[Folded(name)] = Value{type, bytes};
}

std::string MemoryRegistry::ClassOf(const std::string& path) const {
  const Node* node = Walk(path);
  return node ? node->keyClass : std::string();
}

std::optional<MemoryRegistry::Value> MemoryRegistry::ValueOf(const std::string& path,
                                                             const std::string& name) const {
  const Node* node = Walk(path);
  if (!node || !node->values.count(Folded(name))) return std::nullopt;
  return node->values.at(Folded(name));
}

Registry::Key MemoryRegistry::Issue(Node* node, Access access) {
  const Key key = nextHandle_;
  nextHandle_ += 4;
  handles_[key] = {node, access};
  return key;
}

// The handle's key, or the status that refuses the operation.
std::int32_t MemoryRegistry::Resolve(Key key, bool change, Node*& node) {
  const Handle& handle = handles_.at(key);
  if (!handle.node) return kKeyDeleted;
  if (change && handle.access != Access::All) return kAccessDenied;
  node = handle.node;
  return kSuccess;
}

bool MemoryRegistry::Refused() {
  return changesBeforeFailure_ > 0 && --changesBeforeFailure_ == 0;
}

std::int32_t MemoryRegistry::OpenKey(const std::string& path, Access access, Key& key) {
  Node* node = Walk(path);
  if (!node) return kNotFound;
  if (access == Access::All && node->denyAllAccess) return kAccessDenied;
  key = Issue(node, access);
  return kSuccess;
}

// Windows NT keeps the class of a key that exists.
std::int32_t MemoryRegistry::CreateKey(const std::string& path, const std::string& keyClass,
                                       Key& key) {
  if (Refused()) return kAccessDenied;
  if (!Walk(path)) Walk(path, true)->keyClass = keyClass;
  Node* node = Walk(path);
  if (node->denyAllAccess) return kAccessDenied;
  key = Issue(node, Access::All);
  return kSuccess;
}

void MemoryRegistry::CloseKey(Key key) {
  EXPECT_EQ(handles_.erase(key), 1u) << "closing a registry key that is not open";
}

std::int32_t MemoryRegistry::SetValue(Key key, const std::string& name, std::uint32_t type,
                                      const void* data, std::uint32_t size) {
  Node* node = nullptr;
  if (const std::int32_t status = Resolve(key, true, node)) return status;
  if (Refused()) return kAccessDenied;
  node->values[Folded(name)] = Value{type, std::string(static_cast<const char*>(data), size)};
  return kSuccess;
}

std::int32_t MemoryRegistry::QueryValue(Key key, const std::string& name, std::uint32_t& type,
                                        void* data, std::uint32_t& size) {
  Node* node = nullptr;
  if (const std::int32_t status = Resolve(key, false, node)) return status;
  const auto it = node->values.find(Folded(name));
  if (it == node->values.end()) return kNotFound;
  const std::uint32_t stored = static_cast<std::uint32_t>(it->second.bytes.size());
  const bool fits = size >= stored;
  type = it->second.type;
  if (fits && data) std::memcpy(data, it->second.bytes.data(), stored);
  size = stored;
  return fits || !data ? kSuccess : kMoreData;
}

std::int32_t MemoryRegistry::DeleteValue(Key key, const std::string& name) {
  Node* node = nullptr;
  if (const std::int32_t status = Resolve(key, true, node)) return status;
  if (Refused()) return kAccessDenied;
  return node->values.erase(Folded(name)) ? kSuccess : kNotFound;
}

std::int32_t MemoryRegistry::DeleteKey(const std::string& path) {
  if (Refused()) return kAccessDenied;
  Node* node = Walk(path);
  if (!node) return kNotFound;
  if (!node->parent || !node->subkeys.empty() || node->denyAllAccess) return kAccessDenied;
  for (auto& [key, handle] : handles_)
    if (handle.node == node) handle.node = nullptr;
  node->parent->subkeys.erase(Folded(node->name));
  return kSuccess;
}

std::int32_t MemoryRegistry::CountSubkeys(Key key, std::uint32_t& count) {
  Node* node = nullptr;
  if (const std::int32_t status = Resolve(key, false, node)) return status;
  count = static_cast<std::uint32_t>(node->subkeys.size());
  return kSuccess;
}

std::int32_t MemoryRegistry::EnumSubkey(Key key, std::uint32_t index, std::string& name) {
  Node* node = nullptr;
  if (const std::int32_t status = Resolve(key, false, node)) return status;
  if (index >= node->subkeys.size()) return kNoMoreItems;
  name = std::next(node->subkeys.begin(), index)->second->name;
  return kSuccess;
}

}  // namespace setup
