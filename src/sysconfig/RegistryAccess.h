#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/FixedText.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "script/SafeFormat.h"
#include "state/ProgramState.h"

namespace setup {

// Paths below HKEY_LOCAL_MACHINE that more than one part of the system configuration uses.
inline constexpr std::string_view kCapiKeyPath = "SOFTWARE\\CAPI20";
inline constexpr std::string_view kServiceKeyPath = "SYSTEM\\CurrentControlSet\\Services\\Velmar";
inline constexpr std::string_view kParametersKeyPath =
    "SYSTEM\\CurrentControlSet\\Services\\Velmar\\Parameters";
inline constexpr std::string_view kIntegrityKeyPath =
    "SYSTEM\\CurrentControlSet\\Services\\Velmar\\Parameters\\KVXVelmarSetupIntegrityCheck";
inline constexpr std::string_view kServiceGroupOrderKeyPath =
    "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";

// One row of a value table. Text holds the widest record field that goes into a row, the
// driver's image path.
struct RegistryValueEntry {
  FixedText<32> Name;
  std::uint32_t Type = Registry::kDword;  // kSz and kExpandSz write Text, any other Number
  std::uint32_t Number = 0;
  FixedText<kPathBytes> Text;
};
inline RegistryValueEntry TextRow(std::string_view name, std::uint32_t type,
                                  std::string_view text) {
  RegistryValueEntry row;
  row.Name.Assign(name);
  row.Type = type;
  row.Text.Assign(text);
  return row;
}
inline RegistryValueEntry NumberRow(std::string_view name, std::uint32_t number) {
  RegistryValueEntry row;
  row.Name.Assign(name);
  row.Number = number;
  return row;
}

inline constexpr int kValueTableRows = 64;
using RegistryValueTable = std::array<RegistryValueEntry, kValueTableRows>;

// Writes rows 0 to lastIndex into the open key, texts with their terminator. 1 when every
// row was written; a failed row makes it 0 but the rows behind it are still written.
// Whether the key can be opened for reading, asked without a message.
bool KeyExists(Registry& registry, std::string_view path);

int WriteValueTable(Registry& registry, Registry::Key key, const RegistryValueTable& table,
                    int lastIndex);

// 1 when written as a REG_DWORD, else 0.
int SetDwordValue(Registry& registry, Registry::Key key, std::uint32_t value,
                  std::string_view name);

// 1 when read (a value of fewer than 4 bytes zero-extended), or when the value is stored as
// a text (the destination is then left alone). A missing value, or one of more than 4 bytes,
// leaves the destination alone and gives 0, after [ERR_CFG_NOVALQUERY] when `report` is
// nonzero.
int QueryDwordValue(Services& services, const ProgramState& state, Registry::Key key,
                    std::uint32_t& destination, std::string_view name, int report);

// Clears all `capacity` bytes first; 1 when the value was read whole and is terminated within
// the destination. A missing value, or one too long for the destination, gives 0 and leaves
// it cleared. The stored type is not looked at.
int QueryStringValue(Registry& registry, Registry::Key key, char* destination,
                     std::string_view name, std::uint32_t capacity);
// The same read, giving the registry's status: kMoreData for a value that did not fit.
std::int32_t ReadStringValue(Registry& registry, Registry::Key key, char* destination,
                             std::string_view name, std::uint32_t capacity);

template <std::size_t N>
int QueryStringValue(Registry& registry, Registry::Key key, FixedText<N>& destination,
                     std::string_view name) {
  std::array<char, N> bytes;
  const int read = QueryStringValue(registry, key, bytes.data(), name, N);
  destination.Assign(bytes.data());
  return read;
}

// Shows a catalogue text formatted with its arguments, without an owner; long paths fit.
void ShowConfigMessage(Services& services, const ProgramState& state, int key,
                       std::initializer_list<FormatArg> args);
// Each shows its catalogue text, formatted with the path or value name, without an owner.
void ReportNoKey(Services& services, const ProgramState& state, std::string_view path);
void ReportNoKeyModify(Services& services, const ProgramState& state, std::string_view path);
void ReportNoValueModify(Services& services, const ProgramState& state, std::string_view path,
                         std::string_view name);
void ReportNoValueQuery(Services& services, const ProgramState& state, std::string_view name);
void ReportNoAutoexec(Services& services, const ProgramState& state, std::string_view path);

}  // namespace setup
