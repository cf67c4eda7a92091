#include "unattended/AnswerFile.h"

#include <algorithm>
#include <span>

#include "config/ConfigChoices.h"
#include "config/ControllerListDialog.h"
#include "install/InstallFlow.h"
#include "script/CaseFold.h"
#include "script/SafeFormat.h"
#include "sysconfig/ServiceConfig.h"

namespace setup {
namespace {

struct KnownSection {
  std::string_view name;
  std::span<const std::string_view> keys;
};

constexpr std::string_view kSetupKeys[] = {"Language",          "Destination",
                                           "KeepConfiguration", "OverwriteNewer",
                                           "OverwriteReadOnly", "RestoreBackup"};
constexpr std::string_view kDriverKeys[] = {"Protocol",     "Start",      "Test",
                                            "Adapters",     "DataIoMode", "PointToPoint",
                                            "DeliveryConf", "DosVector",  "X31Layer2"};
constexpr std::string_view kAdapterKeys[] = {"Interrupt", "IoAddress", "SPID"};
constexpr std::string_view kMaintenanceKeys[] = {
    "Switch",       "Controller",       "Cip",      "User",     "Password",
    "CalledNumber", "CalledSubaddress", "Calling1", "Calling2", "Calling3",
    "Calling4",     "Calling5",         "Calling6", "Calling7", "Calling8"};
constexpr std::string_view kAdapterSections[] = {"Adapter1", "Adapter2", "Adapter3", "Adapter4"};
static_assert(std::size(kAdapterSections) == kMaxAdapters);
// The calling numbers come last, one key each.
static_assert(std::size(kMaintenanceKeys) == 7 + kMaxCallingNumbers);

constexpr KnownSection kSections[] = {{"Setup", kSetupKeys},
                                      {"Driver", kDriverKeys},
                                      {"Adapter1", kAdapterKeys},
                                      {"Adapter2", kAdapterKeys},
                                      {"Adapter3", kAdapterKeys},
                                      {"Adapter4", kAdapterKeys},
                                      {"Maintenance", kMaintenanceKeys}};

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = FoldCase(c);
  return folded;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string KeyName(std::string_view section, std::string_view key) {
  return std::string(section) + '.' + std::string(key);
}

Refusal Refused(std::string_view section, std::string_view key, std::string reason) {
  return {KeyName(section, key), std::move(reason)};
}

// Digits of `base` only, below `count`.
std::optional<std::uint32_t> ParseNumber(std::string_view text, std::uint32_t base,
                                         std::uint32_t count) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    const char folded = FoldCase(c);
    const std::uint32_t digit = folded >= '0' && folded <= '9'   ? folded - '0'
                                : folded >= 'a' && folded <= 'f' ? folded - 'a' + 10
                                                                 : base;
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
  }
  if (value >= count) return std::nullopt;
  return value;
}

// Checks the values of one section against what the dialogs offer; the first value refused
// stays in `refusal`, and every later check passes it on.
class SectionReader {
 public:
  SectionReader(const Answers& answers, std::string_view section, std::optional<Refusal>& refusal)
      : answers_(answers), section_(section), refusal_(refusal) {}

  std::optional<std::string_view> Given(std::string_view key) const {
    return refusal_ ? std::nullopt : answers_.Text(section_, key);
  }

  // A choice among `count` numbered ones, in `base`.
  void Choice(std::string_view key, std::uint32_t count, std::uint32_t& value,
              std::uint32_t base = 10) {
    const auto text = Given(key);
    if (!text) return;
    if (const auto number = ParseNumber(*text, base, count))
      value = *number;
    else
      Refuse(key,
             FormatText(base == 16 ? "not a hexadecimal number below %X" : "not a number below %u",
                        {count}));
  }

  void Flag(std::string_view key, bool& value) {
    std::uint32_t number = value ? 1 : 0;
    Choice(key, 2, number);
    value = number != 0;
  }

  // One of `values`, in `base`.
  void Listed(std::string_view key, std::span<const std::uint32_t> values, std::uint32_t base,
              std::uint32_t& value) {
    const auto text = Given(key);
    if (!text) return;
    const auto number = ParseNumber(*text, base, 0x10000);
    if (number && std::find(values.begin(), values.end(), *number) != values.end())
      value = *number;
    else
      Refuse(key, "not one of the values the list offers");
  }

