#include "sysconfig/ServiceConfig.h"

#include <algorithm>
#include <string>

#include "sysconfig/AutoexecNt.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceGroupOrder.h"

namespace setup {
namespace {

constexpr char kDefaultImagePath[] = "\\SystemRoot\\System32\\drivers\\vmdrv.sys";

std::string Joined(std::string_view key, std::string_view subkey) {
  std::string path(key);
  path += '\\';
  path += subkey;
  return path;
}

std::string CapiKeyPath(std::uint32_t n) {
  return Joined(kCapiKeyPath, std::to_string(n));
}

// Rows of a value table, added in the order they are written.
class ValueRows {
 public:
  void Text(std::string_view name, std::string_view text, std::uint32_t type = Registry::kSz) {
    table_[Next()] = TextRow(name, type, text);
  }
  void Number(std::string_view name, std::uint32_t number) {
    table_[Next()] = NumberRow(name, number);
  }
  const RegistryValueTable& table() const { return table_; }
  int lastIndex() const { return count_ - 1; }

 private:
  std::size_t Next() { return static_cast<std::size_t>(count_++); }

  RegistryValueTable table_{};
  int count_ = 0;
};

// Creates the key and writes the rows; 0 once the failure has been reported.
int WriteKey(Services& services, const ProgramState& state, const std::string& path,
             const ValueRows& rows, const std::string& keyClass = {}) {
  CreatedKey key(services.registry, path, keyClass);
  if (!key.ok()) {
    ReportNoKey(services, state, path);
    return 0;
  }
  if (rows.lastIndex() >= 0 &&
      !WriteValueTable(services.registry, key.key(), rows.table(), rows.lastIndex())) {
    ReportNoKeyModify(services, state, path);
    return 0;
  }
  return 1;
}

std::uint32_t ProtocolFlags(Services& services, const ProgramState& state,
                            const DriverServiceConfig& config) {
  return GetProtocolFlags(services.files, services.prompts, state.Script(),
                          config.ImagePath.view());
}

// Reads of one key that stop at the first value missing, reporting it.
class ReadChain {
 public:
  ReadChain(Services& services, const ProgramState& state, Registry::Key key)
      : services_(services), state_(state), key_(key) {}

  ReadChain& Number(std::uint32_t& field, std::string_view name) {
    if (ok_) ok_ = QueryDwordValue(services_, state_, key_, field, name, 1) == 1;
    return *this;
  }
  // A text that is missing or too long for its field is reported as well, so that a damaged
  // configuration is not refused in silence; `report` 0 for one an install may leave out.
  template <std::size_t N>
  ReadChain& Text(FixedText<N>& field, std::string_view name, int report = 1) {
    if (!ok_) return *this;
    ok_ = QueryStringValue(services_.registry, key_, field, name) == 1;
    if (!ok_ && report) ReportNoValueQuery(services_, state_, name);
    return *this;
  }
  bool ok() const { return ok_; }

