#include "sysconfig/SystemEntriesRemoval.h"

#include <string>

#include "script/CatalogueKeys.h"
#include "sysconfig/AutoexecNt.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/RemovalLog.h"
#include "sysconfig/ServiceConfig.h"
#include "sysconfig/ServiceGroupOrder.h"

namespace setup {
namespace {

std::string Joined(std::string_view key, std::string_view subkey) {
  std::string path(key);
  path += '\\';
  path += subkey;
  return path;
}

std::string Joined(std::string_view key, std::uint32_t number) {
  return Joined(key, std::to_string(number));
}

// Whether another maker is registered, asked without a message: on a second run the
// shared key may be gone already, and our own registration may be gone from it. A count
// that fails, or a key that is there but cannot be opened, leaves it in doubt, and then the
// shared entries stay.
bool OtherMakerRegistered(Registry& registry, bool ownFound) {
  const OpenKey key(registry, std::string(kCapiKeyPath), Registry::Access::Read);
  if (!key.ok()) return key.status() != Registry::kNotFound;
  std::uint32_t count = 0;
  if (registry.CountSubkeys(key.key(), count) != Registry::kSuccess) return true;
  return count > (ownFound ? 1u : 0u);
}

enum class Step { Done, Stop };

// Deletes and logs one key. A missing key has been reported or was logged before: it counts
// as gone, so that a run after an interrupted one gets to the end.
Step DeleteAndLog(Services& services, const ProgramState& state, const std::string& path) {
  const std::int32_t status = DeleteKeyForRemoval(services, state, path);
  if (status == Registry::kNotFound) return Step::Done;
  if (status != Registry::kSuccess) return Step::Stop;
  return LogRemovedObject(services, state, path) ? Step::Done : Step::Stop;
}

bool Gone(std::int32_t status) {
  return status == Registry::kSuccess || status == Registry::kNotFound;
}

// A stale entry left behind would be read as part of the new configuration.
bool DeleteKeyOrReport(Services& services, const ProgramState& state, const std::string& path) {
  if (Gone(services.registry.DeleteKey(path))) return true;
  ShowConfigMessage(services, state, text::ERR_DEI_NOREMOVEKEY, {path});
  return false;
}

}  // namespace

bool ClearOptionalServiceEntries(Services& services, const ProgramState& state) {
  Registry& registry = services.registry;
  bool cleared = true;
  {
    const OpenKey key(registry, std::string(kParametersKeyPath), Registry::Access::All);
    if (!key.ok()) {
      ReportNoKey(services, state, kServiceKeyPath);
      return false;
    }
    if (!Gone(registry.DeleteValue(key.key(), "x31Layer2"))) {
      ReportNoKeyModify(services, state, kParametersKeyPath);
      cleared = false;
    }
  }
  return DeleteKeyOrReport(services, state, Joined(kParametersKeyPath, "Maintenance")) && cleared;
}

bool DeleteAdapterKeys(Services& services, const ProgramState& state) {
  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services, state, found);
  if (n == 0) return false;
  const std::string capi = Joined(kCapiKeyPath, n);
  bool deleted = true;
  for (std::uint32_t i = 1; i <= kMaxAdapters; ++i) {
    deleted = DeleteKeyOrReport(services, state, Joined(capi, i)) && deleted;
    deleted =
        DeleteKeyOrReport(services, state, AdapterKeyPath(static_cast<int>(i - 1))) && deleted;
  }
  return deleted;
}

std::int32_t DeleteKeyForRemoval(Services& services, const ProgramState& state,
                                 std::string_view path) {
  Registry& registry = services.registry;
  const std::string key(path);
  const bool logged = IsLoggedAsRemoved(services, state, path) == 1;
  {
    const OpenKey open(registry, key, Registry::Access::Read);
    if (!open.ok()) {
      if (!logged) ShowConfigMessage(services, state, text::ERR_DEI_KEYNOTFOUND, {path});
      return open.status();
    }
  }
  const std::int32_t status = registry.DeleteKey(key);
  if (status != Registry::kSuccess && !logged)
    ShowConfigMessage(services, state, text::ERR_DEI_NOREMOVEKEY, {path});
  return status;
}

int RemoveSystemEntries(Services& services, const ProgramState& state) {
  Registry& registry = services.registry;
  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services, state, found);
  if (n == 0) return 0;
  const bool others = OtherMakerRegistered(registry, found == 1);
  const std::string capi = Joined(kCapiKeyPath, n);

  // A configuration that an interrupted removal has taken apart is not read (its reads would
  // report every missing key), nor is a damaged one trusted: the adapters of either are
  // found by looking.
  DriverServiceConfig config;
  const bool stored = found == 1 && KeyExists(registry, std::string(kServiceKeyPath)) &&
                      KeyExists(registry, std::string(kParametersKeyPath)) &&
                      ReadServiceConfig(services, state, config) == 1;
  const auto present = [&](std::uint32_t i, const std::string& path) {
    return stored ? i <= config.NumberOfControllers : KeyExists(registry, path);
  };

  // A block that cannot be taken out has been reported; the keys go all the same, but the
  // removal is not done.
  const int autoexecCleared = RemoveAutoexecBlock(services, state);
  if (!others && !RemoveGroupFromServiceOrder(services, state)) return 0;

  // Without our registration its subkeys are gone too, and N would name a stranger.
  if (found == 1) {
    for (std::uint32_t i = 1; i <= kMaxAdapters; ++i) {
      const std::string path = Joined(capi, i);
      if (present(i, path) && DeleteAndLog(services, state, path) == Step::Stop) return 0;
    }
    if (DeleteAndLog(services, state, capi) == Step::Stop) return 0;
  }
  if (!others) registry.DeleteKey(std::string(kCapiKeyPath));

  for (std::uint32_t i = 1; i <= kMaxAdapters; ++i) {
    const std::string path = AdapterKeyPath(static_cast<int>(i - 1));
    if (present(i, path) && DeleteAndLog(services, state, path) == Step::Stop) return 0;
  }
  if (DeleteAndLog(services, state, std::string(kIntegrityKeyPath)) == Step::Stop) return 0;
  registry.DeleteKey(Joined(kParametersKeyPath, "Maintenance"));
  if (DeleteAndLog(services, state, std::string(kParametersKeyPath)) == Step::Stop) return 0;
  registry.DeleteKey(Joined(kServiceKeyPath, "Enum"));

  const std::string service(kServiceKeyPath);
  const std::int32_t status = DeleteKeyForRemoval(services, state, service);
  if (status == Registry::kNotFound) return autoexecCleared;
  if (status != Registry::kSuccess) return 0;
  if (!LogRemovedObject(services, state, service))
    services.prompts.ShowErrorBox(kNoWindow, "No KEY_CCS_VELMAR!");
  return autoexecCleared;
}

}  // namespace setup
