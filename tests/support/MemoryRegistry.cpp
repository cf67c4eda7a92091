#include "support/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <cctype>
#include <vector>

namespace setup {
namespace {

std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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
  bool denyAllAccess = false;
  std::map<std::string, std::unique_ptr<Node>> subkeys;  // by folded name
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
    if (!child) child = std::make_unique<Node>();
    node = child.get();
  }
}

void MemoryRegistry::DenyAllAccess(const std::string& path) {
  AddKey(path);
  Find(path)->denyAllAccess = true;
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

std::int32_t MemoryRegistry::OpenKey(const std::string& path, Access access, Key& key) {
  Node* node = Find(path);
  if (!node) return kNotFound;
  if (access == Access::All && node->denyAllAccess) return kAccessDenied;
  key = nextHandle_;
  nextHandle_ += 4;
  handles_[key] = node;
  return kSuccess;
}

void MemoryRegistry::CloseKey(Key key) {
  if (handles_.erase(key) == 0) ADD_FAILURE() << "closing a registry key that is not open";
}

}  // namespace setup