  // A text of at most `limit` characters without any of `refused`.
  template <std::size_t N>
  void Text(std::string_view key, std::size_t limit, std::string_view refused,
            FixedText<N>& value) {
    const auto text = Given(key);
    if (!text) return;
    if (text->size() > limit)
      Refuse(key, FormatText("longer than %u characters", {static_cast<std::uint32_t>(limit)}));
    else if (text->find_first_of(refused) != std::string_view::npos)
      Refuse(key, "holds a separator character");
    else
      value.Assign(*text);
  }

  void Refuse(std::string_view key, std::string reason) {
    if (!refusal_) refusal_ = Refused(section_, key, std::move(reason));
  }
  // Refuses the first of `keys` that is given.
  void RefuseAny(std::span<const std::string_view> keys, const std::string& reason) {
    for (std::string_view key : keys)
      if (Given(key)) Refuse(key, reason);
  }

 private:
  const Answers& answers_;
  std::string_view section_;
  std::optional<Refusal>& refusal_;
};

struct Parts {
  std::string_view number, subaddress;
};

Parts SplitParty(std::string_view line) {
  const std::size_t at = line.find(',');
  if (at == std::string_view::npos) return {{}, line};
  return {line.substr(0, at), line.substr(at + 1)};
}

void ApplyAdapters(SectionReader& driver, const Answers& answers, std::uint32_t flags,
                   DriverServiceConfig& config, AdapterTable& adapters,
                   std::optional<Refusal>& refusal) {
  std::uint32_t count = config.NumberOfControllers;
  driver.Choice("Adapters", kMaxAdapters + 1, count);
  if (!refusal && count == 0) driver.Refuse("Adapters", "there must be at least one adapter");
  if (refusal) return;
  if (count > config.NumberOfControllers)
    AssignNewAdapters(adapters, count, config.NumberOfControllers);
  config.NumberOfControllers = count;
  for (std::uint32_t i = 0; i < kMaxAdapters; ++i) {
    SectionReader adapter(answers, kAdapterSections[i], refusal);
    if (i >= count) {
      adapter.RefuseAny(kAdapterKeys, FormatText("there are only %u adapters", {count}));
      continue;
    }
    adapter.Listed("Interrupt", kInterrupts, 10, adapters[i].Interrupt);
    adapter.Listed("IoAddress", kBaseAddresses, 16, adapters[i].BaseAddress);
    if (flags & kProtocolNeedsSpid)
      adapter.Text("SPID", kSpidCharacters, kSpidRefused, adapters[i].SPID);
    else
      adapter.RefuseAny(std::span(kAdapterKeys).last(1), "the protocol takes no SPID");
    // An interrupt or address another adapter has cannot be chosen.
    for (std::uint32_t j = 0; j < i; ++j) {
      if (adapters[i].Interrupt == adapters[j].Interrupt)
        adapter.Refuse("Interrupt", FormatText("in use by adapter %u", {j + 1}));
      if (adapters[i].BaseAddress == adapters[j].BaseAddress)
        adapter.Refuse("IoAddress", FormatText("in use by adapter %u", {j + 1}));
    }
  }
}

void ApplyCalledNumber(SectionReader& maintenance, DriverServiceConfig& config) {
  const std::string stored(config.CdpnCount > 0 ? config.Cdpn[0].view() : std::string_view());
  const Parts shown = SplitParty(stored);
  const std::string_view number = maintenance.Given("CalledNumber").value_or(shown.number);
  const std::string_view subaddress =
      maintenance.Given("CalledSubaddress").value_or(shown.subaddress);
  if (!maintenance.Given("CalledNumber") && !maintenance.Given("CalledSubaddress")) return;
  for (const auto& [key, part] :
       {std::pair{"CalledNumber", number}, {"CalledSubaddress", subaddress}})
    if (part.find_first_of(kSeparators) != std::string_view::npos)
      maintenance.Refuse(key, "holds a separator character");
  if (number.size() + 1 + subaddress.size() > PartyNumber::kMaxSize)
    maintenance.Refuse("CalledNumber", "number and subaddress are too long together");
  config.Cdpn[0].Assign(std::string(number) + ',' + std::string(subaddress));
  config.CdpnCount = std::max<std::uint32_t>(config.CdpnCount, 1);
}

