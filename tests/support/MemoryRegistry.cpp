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

std::string Parent(const std::string& folded) {
  const std::size_t end = folded.rfind('\\');
  return end == std::string::npos ? std::string() : folded.substr(0, end);
}

}  // namespace

MemoryRegistry::~MemoryRegistry() {
  if (!handles_.empty()) ADD_FAILURE() << handles_.size() << " registry key(s) left open";
}

// As on Windows, doubled and trailing backslashes name no empty key.
std::string MemoryRegistry::Walk(const std::string& path, bool make) const {
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

const MemoryRegistry::Node* MemoryRegistry::Find(const std::string& path) const {
  const auto found = nodes_.find(Walk(path));
  return found == nodes_.end() ? nullptr : &found->second;
}

std::vector<std::string> MemoryRegistry::Subkeys(const std::string& folded) const {
  std::vector<std::string> names;
  for (const auto& [path, node] : nodes_)
    if (!path.empty() && path != folded && Parent(path) == folded) names.push_back(node.name);
  return names;
}

void MemoryRegistry::PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                              const std::string& bytes) {
  nodes_[Walk(path, true)].values[Folded(name)] = Value{type, bytes};
}

std::optional<MemoryRegistry::Value> MemoryRegistry::ValueOf(const std::string& path,
                                                             const std::string& name) const {
  const Node* node = Find(path);
  if (!node || !node->values.count(Folded(name))) return std::nullopt;
  return node->values.at(Folded(name));
}

// The handle's key, or the status that refuses the operation.
std::int32_t MemoryRegistry::Resolve(Key key, bool change, Node*& node) {
  const Handle& handle = handles_.at(key);
  const auto found = nodes_.find(handle.path);
  if (found == nodes_.end()) return kKeyDeleted;
  if (change && handle.access != Access::All) return kAccessDenied;
  node = &found->second;
  return kSuccess;
}

std::int32_t MemoryRegistry::OpenKey(const std::string& path, Access access, Key& key) {
  const Node* node = Find(path);
  if (!node) return kNotFound;
  if (access == Access::All && node->denyAllAccess) return kAccessDenied;
  handles_[key = nextHandle_] = {Walk(path), access};
  nextHandle_ += 4;
  return kSuccess;
}

// Windows NT keeps the class of a key that exists.
std::int32_t MemoryRegistry::CreateKey(const std::string& path, const std::string& keyClass,
                                       Key& key) {
  if (Refused()) return kAccessDenied;
  if (!Find(path)) nodes_[Walk(path, true)].keyClass = keyClass;
  return OpenKey(path, Access::All, key);
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
  const bool fits = size >= it->second.bytes.size();
  if (fits && data) std::memcpy(data, it->second.bytes.data(), it->second.bytes.size());
  type = it->second.type;
  size = static_cast<std::uint32_t>(it->second.bytes.size());
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
  const std::string folded = Walk(path);
  if (!nodes_.count(folded)) return kNotFound;
  if (folded.empty() || !Subkeys(folded).empty() || nodes_[folded].denyAllAccess)
    return kAccessDenied;
  nodes_.erase(folded);
  return kSuccess;
}

std::int32_t MemoryRegistry::CountSubkeys(Key key, std::uint32_t& count) {
  count = static_cast<std::uint32_t>(Subkeys(handles_.at(key).path).size());
  return kSuccess;
}

std::int32_t MemoryRegistry::EnumSubkey(Key key, std::uint32_t index, std::string& name) {
  const std::vector<std::string> names = Subkeys(handles_.at(key).path);
  if (index >= names.size()) return kNoMoreItems;
  name = names[index];
  return kSuccess;
}

}  // namespace setup
