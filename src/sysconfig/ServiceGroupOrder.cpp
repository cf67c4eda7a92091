#include "sysconfig/ServiceGroupOrder.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "script/CaseFold.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {
namespace {

constexpr std::string_view kListValue = "List";
constexpr std::string_view kOwnGroup = "CAPI20";
constexpr std::string_view kNdisGroup = "NDIS";
// The working copy. A longer list is refused rather than cut: written back cut, it would
// lose the groups of other drivers.
constexpr std::uint32_t kListBytes = 16384;

// The names of a REG_MULTI_SZ up to its closing empty name (or the end of the copy).
std::vector<std::string_view> SplitList(std::string_view list) {
  std::vector<std::string_view> names;
  while (!list.empty() && list.front() != '\0') {
    const std::size_t end = std::min(list.find('\0'), list.size());
    names.push_back(list.substr(0, end));
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return names;
}

std::string JoinList(const std::vector<std::string_view>& names) {
  std::string list;
  for (std::string_view name : names) {
    list += name;
    list += '\0';
  }
  list += '\0';
  return list;
}

// The list as read, and its names, which point into it.
struct GroupList {
  std::vector<char> bytes = std::vector<char>(kListBytes);
  std::vector<std::string_view> names;
};

bool ReadList(Services& services, const ProgramState& state, Registry::Key key, GroupList& list) {
  if (!QueryStringValue(services.registry, key, list.bytes.data(), kListValue, kListBytes)) {
    ReportNoValueModify(services, state, kServiceGroupOrderKeyPath, kListValue);
    return false;
  }
  list.names = SplitList(std::string_view(list.bytes.data(), list.bytes.size()));
  return true;
}

int WriteList(Services& services, const ProgramState& state, Registry::Key key,
              const std::vector<std::string_view>& names) {
  const std::string list = JoinList(names);
  if (services.registry.SetValue(key, std::string(kListValue), Registry::kMultiSz, list.data(),
                                 static_cast<std::uint32_t>(list.size())) == Registry::kSuccess)
    return 1;
  ReportNoKeyModify(services, state, kServiceGroupOrderKeyPath);
  return 0;
}

}  // namespace

int InsertGroupIntoServiceOrder(Services& services, const ProgramState& state) {
  const CreatedKey key(services.registry, std::string(kServiceGroupOrderKeyPath));
  if (!key.ok()) {
    ReportNoKey(services, state, kServiceGroupOrderKeyPath);
    return 0;
  }
  GroupList list;
  if (!ReadList(services, state, key.key(), list)) return 0;
  for (auto name = list.names.begin(); name != list.names.end(); ++name) {
    if (EqualIgnoringCase(*name, kOwnGroup)) return 1;
    if (EqualIgnoringCase(*name, kNdisGroup)) {
      list.names.insert(name, kOwnGroup);
      return WriteList(services, state, key.key(), list.names);
    }
  }
  return 1;
}

int RemoveGroupFromServiceOrder(Services& services, const ProgramState& state) {
  const OpenKey key(services.registry, std::string(kServiceGroupOrderKeyPath),
                    Registry::Access::All);
  if (!key.ok()) {
    ReportNoKey(services, state, kServiceGroupOrderKeyPath);
    return 0;
  }
  GroupList list;
  if (!ReadList(services, state, key.key(), list)) return 0;
  for (auto name = list.names.begin(); name != list.names.end(); ++name) {
    if (EqualIgnoringCase(*name, kOwnGroup)) {
      list.names.erase(name);
      return WriteList(services, state, key.key(), list.names);
    }
  }
  return 1;
}

}  // namespace setup
