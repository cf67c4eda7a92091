#include "support/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "script/CaseFold.h"

namespace setup {
namespace {

std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) c = FoldCase(c);
  return folded;
}

// The names of a relative key path. As on Windows, a trailing backslash and doubled ones
// name no empty key.
std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  while (start < path.size()) {
    std::string::size_type end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace

struct MemoryRegistry::Node {
  std::string name;  // as created
  std::string keyClass;
  bool denyAllAccess = false;
  std::map<std::string, std::unique_ptr<Node>> subkeys;         // by folded name
  std::map<std::string, std::pair<std::string, Value>> values;  // by folded name: name, value
};

// Handles start above 32 bits where the pointer is wide, so a handle squeezed into 32 bits
// names no key.
MemoryRegistry::MemoryRegistry()
    : root_(std::make_unique<Node>()), nextHandle_(~Registry::Key{0} << 16) {}

// Every key is closed by the operation that opened it.
MemoryRegistry::~MemoryRegistry() {
  if (!handles_.empty()) ADD_FAILURE() << handles_.size() << " registry key(s) left open";
}

void MemoryRegistry::AddKey(const std::string& path) {
  Node* node = root_.get();
  for (const std::string& part : SplitPath(path)) {
    std::unique_ptr<Node>& child = node->subkeys[Folded(part)];
    if (!child) {
      child = std::make_unique<Node>();
      child->name = part;
    }
    node = child.get();
  }
}

void MemoryRegistry::DenyAllAccess(const std::string& path) {
  AddKey(path);
  Find(path)->denyAllAccess = true;
}

void MemoryRegistry::PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                              const std::string& bytes) {
  AddKey(path);
  Find(path)->values[Folded(name)] = {name, Value{type, bytes}};
}

bool MemoryRegistry::HasKey(const std::string& path) const {
  return Find(path) != nullptr;
}

std::string MemoryRegistry::ClassOf(const std::string& path) const {
  const Node* node = Find(path);
  return node ? node->keyClass : std::string();
}

std::optional<MemoryRegistry::Value> MemoryRegistry::ValueOf(const std::string& path,
                                                             const std::string& name) const {
  const Node* node = Find(path);
  if (!node) return std::nullopt;
  auto it = node->values.find(Folded(name));
  if (it == node->values.end()) return std::nullopt;
  return it->second.second;
}

MemoryRegistry::Node* MemoryRegistry::Find(const std::string& path) const {
  Node* node = root_.get();
  for (const std::string& part : SplitPath(path)) {
    auto it = node->subkeys.find(Folded(part));
    if (it == node->subkeys.end()) return nullptr;
    node = it->second.get();
  }
  return node;
}

Registry::Key MemoryRegistry::Issue(Node* node, Access access) {
  const Key key = nextHandle_;
  nextHandle_ += 4;
  handles_[key] = {node, access};
  return key;
}

std::int32_t MemoryRegistry::Resolve(Key key, bool change, Node*& node) {
  auto it = handles_.find(key);
  if (it == handles_.end()) {
    ADD_FAILURE() << "using a registry key that is not open";
    return 6;  // ERROR_INVALID_HANDLE
  }
  if (!it->second.node) return kKeyDeleted;
  if (change && it->second.access != Access::All) return kAccessDenied;
  node = it->second.node;
  return kSuccess;
}

bool MemoryRegistry::Refused() {
  return changesBeforeFailure_ > 0 && --changesBeforeFailure_ == 0;
}

std::int32_t MemoryRegistry::OpenKey(const std::string& path, Access access, Key& key) {
  Node* node = Find(path);
  if (!node) return kNotFound;
  if (access == Access::All && node->denyAllAccess) return kAccessDenied;
  key = Issue(node, access);
  return kSuccess;
}

std::int32_t MemoryRegistry::CreateKey(const std::string& path, const std::string& keyClass,
                                       Key& key) {
  if (Refused()) return kAccessDenied;
  const bool existed = Find(path) != nullptr;
  AddKey(path);
  Node* node = Find(path);
  if (!existed) node->keyClass = keyClass;
  if (node->denyAllAccess) return kAccessDenied;
  key = Issue(node, Access::All);
  return kSuccess;
}

void MemoryRegistry::CloseKey(Key key) {
  if (handles_.erase(key) == 0) ADD_FAILURE() << "closing a registry key that is not open";
}

std::int32_t MemoryRegistry::SetValue(Key key, const std::string& name, std::uint32_t type,
                                      const void* data, std::uint32_t size) {
  Node* node = nullptr;
  if (const std::int32_t status = Resolve(key, true, node)) return status;
  if (Refused()) return kAccessDenied;
  node->values[Folded(name)] = {name,
                                Value{type, std::string(static_cast<const char*>(data), size)}};
  return kSuccess;
}

std::int32_t MemoryRegistry::QueryValue(Key key, const std::string& name, std::uint32_t& type,
                                        void* data, std::uint32_t& size) {
  Node* node = nullptr;
  if (const std::int32_t status = Resolve(key, false, node)) return status;
  auto it = node->values.find(Folded(name));
  if (it == node->values.end()) return kNotFound;
  const Value& value = it->second.second;
  const std::uint32_t stored = static_cast<std::uint32_t>(value.bytes.size());
  const bool fits = !data || size >= stored;
  type = value.type;
  if (fits && data) std::memcpy(data, value.bytes.data(), stored);
  size = stored;
  return fits ? kSuccess : kMoreData;
}

std::int32_t MemoryRegistry::DeleteValue(Key key, const std::string& name) {
  Node* node = nullptr;
  if (const std::int32_t status = Resolve(key, true, node)) return status;
  if (Refused()) return kAccessDenied;
  return node->values.erase(Folded(name)) ? kSuccess : kNotFound;
}

std::int32_t MemoryRegistry::DeleteKey(const std::string& path) {
  if (Refused()) return kAccessDenied;
  const std::vector<std::string> parts = SplitPath(path);
  if (parts.empty()) return kAccessDenied;
  Node* parent = root_.get();
  for (std::size_t i = 0; i + 1 < parts.size() && parent; ++i) {
    auto it = parent->subkeys.find(Folded(parts[i]));
    parent = it == parent->subkeys.end() ? nullptr : it->second.get();
  }
  if (!parent) return kNotFound;
  auto it = parent->subkeys.find(Folded(parts.back()));
  if (it == parent->subkeys.end()) return kNotFound;
  Node* node = it->second.get();
  if (!node->subkeys.empty() || node->denyAllAccess) return kAccessDenied;
  for (auto& [key, handle] : handles_)
    if (handle.node == node) handle.node = nullptr;
  parent->subkeys.erase(it);
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
