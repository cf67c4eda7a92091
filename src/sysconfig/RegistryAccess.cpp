#include "sysconfig/RegistryAccess.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "script/CatalogueKeys.h"
#include "script/SafeFormat.h"

namespace setup {
namespace {

// The reporters' message buffer holds 1024 bytes, terminator included.
constexpr std::size_t kMessageLimit = 1023;

bool IsText(std::uint32_t type) {
  return type == Registry::kSz || type == Registry::kExpandSz || type == Registry::kMultiSz;
}

}  // namespace

int WriteValueTable(Registry& registry, Registry::Key key, const RegistryValueTable& table,
                    int lastIndex) {
  int result = 1;
  for (int i = 0; i <= std::min(lastIndex, kValueTableRows - 1); ++i) {
    const RegistryValueEntry& row = table[static_cast<std::size_t>(i)];
    const bool text = row.Type == Registry::kSz || row.Type == Registry::kExpandSz;
    const std::int32_t status =
        text ? registry.SetValue(key, row.Name.c_str(), row.Type, row.Text.c_str(),
                                 static_cast<std::uint32_t>(row.Text.size() + 1))
             : registry.SetValue(key, row.Name.c_str(), row.Type, &row.Number, 4);
    if (status != Registry::kSuccess) result = 0;
  }
  return result;
}

int SetDwordValue(Registry& registry, Registry::Key key, std::uint32_t value,
                  std::string_view name) {
  return registry.SetValue(key, std::string(name), Registry::kDword, &value, 4) ==
                 Registry::kSuccess
             ? 1
             : 0;
}

int QueryDwordValue(Services& services, const ProgramState& state, Registry::Key key,
                    std::uint32_t& destination, std::string_view name, int report) {
  const std::string value(name);
  std::uint32_t type = 0, size = 0;
  if (services.registry.QueryValue(key, value, type, nullptr, size) == Registry::kSuccess &&
      IsText(type))
    return 1;
  // Read into a buffer of its own: a value longer than 4 bytes must not reach the
  // destination, and a failed read leaves it as it was. A shorter one is zero-extended, never
  // mixed with the bytes the destination held.
  unsigned char bytes[4] = {};
  size = sizeof bytes;
  if (services.registry.QueryValue(key, value, type, bytes, size) == Registry::kSuccess) {
    std::memcpy(&destination, bytes, sizeof bytes);
    return 1;
  }
  if (report) ReportNoValueQuery(services, state, name);
  return 0;
}

int QueryStringValue(Registry& registry, Registry::Key key, char* destination,
                     std::string_view name, std::uint32_t capacity) {
  return ReadStringValue(registry, key, destination, name, capacity) == Registry::kSuccess;
}

std::int32_t ReadStringValue(Registry& registry, Registry::Key key, char* destination,
                             std::string_view name, std::uint32_t capacity) {
  if (capacity == 0) return Registry::kMoreData;
  std::memset(destination, 0, capacity);
  // One read bounded by the capacity, rather than asking for the size first: the size an
  // ANSI query reports without a buffer may be the stored UTF-16 one.
  std::uint32_t type = 0, size = capacity;
  std::int32_t status = registry.QueryValue(key, std::string(name), type, destination, size);
  // A value that fills every byte leaves no room for its terminator: it did not fit.
  if (status == Registry::kSuccess && std::memchr(destination, 0, capacity)) return status;
  if (status == Registry::kSuccess) status = Registry::kMoreData;
  std::memset(destination, 0, capacity);
  return status;
}

void ShowConfigMessage(Services& services, const ProgramState& state, int key,
                       std::initializer_list<FormatArg> args) {
  services.prompts.ShowMessage(kNoWindow,
                               FormatText(state.Catalogue.Text(key), args, kMessageLimit));
}

void ReportNoKey(Services& services, const ProgramState& state, std::string_view path) {
  ShowConfigMessage(services, state, text::ERR_CFG_NOKEY, {path});
}

void ReportNoKeyModify(Services& services, const ProgramState& state, std::string_view path) {
  ShowConfigMessage(services, state, text::ERR_CFG_NOKEYMODIFY, {path});
}

void ReportNoValueModify(Services& services, const ProgramState& state, std::string_view path,
                         std::string_view name) {
  ShowConfigMessage(services, state, text::ERR_CFG_NOVALMODIFY, {path, name});
}

void ReportNoValueQuery(Services& services, const ProgramState& state, std::string_view name) {
  ShowConfigMessage(services, state, text::ERR_CFG_NOVALQUERY, {name});
}

void ReportNoAutoexec(Services& services, const ProgramState& state, std::string_view path) {
  ShowConfigMessage(services, state, text::ERR_CFG_NOAUTOEXEC, {path});
}

bool KeyExists(Registry& registry, std::string_view path) {
  return OpenKey(registry, std::string(path), Registry::Access::Read).ok();
}

}  // namespace setup