 private:
  Services& services_;
  const ProgramState& state_;
  Registry::Key key_;
  bool ok_ = true;
};

// The key opened for reading; reported when it cannot be.
class ReadKey : public OpenKey {
 public:
  ReadKey(Services& services, const ProgramState& state, const std::string& path)
      : OpenKey(services.registry, path, Registry::Access::Read) {
    if (!ok()) ReportNoKey(services, state, path);
  }
};

void ReadMaintenance(Services& services, const ProgramState& state, DriverServiceConfig& config) {
  OpenKey key(services.registry, Joined(kParametersKeyPath, "Maintenance"), Registry::Access::Read);
  if (!key.ok()) {
    config.MaintenanceMode = kMaintenanceOff;
    return;
  }
  // The mode is not stored; the script's keeps the dialog's choice of page, any other
  // nonzero mode would do to have the key written again.
  MaintenanceConfig script;
  ReadMaintenanceSection(services.files, state.Script(), script);
  config.MaintenanceMode = script.Mode != kMaintenanceOff ? script.Mode : kMaintenanceFull;
  Registry& registry = services.registry;
  QueryDwordValue(services, state, key.key(), config.cipValue, "cipValue", 1);
  QueryDwordValue(services, state, key.key(), config.Controller, "Controller", 1);
  QueryStringValue(registry, key.key(), config.username, "username");
  QueryStringValue(registry, key.key(), config.password, "password");
  config.CdpnCount = QueryStringValue(registry, key.key(), config.Cdpn[0], "CDPN1") == 1 ? 1 : 0;
  config.CgpnCount = 0;
  while (config.CgpnCount < kMaxCgpn &&
         QueryStringValue(registry, key.key(), config.Cgpn[config.CgpnCount],
                          "CGPN" + std::to_string(config.CgpnCount + 1)) == 1)
    ++config.CgpnCount;
}

}  // namespace

std::string AdapterKeyPath(int index) {
  std::string name = "Adapter0";
  name += std::to_string(index + 1);
  return Joined(kParametersKeyPath, name);
}

void InitServiceConfigDefaults(Services& services, const ProgramState& state, std::uint32_t n,
                               DriverServiceConfig& config) {
  config = DriverServiceConfig{};
  config.DisplayName.Assign("CAPI 2.0 Velmar Driver");
  config.ErrorControl = 1;
  config.Group.Assign("CAPI20");
  config.ImagePath.Assign(kDefaultImagePath);
  config.Start = 1;
  config.Type = 1;
  config.DataIoMode = 1;
  config.DeliveryConf = 0;
  config.DeviceName.Assign("CAPI20" + std::to_string(n));
  config.DosVector = 0xF1;
  config.x31Layer2 = 1;
  config.Manufacturer.Assign(kOwnManufacturer);
  config.NumberOfControllers = 1;
  config.CdpnCount = 1;
  config.CgpnCount = 1;
  ApplyMaintenanceDefaults(services, state, config);
}

void ApplyMaintenanceDefaults(Services& services, const ProgramState& state,
                              DriverServiceConfig& config) {
  MaintenanceConfig script;
  if (!ReadMaintenanceSection(services.files, state.Script(), script) ||
      script.Mode == kMaintenanceOff)
    return;
  config.MaintenanceMode = script.Mode;
  config.cipValue = script.cipValue;
  config.username = script.username;
  config.password = script.password;
  config.Controller = kMaintenanceNotOn;
  config.CdpnCount = std::min<std::uint32_t>(script.CdpnCount, kMaxCdpn);
  config.CgpnCount = std::min<std::uint32_t>(script.CgpnCount, kMaxCgpn);
  std::copy_n(script.Cdpn.begin(), config.CdpnCount, config.Cdpn.begin());
  std::copy_n(script.Cgpn.begin(), config.CgpnCount, config.Cgpn.begin());
}

void InitAdapterDefaults(AdapterConfig& adapter) {
  adapter = AdapterConfig{2, 0x250, 5, {}};
}

void InitFreshConfiguration(Services& services, ProgramState& state, std::uint32_t n) {
  DriverServiceConfig& config = state.ServiceConfig;
  InitServiceConfigDefaults(services, state, n, config);
  for (std::uint32_t i = 0; i < config.NumberOfControllers && i < kMaxAdapters; ++i)
    InitAdapterDefaults(state.Adapters[i]);
  LineText protocol;
  if (ReadDefaultProtocol(services.files, services.prompts, state.Script(), protocol))
    GetScriptNewImagePath(services.files, services.prompts, state.Script(), protocol.view(),
                          config.ImagePath);
}

int WriteServiceConfig(Services& services, const ProgramState& state, std::uint32_t n,
                       const DriverServiceConfig& config) {
  if (!WriteKey(services, state, std::string(kCapiKeyPath), ValueRows())) return 0;

  ValueRows capi;
  capi.Text("Manufacturer", config.Manufacturer.view());
  capi.Text("DeviceName", config.DeviceName.view());
  capi.Number("NumberOfControllers", config.NumberOfControllers);
  const std::string registration = CapiKeyPath(n);
  const bool registered = KeyExists(services.registry, registration);
  if (!WriteKey(services, state, registration, capi)) {
    // Left without our manufacturer, a key made here would take the number for good: the
    // next install would pass it over as another maker's.
    if (!registered) services.registry.DeleteKey(registration);
    return 0;
  }

  ValueRows service;
  service.Text("DisplayName", config.DisplayName.view());
  service.Text("Group", config.Group.view());
  service.Number("ErrorControl", config.ErrorControl);
  service.Number("Start", config.Start);
  service.Number("Type", config.Type);
  service.Text("ImagePath", config.ImagePath.view(), Registry::kExpandSz);
  if (!WriteKey(services, state, std::string(kServiceKeyPath), service, "CAPI20")) return 0;

  ValueRows parameters;
  parameters.Number("DataIoMode", config.DataIoMode);
  parameters.Number("DeliveryConf", config.DeliveryConf);
  parameters.Number("DosVector", config.DosVector);
  parameters.Number("Point2Point", config.Point2Point);
  parameters.Number("Test", config.Test);
  parameters.Text("DeviceName", config.DeviceName.view());
  if (ProtocolFlags(services, state, config) & kProtocolHasX31)
    parameters.Number("x31Layer2", config.x31Layer2);
  if (!WriteKey(services, state, std::string(kParametersKeyPath), parameters)) return 0;

  if (config.MaintenanceMode != kMaintenanceOff) {
    ValueRows maintenance;
    maintenance.Number("cipValue", config.cipValue);
    maintenance.Number("Controller", config.Controller);
    maintenance.Text("username", config.username.view());
    maintenance.Text("password", config.password.view());
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(config.CdpnCount, kMaxCdpn); ++i)
      maintenance.Text("CDPN" + std::to_string(i + 1), config.Cdpn[i].view());
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(config.CgpnCount, kMaxCgpn); ++i)
      maintenance.Text("CGPN" + std::to_string(i + 1), config.Cgpn[i].view());
    if (!WriteKey(services, state, Joined(kParametersKeyPath, "Maintenance"), maintenance))
      return 0;
  }
  if (!InsertGroupIntoServiceOrder(services, state)) return 0;
  return InsertAutoexecBlock(services, state);
}

