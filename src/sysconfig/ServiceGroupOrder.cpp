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
// lose the groups of other drivers. An insertion may not grow it past this either, or no
// later edit could read it back.
constexpr std::uint32_t kListBytes = 16384;

// One name of the list and where it starts.
struct ListName {
  std::size_t offset;
  std::string_view text;
};

// Every name of the stored list, an empty one inside it included: the system reads no
// further than that, but whatever follows it is someone's and must survive an edit.
std::vector<ListName> ListNames(std::string_view list) {
  std::vector<ListName> names;
  for (std::size_t start = 0; start < list.size();) {
    const std::size_t end = std::min(list.find('\0', start), list.size());
    names.push_back({start, list.substr(start, end - start)});
    start = end + 1;
  }
  return names;
}

// The list's bytes as stored; the stored type is not looked at.
bool ReadList(Services& services, const ProgramState& state, Registry::Key key, std::string& list) {
  list.assign(kListBytes, '\0');
  std::uint32_t type = 0, size = kListBytes;
  if (services.registry.QueryValue(key, std::string(kListValue), type, list.data(), size) !=
      Registry::kSuccess) {
    ReportNoValueModify(services, state, kServiceGroupOrderKeyPath, kListValue);
    return false;
  }
  list.resize(size);
  return true;
}

int WriteList(Services& services, const ProgramState& state, Registry::Key key,
              const std::string& list) {
  if (list.size() > kListBytes) {
    ReportNoValueModify(services, state, kServiceGroupOrderKeyPath, kListValue);
    return 0;
  }
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
  std::string list;
  if (!ReadList(services, state, key.key(), list)) return 0;
  for (const ListName& name : ListNames(list)) {
    if (EqualIgnoringCase(name.text, kOwnGroup)) return 1;
    if (EqualIgnoringCase(name.text, kNdisGroup)) {
      list.insert(name.offset, std::string(kOwnGroup) + '\0');
      return WriteList(services, state, key.key(), list);
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
  std::string list;
  if (!ReadList(services, state, key.key(), list)) return 0;
  for (const ListName& name : ListNames(list)) {
    if (EqualIgnoringCase(name.text, kOwnGroup)) {
      list.erase(name.offset, kOwnGroup.size() + 1);
      return WriteList(services, state, key.key(), list);
    }
  }
  return 1;
}

}  // namespace setup
