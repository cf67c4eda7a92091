#include "sysconfig/CapiRegistration.h"

#include <array>
#include <limits>
#include <set>
#include <string>

#include "script/CaseFold.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {
namespace {

// The number a registration subkey is named by: decimal from 1, without leading zeros, as
// the registrations are made. Any other name is no registration and never equals a name
// this setup makes.
bool ParseRegistrationNumber(const std::string& name, std::uint32_t& number) {
  if (name.empty() || name[0] < '1' || name[0] > '9') return false;
  std::uint32_t value = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    const std::uint32_t digit = static_cast<std::uint32_t>(c - '0');
    if (value > (std::numeric_limits<std::uint32_t>::max() - digit) / 10) return false;
    value = value * 10 + digit;
  }
  number = value;
  return true;
}

// Enumerated by name, so the listing ends with the subkeys whatever they are called. False
// when it stops short of its end.
bool ListRegistrationNumbers(Registry& registry, Registry::Key key,
                             std::set<std::uint32_t>& taken) {
  std::string name;
  for (std::uint32_t i = 0;; ++i) {
    const std::int32_t status = registry.EnumSubkey(key, i, name);
    if (status == Registry::kNoMoreItems) return true;
    if (status != Registry::kSuccess) return false;
    std::uint32_t number = 0;
    if (ParseRegistrationNumber(name, number)) taken.insert(number);
  }
}

enum class Owner { Us, Another, InDoubt };

// A Manufacturer that is there but cannot be read leaves the owner in doubt.
Owner OwnerOf(Registry& registry, const std::string& path) {
  const OpenKey key(registry, path, Registry::Access::All);
  if (!key.ok()) return Owner::Another;
  std::array<char, kPathBytes> manufacturer;
  const std::int32_t status = ReadStringValue(registry, key.key(), manufacturer.data(),
                                              "Manufacturer", manufacturer.size());
  if (status == Registry::kNotFound || status == Registry::kMoreData) return Owner::Another;
  if (status != Registry::kSuccess) return Owner::InDoubt;
  return EqualIgnoringCase(manufacturer.data(), kOwnManufacturer) ? Owner::Us : Owner::Another;
}

}  // namespace

std::uint32_t FindCapiControllerNumber(Services& services, const ProgramState& state, int& found) {
  found = 0;
  Registry& registry = services.registry;
  const std::string capi(kCapiKeyPath);
  std::set<std::uint32_t> taken;
  {
    const OpenKey key(registry, capi, Registry::Access::Read);
    if (key.status() == Registry::kNotFound) return 1;
    // A key that is there but cannot be read may hold registrations that 1 would overwrite.
    if (!key.ok() || !ListRegistrationNumbers(registry, key.key(), taken)) {
      ReportNoKey(services, state, kCapiKeyPath);
      return 0;
    }
  }
  for (std::uint32_t number : taken) {
    std::string path = capi;
    path += '\\';
    path += std::to_string(number);
    const Owner owner = OwnerOf(registry, path);
    // Passing ours by would register a second time, under a number of its own.
    if (owner == Owner::InDoubt) {
      ReportNoValueQuery(services, state, "Manufacturer");
      return 0;
    }
    if (owner == Owner::Us) {
      found = 1;
      return number;
    }
  }
  if (taken.empty()) return 1;
  if (*taken.rbegin() < std::numeric_limits<std::uint32_t>::max()) return *taken.rbegin() + 1;
  // Nothing above the highest: the first gap, which the finite set must leave.
  std::uint32_t number = 1;
  while (taken.count(number)) ++number;
  return number;
}

int CapiHasOtherControllers(Services& services, const ProgramState& state) {
  const OpenKey key(services.registry, std::string(kCapiKeyPath), Registry::Access::Read);
  if (!key.ok()) {
    ReportNoKey(services, state, kCapiKeyPath);
    return 0;
  }
  std::uint32_t count = 0;
  if (services.registry.CountSubkeys(key.key(), count) != Registry::kSuccess) return 0;
  return count > 1 ? 1 : 0;
}

void WriteScriptVersion(Services& services, const ProgramState& state, std::uint32_t version) {
  const CreatedKey key(services.registry, std::string(kIntegrityKeyPath));
  if (!key.ok()) {
    ReportNoKey(services, state, kIntegrityKeyPath);
    return;
  }
  SetDwordValue(services.registry, key.key(), version, "ScriptVersion");
}

}  // namespace setup
