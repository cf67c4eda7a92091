#include "sysconfig/IntegrityBackup.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/CaseFold.h"
#include "script/CatalogueKeys.h"
#include "script/SafeFormat.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {
namespace {

constexpr std::uint32_t kValueBytes = 2048;
constexpr int kInfoText = 95;
constexpr int kApplyButton = 99;
constexpr int kRestoreButton = 100;
constexpr int kCancelButton = 1;

std::uint32_t ProtocolFlags(Services& services, const ProgramState& state,
                            const DriverServiceConfig& config) {
  return GetProtocolFlags(services.files, services.prompts, state.Script(),
                          config.ImagePath.view());
}

// The writer puts plain decimal digits: anything else, no digit at all or a number too large
// for its field was not written by it.
std::optional<std::uint32_t> ParseNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > UINT32_MAX) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

// "yyyymmdd" as the writer stores it; nothing for any other text.
std::optional<std::uint32_t> ParseDate(std::string_view text) {
  const std::optional<std::uint32_t> date = text.size() == 8 ? ParseNumber(text) : std::nullopt;
  if (!date) return std::nullopt;
  const std::uint32_t month = *date % 10000 / 100, day = *date % 100;
  if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  return date;
}

// A ";" would end the field early, so a text is stored, and compared, with "," instead.
std::string Stored(std::string_view text) {
  std::string stored(text);
  std::replace(stored.begin(), stored.end(), ';', ',');
  return stored;
}

bool EqualAsStored(std::string_view live, std::string_view backup) {
  return EqualIgnoringCase(Stored(live), backup);
}

class BackupWriter {
 public:
  void Number(std::uint32_t value) {
    text_ += std::to_string(value);
    text_ += ';';
  }
  void Text(std::string_view value) {
    text_ += Stored(value);
    text_ += ';';
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Reads the fields of a value in turn; once anything is amiss every later read fails.
class BackupReader {
 public:
  explicit BackupReader(std::string_view value) : rest_(value) {}

  template <std::size_t N>
  BackupReader& Text(FixedText<N>& field) {
    std::string_view text;
    if (Next(text) && text.size() < N) {
      field.Assign(text);
    } else {
      ok_ = false;
    }
    return *this;
  }
  BackupReader& Number(std::uint32_t& field, std::uint32_t most = UINT32_MAX) {
    std::string_view text;
    if (!Next(text)) return *this;
    const std::optional<std::uint32_t> number = ParseNumber(text);
    if (number && *number <= most)
      field = *number;
    else
      ok_ = false;
    return *this;
  }
  bool ok() const { return ok_; }

 private:
  bool Next(std::string_view& field) {
    const std::size_t end = rest_.find(';');
    if (!ok_ || end == std::string_view::npos) {
      ok_ = false;
      return false;
    }
    field = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);
    return true;
  }

  std::string_view rest_;
  bool ok_ = true;
};

// A whole backup into copies of the records, which the caller takes only when it is sound.
bool ParseBackup(std::string_view value, DriverServiceConfig& config, AdapterTable& adapters) {
  BackupReader read(value);
  std::uint32_t x31 = 0, spid = 0;
  read.Text(config.DisplayName)
      .Number(config.ErrorControl)
      .Text(config.Group)
      .Text(config.ImagePath)
      .Number(config.Start)
      .Number(config.Type)
      .Number(config.DataIoMode)
      .Number(config.DeliveryConf)
      .Text(config.DeviceName)
      .Number(config.DosVector)
      .Number(config.Point2Point)
      .Number(config.Test)
      .Text(config.Manufacturer)
      .Number(x31, 1)
      .Number(spid, 1);
  if (x31 == 1) read.Number(config.x31Layer2);
  read.Number(config.NumberOfControllers, static_cast<std::uint32_t>(kMaxAdapters));
  if (!read.ok()) return false;
  for (std::uint32_t i = 0; i < config.NumberOfControllers; ++i) {
    AdapterConfig& adapter = adapters[i];
    read.Number(adapter.Channels).Number(adapter.BaseAddress).Number(adapter.Interrupt);
    if (spid == 1) read.Text(adapter.SPID);
  }
  return read.ok();
}

}  // namespace