int WriteAdapterConfig(Services& services, const ProgramState& state, const AdapterConfig& adapter,
                       int index, int withSpid) {
  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services, state, found);
  if (n == 0) return 0;
  ValueRows controller;
  controller.Number("Channels", adapter.Channels);
  if (!WriteKey(services, state, Joined(CapiKeyPath(n), std::to_string(index + 1)), controller))
    return 0;
  ValueRows values;
  values.Number("BaseAddress", adapter.BaseAddress);
  values.Number("Interrupt", adapter.Interrupt);
  if (withSpid) values.Text("SPID", adapter.SPID.view());
  return WriteKey(services, state, AdapterKeyPath(index), values);
}

int ReadServiceConfig(Services& services, const ProgramState& state, DriverServiceConfig& config) {
  {
    ReadKey key(services, state, std::string(kServiceKeyPath));
    if (!key.ok()) return 0;
    if (!ReadChain(services, state, key.key())
             .Text(config.DisplayName, "DisplayName")
             .Number(config.ErrorControl, "ErrorControl")
             .Text(config.Group, "Group")
             .Text(config.ImagePath, "ImagePath")
             .Number(config.Start, "Start")
             .Number(config.Type, "Type")
             .ok())
      return 0;
  }
  {
    ReadKey key(services, state, std::string(kParametersKeyPath));
    if (!key.ok()) return 0;
    ReadChain chain(services, state, key.key());
    chain.Number(config.DosVector, "DosVector")
        .Text(config.DeviceName, "DeviceName")
        .Number(config.DeliveryConf, "DeliveryConf")
        .Number(config.DataIoMode, "DataIoMode")
        .Number(config.Point2Point, "Point2Point")
        .Number(config.Test, "Test");
    if (ProtocolFlags(services, state, config) & kProtocolHasX31 &&
        !QueryDwordValue(services, state, key.key(), config.x31Layer2, "x31Layer2", 0))
      config.x31Layer2 = 1;
    if (!chain.ok()) return 0;
  }
  ReadMaintenance(services, state, config);

  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services, state, found);
  if (n == 0) return 0;
  ReadKey key(services, state, CapiKeyPath(n));
  if (!key.ok()) return 0;
  const bool read = ReadChain(services, state, key.key())
                        .Text(config.DeviceName, "DeviceName")
                        .Text(config.Manufacturer, "Manufacturer")
                        .Number(config.NumberOfControllers, "NumberOfControllers")
                        .ok();
  // More adapters than the table holds, or none, would leave the dialog without a sound one.
  config.NumberOfControllers =
      std::clamp<std::uint32_t>(config.NumberOfControllers, 1, kMaxAdapters);
  if (config.NumberOfControllers == 1 && config.Controller != kMaintenanceNotOn)
    config.Controller = 0;
  return read ? 1 : 0;
}

int ReadAdapterConfig(Services& services, const ProgramState& state, AdapterConfig& adapter,
                      int index, int withSpid) {
  {
    ReadKey key(services, state, AdapterKeyPath(index));
    if (!key.ok()) return 0;
    ReadChain chain(services, state, key.key());
    chain.Number(adapter.BaseAddress, "BaseAddress").Number(adapter.Interrupt, "Interrupt");
    // An install writes no SPID: its absence is no damage.
    if (withSpid) chain.Text(adapter.SPID, "SPID", 0);
    if (!chain.ok()) return 0;
  }
  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services, state, found);
  if (n == 0) return 0;
  ReadKey key(services, state, Joined(CapiKeyPath(n), std::to_string(index + 1)));
  return key.ok() && ReadChain(services, state, key.key()).Number(adapter.Channels, "Channels").ok()
             ? 1
             : 0;
}

}  // namespace setup
