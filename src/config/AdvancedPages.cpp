#include "config/AdvancedPages.h"

#include <algorithm>
#include <string>
#include <vector>

#include "config/AdapterPage.h"
#include "config/ConfigDialog.h"
#include "config/ValueLists.h"
#include "script/CatalogueKeys.h"
#include "script/SafeFormat.h"

namespace setup {
namespace {

using namespace notification;

std::vector<ListEntry> DataIoEntries(const StringCatalogue& catalogue) {
  return CatalogueEntries(catalogue, kDataIoSlots);
}

std::vector<ListEntry> DeliveryEntries(const StringCatalogue& catalogue) {
  return CatalogueEntries(catalogue, kDeliverySlots);
}

std::vector<ListEntry> X31Entries(const StringCatalogue& catalogue) {
  return CatalogueEntries(catalogue, kX31Slots);
}

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

struct PartyParts {
  std::string_view number, subaddress;
  bool operator==(const PartyParts&) const = default;
};

// Before the first separator the number, the rest the subaddress; without a separator all
// of it is the subaddress.
PartyParts Split(std::string_view line, char separator) {
  const std::size_t at = line.find(separator);
  if (at == std::string_view::npos) return {{}, line};
  return {line.substr(0, at), line.substr(at + 1)};
}

void ShowSplit(DialogView& view, std::string_view line, char separator, int number,
               int subaddress) {
  const PartyParts parts = Split(line, separator);
  view.SetText(number, parts.number);
  view.SetText(subaddress, parts.subaddress);
}

// With no called party stored there is none to show.
std::string_view CalledNumber(const DriverServiceConfig& config) {
  return config.CdpnCount > 0 ? config.Cdpn[0].view() : std::string_view();
}

// Number, "," and subaddress share what the stored value holds: each part may take the
// room the other leaves.
void LimitCalledParts(DialogView& view) {
  using namespace maintenance_page;
  // A limit of 0 would lift the limit altogether.
  const auto room = [&view](int other) {
    const auto used = static_cast<int>(view.Text(other).size());
    return std::max(static_cast<int>(PartyNumber::kMaxSize) - 1 - used, 1);
  };
  view.SetTextLimit(kCalledNumber, room(kCalledSubaddress));
  view.SetTextLimit(kCalledSubaddress, room(kCalledNumber));
}

// The controller list's entry of a controller: with one adapter its only one, with more
// "all adapters" first; -1 when the list lacks it.
int ControllerEntry(std::uint32_t controller, std::uint32_t adapters) {
  if (adapters == 1) return 0;
  return controller <= adapters ? static_cast<int>(controller) : -1;
}

}  // namespace

void AdvancedPage::OnInit(DialogView& view) {
  using namespace advanced_page;
  view_ = &view;
  view.ShowWindow(false);
  for (int id : {kGroup, kDosVectorLabel, kX31Layer2Label, kDataIoLabel, kDeliveryConfLabel,
                 kPointToPoint, kMaintenanceSwitch})
    SetItemText(view, frame_.state().Catalogue, id);
}

void AdvancedPage::FillPointToPointAndDataIo() {
  if (!view_) return;
  const ProgramState& state = frame_.state();
  view_->SetCheck(advanced_page::kPointToPoint, state.ServiceConfig.Point2Point != 0);
  FillValueList(*view_, advanced_page::kDataIo, DataIoEntries(state.Catalogue),
                state.ServiceConfig.DataIoMode);
}

void AdvancedPage::FillDosVector() {
  if (!view_) return;
  FillValueList(*view_, advanced_page::kDosVector, CountingEntries(kDosVectors, "%02X"),
                frame_.state().ServiceConfig.DosVector);
}

void AdvancedPage::FillDeliveryConf() {
  if (!view_) return;
  const ProgramState& state = frame_.state();
  FillValueList(*view_, advanced_page::kDeliveryConf, DeliveryEntries(state.Catalogue),
                state.ServiceConfig.DeliveryConf);
}

void AdvancedPage::FillX31Layer2(bool hasX31) {
  if (!view_) return;
  view_->Enable(advanced_page::kX31Layer2, hasX31);
  view_->Enable(advanced_page::kX31Layer2Label, hasX31);
  const ProgramState& state = frame_.state();
  if (hasX31)
    FillValueList(*view_, advanced_page::kX31Layer2, X31Entries(state.Catalogue),
                  state.ServiceConfig.x31Layer2);
}

void AdvancedPage::FillMaintenanceSwitch() {
  if (view_)
    view_->SetCheck(advanced_page::kMaintenanceSwitch,
                    frame_.state().ServiceConfig.Controller != kMaintenanceNotOn);
}

void AdvancedPage::CollectValues() {
  using namespace advanced_page;
  if (!view_) return;
  const StringCatalogue& catalogue = frame_.state().Catalogue;
  DriverServiceConfig& config = frame_.state().ServiceConfig;
  config.DataIoMode = SelectedValue(*view_, kDataIo, DataIoEntries(catalogue), config.DataIoMode);
  config.Point2Point = view_->IsChecked(kPointToPoint) ? 1 : 0;
  config.DeliveryConf =
      SelectedValue(*view_, kDeliveryConf, DeliveryEntries(catalogue), config.DeliveryConf);
  config.DosVector =
      SelectedValue(*view_, kDosVector, CountingEntries(kDosVectors, "%02X"), config.DosVector);
}

void AdvancedPage::CollectX31Layer2() {
  DriverServiceConfig& config = frame_.state().ServiceConfig;
  if (!view_ || !view_->IsEnabled(advanced_page::kX31Layer2)) {
    config.x31Layer2 = 1;
    return;
  }
  config.x31Layer2 = SelectedValue(*view_, advanced_page::kX31Layer2,
                                   X31Entries(frame_.state().Catalogue), config.x31Layer2);
}

bool AdvancedPage::MaintenanceSwitchedOn() const {
  return view_ && view_->IsChecked(advanced_page::kMaintenanceSwitch);
}

void AdvancedPage::OnCommand(DialogView& view, int id, int code) {
  using namespace advanced_page;
  const bool list = id == kDosVector || id == kX31Layer2 || id == kDeliveryConf || id == kDataIo;
  if ((list && code == kSelectionChanged) || (id == kPointToPoint && code == kClicked))
    frame_.MarkChanged();
  if (id == kMaintenanceSwitch && code == kClicked) {
    frame_.MarkChanged();
    frame_.ShowMaintenanceButton(view.IsChecked(kMaintenanceSwitch));
  }
}

void MaintenancePage::OnInit(DialogView& view) {
  using namespace maintenance_page;
  view_ = &view;
  view.ShowWindow(false);
  for (int id : {kUserName, kPassword}) view.SetTextLimit(id, kUserTextCharacters);
  LimitCalledParts(view);
  constexpr int kTabStops[] = {0, 90};
  view.SetTabStops(kCalling, kTabStops);
  ProgramState& state = frame_.state();
  for (int id : {kGeneralGroup, kSecurityGroup, kCipLabel, kControllerLabel, kUserNameLabel,
                 kPasswordLabel, kCalledNumberLabel, kCalledSubaddressLabel, kCallingHeading,
                 kCallingComment, kAdd, kEdit, kRemove})
    SetItemText(view, state.Catalogue, id);
  ReadMaintenanceSection(frame_.services().files, state.Script(), script_);
  UpdatePartyButtons();
}

void MaintenancePage::FillControllerList(std::uint32_t adapters) {
  using namespace maintenance_page;
  if (!view_) return;
  if (mode_ == kMaintenanceDefault) return FillReadOnlyController(adapters);
  const StringCatalogue& catalogue = frame_.state().Catalogue;
  view_->ComboClear(kController);
  if (adapters >= 2) view_->ComboAdd(kController, catalogue.Text(text::TEXT_ADAPTER_ALL));
  for (const ListEntry& entry : AdapterEntries(catalogue, adapters))
    view_->ComboAdd(kController, entry.text);
  // Maintenance switched on later must find an adapter chosen.
  int entry = ControllerEntry(controller_, adapters);
  if (entry < 0) entry = ControllerEntry(script_.Controller, adapters);
  view_->ComboSelect(kController, std::max(entry, 0));
}

void MaintenancePage::FillReadOnlyController(std::uint32_t adapters) {
  const StringCatalogue& catalogue = frame_.state().Catalogue;
  const std::uint32_t d = script_.Controller;
  const bool all = d > adapters || (adapters > 1 && d == 0);
  const std::int32_t shown = static_cast<std::int32_t>(adapters == 1 ? 1 : d);
  view_->SetText(maintenance_page::kController,
                 all ? std::string(catalogue.Text(text::TEXT_ADAPTER_ALL))
                     : FormatText("%s %d", {catalogue.Text(text::TEXT_ADAPTER), shown}));
}

void MaintenancePage::Fill(std::uint32_t mode) {
  using namespace maintenance_page;
  if (!view_) return;
  mode_ = mode;
  const DriverServiceConfig& config = frame_.state().ServiceConfig;
  const std::uint32_t adapters = frame_.adapterPage().AdapterCount();
  if (mode == kMaintenanceFull) {
    FillValueList(*view_, kCip, CountingEntries(kCipValues, "%lu"), config.cipValue);
    controller_ = config.Controller == kMaintenanceNotOn ? script_.Controller : config.Controller;
    FillControllerList(adapters);
  } else {
    view_->SetText(kCip, FormatText("%lu", {config.cipValue}));
    FillReadOnlyController(adapters);
  }
  view_->SetText(kUserName, config.username.view());
  view_->SetText(kPassword, config.password.view());
  ShowSplit(*view_, CalledNumber(config), ',', kCalledNumber, kCalledSubaddress);
  LimitCalledParts(*view_);
  view_->ListClear(kCalling);
  for (std::uint32_t i = 0; i < config.CgpnCount && i < kMaxCgpn; ++i)
    view_->ListAdd(kCalling, Replaced(std::string(config.Cgpn[i].view()), ',', '\t'));
  UpdatePartyButtons();
}

void MaintenancePage::CollectValues() {
  using namespace maintenance_page;
  if (!view_) return;
  DriverServiceConfig& config = frame_.state().ServiceConfig;
  config.cipValue =
      SelectedValue(*view_, kCip, CountingEntries(kCipValues, "%lu"), config.cipValue);
  const int controller = view_->ComboSelection(kController);
  if (controller >= 0) config.Controller = static_cast<std::uint32_t>(controller);
  config.username.Assign(view_->Text(kUserName));
  config.password.Assign(view_->Text(kPassword));
  const std::string number = view_->Text(kCalledNumber);
  const std::string subaddress = view_->Text(kCalledSubaddress);
  // A value shown unchanged stays as stored, also one without ",".
  if (PartyParts{number, subaddress} != Split(CalledNumber(config), ',')) {
    config.Cdpn[0].Assign(number + ',' + subaddress);
    config.CdpnCount = std::max<std::uint32_t>(config.CdpnCount, 1);
  }
  const int lines = std::min(view_->ListCount(kCalling), static_cast<int>(kMaxCgpn));
  config.CgpnCount = static_cast<std::uint32_t>(lines);
  for (int i = 0; i < lines; ++i)
    config.Cgpn[static_cast<std::size_t>(i)].Assign(
        Replaced(view_->ListItemText(kCalling, i), '\t', ','));
}

void MaintenancePage::UpdatePartyButtons() {
  using namespace maintenance_page;
  if (!view_) return;
  const int lines = view_->ListCount(kCalling);
  const bool selected = view_->ListSelection(kCalling) >= 0;
  view_->Enable(kRemove, lines >= 2 && selected);
  view_->Enable(kAdd, lines < kMaxCallingNumbers);
  view_->Enable(kEdit, selected);
}

void MaintenancePage::RunPartyNumberDialog(int mode) {
  PartyNumberDialog dialog(frame_, *view_, mode);
  frame_.services().host.RunModal("DLG_partynumber", view_->Window(), dialog);
}

void MaintenancePage::OnCommand(DialogView& view, int id, int code) {
  using namespace maintenance_page;
  const bool editable = mode_ == kMaintenanceFull;
  if (code == kEditChanged &&
      (id == kUserName || id == kPassword || id == kCalledNumber || id == kCalledSubaddress)) {
    if (view.IsModified(id)) frame_.MarkChanged();
    if (id == kCalledNumber || id == kCalledSubaddress) {
      RefuseCharacters(view, id, kSeparators);
      LimitCalledParts(view);
    }
  } else if (code == kSelectionChanged && (id == kCip || id == kController || id == kCalling)) {
    frame_.MarkChanged();
    // With one adapter its only entry is adapter 1.
    if (id == kController && view.ComboCount(kController) > 1)
      controller_ = static_cast<std::uint32_t>(view.ComboSelection(kController));
    if (id == kCalling && editable) UpdatePartyButtons();
  } else if (id == kCalling && code == kFocusLost && editable) {
    UpdatePartyButtons();
  } else if (code == kClicked || (id == kCalling && code == kDoubleClicked && editable)) {
    const int selected = view.ListSelection(kCalling);
    const int lines = view.ListCount(kCalling);
    if ((id == kEdit || id == kCalling) && selected >= 0) {
      RunPartyNumberDialog(1);
    } else if (id == kAdd && lines < kMaxCallingNumbers) {
      RunPartyNumberDialog(0);
    } else if (id == kRemove && selected >= 0 && lines >= 2) {
      view.ListDelete(kCalling, selected);
    } else {
      return;
    }
    UpdatePartyButtons();
  }
}

void PartyNumberDialog::OnInit(DialogView& view) {
  using namespace party_dialog;
  const StringCatalogue& catalogue = frame_.state().Catalogue;
  SetCaptionText(view, catalogue,
                 mode_ == 0 ? text::DLG_CPN_CAPTION_ADD : text::DLG_CPN_CAPTION_EDIT);
  for (int id : {kNumber, kSubaddress}) view.SetTextLimit(id, kPartCharacters);
  SetItemTextFrom(view, catalogue, kOk, text::BUTTON_OK);
  SetItemTextFrom(view, catalogue, kCancel, text::BUTTON_CANCEL);
  for (int id : {kNumberLabel, kSubaddressLabel}) SetItemText(view, catalogue, id);
  const int selected = page_.ListSelection(maintenance_page::kCalling);
  if (mode_ == 1 && selected >= 0)
    ShowSplit(view, page_.ListItemText(maintenance_page::kCalling, selected), '\t', kNumber,
              kSubaddress);
  view.Centre();
  view.SetFocus(kNumber);
}

void PartyNumberDialog::OnCommand(DialogView& view, int id, int code) {
  using namespace party_dialog;
  if (code == kEditChanged && (id == kNumber || id == kSubaddress))
    RefuseCharacters(view, id, kSeparators);
  if (code != kClicked) return;
  if (id == kCancel) return view.End(0);
  if (id != kOk) return;
  std::string line = view.Text(kNumber);
  line += '\t';
  line += view.Text(kSubaddress);
  const int selected = page_.ListSelection(maintenance_page::kCalling);
  if (mode_ == 1 && selected >= 0) {
    page_.ListDelete(maintenance_page::kCalling, selected);
    page_.ListInsert(maintenance_page::kCalling, selected, line);
    page_.ListSelect(maintenance_page::kCalling, selected);
  } else {
    page_.ListAdd(maintenance_page::kCalling, line);
  }
  frame_.MarkChanged();
  view.End(1);
}

}  // namespace setup