bool WriteIntegrityBackup(Services& services, const ProgramState& state) {
  Registry& registry = services.registry;
  const CreatedKey key(registry, std::string(kIntegrityKeyPath));
  if (!key.ok()) {
    ReportNoKey(services, state, kIntegrityKeyPath);
    return false;
  }
  const DriverServiceConfig& config = state.ServiceConfig;
  const std::uint32_t flags = ProtocolFlags(services, state, config);
  const bool x31 = (flags & kProtocolHasX31) != 0;
  const bool spid = (flags & kProtocolNeedsSpid) != 0;
  BackupWriter backup;
  backup.Text(config.DisplayName.view());
  backup.Number(config.ErrorControl);
  backup.Text(config.Group.view());
  backup.Text(config.ImagePath.view());
  backup.Number(config.Start);
  backup.Number(config.Type);
  backup.Number(config.DataIoMode);
  backup.Number(config.DeliveryConf);
  backup.Text(config.DeviceName.view());
  backup.Number(config.DosVector);
  backup.Number(config.Point2Point);
  backup.Number(config.Test);
  backup.Text(config.Manufacturer.view());
  backup.Number(x31 ? 1 : 0);
  backup.Number(spid ? 1 : 0);
  if (x31) backup.Number(config.x31Layer2);
  const std::uint32_t count = std::min<std::uint32_t>(config.NumberOfControllers, kMaxAdapters);
  backup.Number(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const AdapterConfig& adapter = state.Adapters[i];
    backup.Number(adapter.Channels);
    backup.Number(adapter.BaseAddress);
    backup.Number(adapter.Interrupt);
    if (spid) backup.Text(adapter.SPID.view());
  }
  const LocalDate today = services.system.Today();
  const std::string date =
      FormatText("%04u%02u%02u",
                 {std::uint32_t{today.year}, std::uint32_t{today.month}, std::uint32_t{today.day}});
  // A backup not written would show the next check a mismatch the user never made.
  for (const auto& [name, text] :
       {std::pair{"RegistryBackup", backup.text()}, {"BackupDate", date}})
    if (registry.SetValue(key.key(), name, Registry::kSz, text.c_str(),
                          static_cast<std::uint32_t>(text.size() + 1)) != Registry::kSuccess) {
      ReportNoKeyModify(services, state, kIntegrityKeyPath);
      return false;
    }
  return true;
}

bool IntegrityBackupMissing(Registry& registry) {
  const OpenKey key(registry, std::string(kIntegrityKeyPath), Registry::Access::Read);
  if (!key.ok()) return key.status() == Registry::kNotFound;
  std::uint32_t type = 0, size = 0;
  return registry.QueryValue(key.key(), "RegistryBackup", type, nullptr, size) ==
         Registry::kNotFound;
}

int ReadIntegrityBackup(Services& services, const ProgramState&, DriverServiceConfig& config,
                        AdapterTable& adapters) {
  std::array<char, kValueBytes> value;
  {
    const OpenKey key(services.registry, std::string(kIntegrityKeyPath), Registry::Access::Read);
    if (!key.ok() || !QueryStringValue(services.registry, key.key(), value.data(), "RegistryBackup",
                                       kValueBytes))
      return 0;
  }
  DriverServiceConfig parsed = config;
  AdapterTable parsedAdapters = adapters;
  if (!ParseBackup(value.data(), parsed, parsedAdapters)) return 0;
  config = parsed;
  adapters = parsedAdapters;
  return 1;
}

