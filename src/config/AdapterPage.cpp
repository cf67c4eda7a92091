#include "config/AdapterPage.h"

#include <algorithm>
#include <optional>
#include <span>
#include <tuple>
#include <vector>

#include "config/ConfigDialog.h"
#include "config/ControllerListDialog.h"
#include "config/ValueLists.h"
#include "script/CatalogueKeys.h"
#include "script/SafeFormat.h"

namespace setup {
namespace {

using namespace notification;

// The entries of an interrupt or base address list, with the values of the other adapters
// in parentheses.
std::vector<ListEntry> MarkedEntries(std::span<const std::uint32_t> values, const char* format,
                                     const std::vector<std::uint32_t>& inUse) {
  std::vector<ListEntry> entries = NumberEntries(values, format);
  for (ListEntry& entry : entries)
    if (std::find(inUse.begin(), inUse.end(), entry.value) != inUse.end())
      entry.text = "(" + entry.text + ")";
  return entries;
}

}  // namespace

void AdapterPage::OnInit(DialogView& view) {
  using namespace adapter_page;
  view_ = &view;
  view.ShowWindow(false);
  ProgramState& state = frame_.state();
  for (int id : {kGeneralGroup, kAdapterGroup, kProtocolLabel, kStartLabel, kTestLabel, kChange,
                 kBaseAddressLabel, kInterruptLabel})
    SetItemText(view, state.Catalogue, id);
  Services& services = frame_.services();
  if (!AnyProtocolNeedsSpid(services.files, services.prompts, state.Script())) {
    view.DestroyControl(kSpidLabel);
    view.DestroyControl(kSpid);
  } else {
    SetItemText(view, state.Catalogue, kSpidLabel);
    view.SetTextLimit(kSpid, kSpidCharacters);
  }
  shown_ = 0;
}

void AdapterPage::FillAdapterList(std::uint32_t count) {
  if (!view_) return;
  view_->ComboClear(adapter_page::kAdapters);
  for (const ListEntry& entry : AdapterEntries(frame_.state().Catalogue, count))
    view_->ComboAdd(adapter_page::kAdapters, entry.text);
  view_->ComboSelect(adapter_page::kAdapters, 0);
}

void AdapterPage::FillProtocolList() {
  using namespace adapter_page;
  if (!view_) return;
  Services& services = frame_.services();
  ProgramState& state = frame_.state();
  view_->ComboClear(kProtocol);
  // Asked again until the script opens or the user gives up, leaving the list empty.
  const auto open = [&]() -> std::optional<OpenFile> {
    for (;;) {
      OpenFile script = OpenScript(services.files, state.Script());
      if (script.valid()) return script;
      const std::string text =
          FormatText(state.Catalogue.Text(text::ERR_FILENOTFOUND), {ScriptPath(state.Script())});
      if (services.prompts.AskAbortRetryIgnore(view_->Window(), text) != Prompts::kRetry)
        return std::nullopt;
    }
  };
  std::optional<OpenFile> script = open();
  if (!script) return;
  AddProtocolNames(std::move(*script), *view_, kProtocol);
  const std::uint32_t index = FindProtocolIndex(services.files, services.prompts, state.Script(),
                                                state.ServiceConfig.ImagePath.view());
  if (index != kNoProtocol)
    view_->ComboSelect(kProtocol, static_cast<int>(index));
  else
    view_->ComboSelect(kProtocol,
                       view_->ComboAdd(kProtocol, state.Catalogue.Text(text::TEXT_UNKNOWN_PROTO)));
}

namespace {

std::vector<ListEntry> StartEntries(const StringCatalogue& catalogue) {
  return CatalogueEntries(catalogue, kStartSlots);
}

std::vector<ListEntry> TestEntries(const StringCatalogue& catalogue) {
  return CatalogueEntries(catalogue, kTestSlots);
}

}  // namespace

void AdapterPage::FillStartList() {
  if (!view_) return;
  const ProgramState& state = frame_.state();
  FillValueList(*view_, adapter_page::kStart, StartEntries(state.Catalogue),
                state.ServiceConfig.Start);
}

void AdapterPage::FillTestList() {
  if (!view_) return;
  const ProgramState& state = frame_.state();
  FillValueList(*view_, adapter_page::kTest, TestEntries(state.Catalogue),
                state.ServiceConfig.Test);
}

void AdapterPage::EnableSpid(bool enabled) {
  if (!view_) return;
  view_->Enable(adapter_page::kSpid, enabled);
  view_->Enable(adapter_page::kSpidLabel, enabled);
}

void AdapterPage::CollectValues() {
  using namespace adapter_page;
  if (!view_) return;
  Services& services = frame_.services();
  ProgramState& state = frame_.state();
  DriverServiceConfig& config = state.ServiceConfig;
  config.Test = SelectedValue(*view_, kTest, TestEntries(state.Catalogue), config.Test);
  config.NumberOfControllers = AdapterCount();
  config.Start = SelectedValue(*view_, kStart, StartEntries(state.Catalogue), config.Start);
  const int protocol = view_->ComboSelection(kProtocol);
  if (protocol >= 0)
    GetScriptNewImagePath(services.files, services.prompts, state.Script(),
                          view_->ComboItemText(kProtocol, protocol), config.ImagePath);
}

std::uint32_t AdapterPage::AdapterCount() const {
  return view_ ? static_cast<std::uint32_t>(view_->ComboCount(adapter_page::kAdapters)) : 0;
}

bool AdapterPage::SpidEnabled() const {
  return view_ && view_->IsEnabled(adapter_page::kSpid);
}

void AdapterPage::SelectAdapter(int index) {
  using namespace adapter_page;
  if (!view_ || index < 0 || index >= static_cast<int>(kMaxAdapters)) return;
  ProgramState& state = frame_.state();
  const bool spid = SpidEnabled();
  state.ServiceConfig.NumberOfControllers = AdapterCount();
  std::vector<std::uint32_t> interrupts, bases;
  for (std::uint32_t i = 0; i < state.ServiceConfig.NumberOfControllers && i < kMaxAdapters; ++i) {
    if (static_cast<int>(i) == index) continue;
    interrupts.push_back(state.Adapters[i].Interrupt);
    bases.push_back(state.Adapters[i].BaseAddress);
  }
  view_->ComboSelect(kAdapters, index);
  shown_ = index;
  const AdapterConfig& adapter = state.Adapters[static_cast<std::size_t>(index)];
  FillValueList(*view_, kInterrupt, MarkedEntries(kInterrupts, "%lu", interrupts),
                adapter.Interrupt);
  FillValueList(*view_, kBaseAddress, MarkedEntries(kBaseAddresses, "%lX", bases),
                adapter.BaseAddress);
  if (spid) view_->SetText(kSpid, adapter.SPID.view());
}

void AdapterPage::StoreAdapterFields(int index) {
  using namespace adapter_page;
  if (!view_ || index < 0 || index >= static_cast<int>(kMaxAdapters)) return;
  AdapterConfig& adapter = frame_.state().Adapters[static_cast<std::size_t>(index)];
  adapter.BaseAddress = SelectedValue(*view_, kBaseAddress, NumberEntries(kBaseAddresses, "%lX"),
                                      adapter.BaseAddress);
  adapter.Interrupt =
      SelectedValue(*view_, kInterrupt, NumberEntries(kInterrupts, "%lu"), adapter.Interrupt);
  if (SpidEnabled()) adapter.SPID.Assign(view_->Text(kSpid));
}

// Checked before anything is stored: storing first would make the refused value the
// adapter's own.
void AdapterPage::RefuseValueInUse() {
  using namespace adapter_page;
  const AdapterConfig& adapter = frame_.state().Adapters[static_cast<std::size_t>(shown_)];
  for (const auto& [id, values, own] :
       {std::tuple{kBaseAddress, std::span<const std::uint32_t>(kBaseAddresses),
                   adapter.BaseAddress},
        std::tuple{kInterrupt, std::span<const std::uint32_t>(kInterrupts), adapter.Interrupt}}) {
    const int selected = view_->ComboSelection(id);
    if (selected < 0 || !view_->ComboItemText(id, selected).starts_with("(")) continue;
    // An unlisted own value has the entry after the listed ones.
    const auto it = std::find(values.begin(), values.end(), own);
    view_->ComboSelect(id, static_cast<int>(it - values.begin()));
  }
  StoreAdapterFields(shown_);
}

void AdapterPage::ChangeProtocol() {
  const int index = view_->ComboSelection(adapter_page::kAdapters);
  frame_.CollectPageValues();
  StoreAdapterFields(index);
  frame_.FillPages();
  SelectAdapter(index);
}

void AdapterPage::ChangeAdapterCount() {
  using namespace adapter_page;
  const std::uint32_t old = AdapterCount();
  const int selected = view_->ComboSelection(kAdapters);
  StoreAdapterFields(selected);
  RunControllerListDialog(frame_, *view_);
  const std::uint32_t count = AdapterCount();
  FillAdapterList(count);
  frame_.maintenancePage().FillControllerList(count);
  if (count > old) AssignNewAdapters(frame_.state().Adapters, count, old);
  if (count > 0) SelectAdapter(std::max(selected, 0) % static_cast<int>(count));
  frame_.ActivateFrame();
}

void AdapterPage::OnCommand(DialogView&, int id, int code) {
  using namespace adapter_page;
  if (id == kChange && code == 0) return ChangeAdapterCount();
  if (id == kSpid && code == kEditChanged) {
    if (view_->IsModified(kSpid)) frame_.MarkChanged();
    RefuseCharacters(*view_, kSpid, kSpidRefused);
  }
  if (code != kSelectionChanged) return;
  switch (id) {
    case kProtocol:
      frame_.MarkChanged();
      ChangeProtocol();
      break;
    case kAdapters:
      StoreAdapterFields(shown_);
      SelectAdapter(view_->ComboSelection(kAdapters));
      break;
    case kStart:
    case kTest:
      frame_.MarkChanged();
      break;
    case kBaseAddress:
    case kInterrupt:
      frame_.MarkChanged();
      RefuseValueInUse();
      break;
    default:
      break;
  }
}

}  // namespace setup