void ApplyCallingNumbers(SectionReader& maintenance, DriverServiceConfig& config) {
  const std::span<const std::string_view> keys =
      std::span(kMaintenanceKeys).last(static_cast<std::size_t>(kMaxCallingNumbers));
  std::uint32_t count = 0;
  while (count < keys.size() && maintenance.Given(keys[count])) ++count;
  if (count == 0) return;
  maintenance.RefuseAny(keys.subspan(count), "the calling numbers must follow on from Calling1");
  for (std::uint32_t i = 0; i < count; ++i) {
    const Parts parts = SplitParty(maintenance.Given(keys[i]).value_or(std::string_view()));
    if (parts.number.size() > kPartCharacters || parts.subaddress.size() > kPartCharacters)
      maintenance.Refuse(keys[i], FormatText("a part is longer than %u characters",
                                             {static_cast<std::uint32_t>(kPartCharacters)}));
    if (parts.number.find_first_of(kSeparators) != std::string_view::npos ||
        parts.subaddress.find_first_of(kSeparators) != std::string_view::npos)
      maintenance.Refuse(keys[i], "holds a separator character");
    config.Cgpn[i].Assign(std::string(parts.number) + ',' + std::string(parts.subaddress));
  }
  config.CgpnCount = count;
}

// The maintenance page's values, and the switch of the advanced page, as the frame collects
// them.
void ApplyMaintenance(Services& services, const ProgramState& state, const Answers& answers,
                      DriverServiceConfig& config, std::optional<Refusal>& refusal) {
  SectionReader maintenance(answers, "Maintenance", refusal);
  MaintenanceConfig script;
  ReadMaintenanceSection(services.files, state.Script(), script);
  const std::uint32_t mode = script.Mode;
  bool on = config.Controller != kMaintenanceNotOn;
  if (mode == kMaintenanceOff)
    maintenance.RefuseAny(kMaintenanceKeys, "the setup script has no remote maintenance");
  maintenance.Flag("Switch", on);
  if (mode != kMaintenanceFull)
    maintenance.RefuseAny(std::span(kMaintenanceKeys).subspan(1),
                          "the setup script does not let these values be changed");
  const std::uint32_t adapters = config.NumberOfControllers;
  if (mode == kMaintenanceFull) {
    maintenance.Choice("Cip", kCipValues, config.cipValue);
    // The page offers the controller it showed: the stored one, else the script's.
    std::uint32_t controller =
        config.Controller == kMaintenanceNotOn ? script.Controller : config.Controller;
    if (adapters == 1 || controller > adapters) controller = adapters == 1 ? 1 : script.Controller;
    if (controller > adapters) controller = 0;
    maintenance.Choice("Controller", adapters + 1, controller);
    if (adapters == 1 && controller != 1)
      maintenance.Refuse("Controller", "with one adapter it is adapter 1");
    config.Controller = controller;
    maintenance.Text("User", kUserTextCharacters, {}, config.username);
    maintenance.Text("Password", kUserTextCharacters, {}, config.password);
    ApplyCalledNumber(maintenance, config);
    ApplyCallingNumbers(maintenance, config);
    config.MaintenanceMode = mode;
  }
  if (adapters == 1) config.Controller = 1;
  if (!on) config.Controller = kMaintenanceNotOn;
  if (mode == kMaintenanceDefault || mode == kMaintenanceDefaultInvisible) {
    ApplyMaintenanceDefaults(services, state, config);
    if (on) config.Controller = script.Controller;
  }
}

}  // namespace