int MatchesIntegrityBackup(const DriverServiceConfig& live, const DriverServiceConfig& backup,
                           const AdapterTable& liveAdapters, const AdapterTable& backupAdapters,
                           int withSpid) {
  if (live.ErrorControl != backup.ErrorControl || live.Start != backup.Start ||
      live.DataIoMode != backup.DataIoMode || live.DeliveryConf != backup.DeliveryConf ||
      live.DosVector != backup.DosVector || live.Point2Point != backup.Point2Point ||
      live.Test != backup.Test || live.NumberOfControllers != backup.NumberOfControllers ||
      !EqualAsStored(live.ImagePath.view(), backup.ImagePath.view()))
    return 0;
  const std::uint32_t count = std::min<std::uint32_t>(live.NumberOfControllers, kMaxAdapters);
  for (std::uint32_t i = 0; i < count; ++i) {
    const AdapterConfig& a = liveAdapters[i];
    const AdapterConfig& b = backupAdapters[i];
    if (a.Channels != b.Channels || a.BaseAddress != b.BaseAddress || a.Interrupt != b.Interrupt ||
        (withSpid && !EqualAsStored(a.SPID.view(), b.SPID.view())))
      return 0;
  }
  return 1;
}

int CheckIntegrity(Services& services, ProgramState& state, WindowRef owner) {
  const int withSpid =
      (ProtocolFlags(services, state, state.ServiceConfig) & kProtocolNeedsSpid) ? 1 : 0;
  std::optional<std::uint32_t> date;
  {
    const OpenKey key(services.registry, std::string(kIntegrityKeyPath), Registry::Access::Read);
    if (!key.ok()) return 1;
    std::array<char, kValueBytes> text;
    if (QueryStringValue(services.registry, key.key(), text.data(), "BackupDate", kValueBytes))
      date = ParseDate(text.data());
  }
  // Both values are written together: a backup without its date is no sound backup.
  if (!date) return 1;
  // Scratch records start as defaults would, so that nothing unset is ever compared.
  DriverServiceConfig backup = state.ServiceConfig;
  AdapterTable backupAdapters = state.Adapters;
  // Without a sound backup there is nothing to compare: the same as no backup yet.
  if (!ReadIntegrityBackup(services, state, backup, backupAdapters)) return 1;
  if (MatchesIntegrityBackup(state.ServiceConfig, backup, state.Adapters, backupAdapters, withSpid))
    return 1;

  IntegrityDialog dialog(state.Catalogue, *date);
  switch (services.host.RunModal("DLG_chkintegrity", owner, dialog)) {
    case 1:
      return services.prompts.AskQuestion(
                 owner, 0, state.Catalogue.Text(text::QUEST_CCI_APPLYNEW)) == Prompts::kYes
                 ? 1
                 : 0;
    case 2:
      if (services.prompts.AskQuestion(
              owner, 0, state.Catalogue.Text(text::QUEST_CCI_RESTOREOLD)) != Prompts::kYes)
        return 0;
      // The backup read a moment ago may be gone since; then nothing is restored.
      return ReadIntegrityBackup(services, state, state.ServiceConfig, state.Adapters) ? 2 : 0;
    default:
      return 0;
  }
}

void IntegrityDialog::OnInit(DialogView& view) {
  view.Centre();
  SetCaptionText(view, catalogue_, text::DLG_CCI_CAPTION);
  for (int id : {text::DLG_CCI_INFOTXT, text::DLG_CCI_APPLYNEW, text::DLG_CCI_RESTOREOLD,
                 text::DLG_CCI_CANCELTXT, text::DLG_CCI_APPLY, text::DLG_CCI_RESTORE})
    SetItemTextFrom(view, catalogue_, id, id);
  SetItemTextFrom(view, catalogue_, kCancelButton, text::BUTTON_CANCEL);
  const auto year = static_cast<std::uint16_t>(backupDate_ / 10000);
  const auto month = static_cast<std::uint16_t>(backupDate_ % 10000 / 100);
  const auto day = static_cast<std::uint16_t>(backupDate_ % 100);
  view.SetText(kInfoText,
               FormatText(catalogue_.Text(text::DLG_CCI_INFOTXT),
                          {std::uint32_t{day}, std::uint32_t{month}, std::uint32_t{year}}));
}

void IntegrityDialog::OnCommand(DialogView& view, int id, int) {
  if (id == kApplyButton) view.End(1);
  if (id == kRestoreButton) view.End(2);
  if (id == kCancelButton) view.End(0);
}

}  // namespace setup