std::optional<Answers> Answers::Read(Profiles& profiles, const std::string& path,
                                     Refusal& refusal) {
  Answers answers;
  for (const KnownSection& section : kSections) {
    for (const std::string& line : profiles.Section(path, std::string(section.name))) {
      const std::size_t equals = line.find('=');
      const std::string_view key = Trimmed(std::string_view(line).substr(0, equals));
      const bool known =
          std::any_of(section.keys.begin(), section.keys.end(),
                      [key](std::string_view k) { return EqualIgnoringCase(k, key); });
      if (!known || equals == std::string::npos) {
        refusal = Refused(section.name, key, known ? "no value" : "no such key");
        return std::nullopt;
      }
      const auto [it, added] = answers.values_.emplace(
          Folded(KeyName(section.name, key)), Trimmed(std::string_view(line).substr(equals + 1)));
      if (!added) {
        refusal = Refused(section.name, key, "given twice");
        return std::nullopt;
      }
    }
  }
  return answers;
}

std::optional<std::string_view> Answers::Text(std::string_view section,
                                              std::string_view key) const {
  const auto it = values_.find(Folded(KeyName(section, key)));
  if (it == values_.end()) return std::nullopt;
  return std::string_view(it->second);
}

bool Answers::ConfiguresDriver() const {
  return std::any_of(values_.begin(), values_.end(),
                     [](const auto& value) { return !value.first.starts_with("setup."); });
}

std::optional<Refusal> ReadRunAnswers(const Answers& answers, const ProgramState& state,
                                      RunAnswers& run) {
  std::optional<Refusal> refusal;
  SectionReader setup(answers, "Setup", refusal);
  if (const auto language = setup.Given("Language")) {
    const auto names =
        std::span(state.Languages.displayNames)
            .first(static_cast<std::size_t>(std::clamp(state.Languages.count, 0, kMaxLanguages)));
    if (std::none_of(names.begin(), names.end(),
                     [&](const auto& name) { return EqualIgnoringCase(name.view(), *language); }))
      setup.Refuse("Language", "not a language of the setup script");
    else
      run.language = *language;
  }
  if (const auto destination = setup.Given("Destination")) {
    if (!IsFullPath(*destination) || !FitsPath(*destination))
      setup.Refuse("Destination", "not a full path that fits");
    else
      run.destination = *destination;
  }
  setup.Flag("KeepConfiguration", run.policy.keepConfiguration);
  setup.Flag("OverwriteNewer", run.policy.overwriteNewer);
  setup.Flag("OverwriteReadOnly", run.policy.overwriteReadOnly);
  setup.Flag("RestoreBackup", run.policy.restoreBackup);
  return refusal;
}

std::optional<Refusal> ApplyConfigurationAnswers(Services& services, ProgramState& state,
                                                 const Answers& answers) {
  DriverServiceConfig config = state.ServiceConfig;
  AdapterTable adapters = state.Adapters;
  std::optional<Refusal> refusal;
  SectionReader driver(answers, "Driver", refusal);
  Files& files = services.files;
  if (const auto protocol = driver.Given("Protocol"))
    if (!GetScriptNewImagePath(files, services.prompts, state.Script(), *protocol,
                               config.ImagePath))
      driver.Refuse("Protocol", "not a protocol of the setup script");
  const std::uint32_t flags =
      GetProtocolFlags(files, services.prompts, state.Script(), config.ImagePath.view());
  driver.Choice("Start", std::size(kStartSlots), config.Start);
  driver.Choice("Test", std::size(kTestSlots), config.Test);
  driver.Choice("DataIoMode", std::size(kDataIoSlots), config.DataIoMode);
  driver.Choice("PointToPoint", 2, config.Point2Point);
  driver.Choice("DeliveryConf", std::size(kDeliverySlots), config.DeliveryConf);
  driver.Choice("DosVector", kDosVectors, config.DosVector, 16);
  if (flags & kProtocolHasX31)
    driver.Choice("X31Layer2", std::size(kX31Slots), config.x31Layer2);
  else
    driver.RefuseAny(std::span(kDriverKeys).last(1), "the protocol has no X.31");
  ApplyAdapters(driver, answers, flags, config, adapters, refusal);
  if (!refusal) ApplyMaintenance(services, state, answers, config, refusal);
  if (refusal) return refusal;
  state.ServiceConfig = config;
  state.Adapters = adapters;
  return std::nullopt;
}

}  // namespace setup
