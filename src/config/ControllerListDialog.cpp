#include "config/ControllerListDialog.h"

#include <algorithm>
#include <span>
#include <vector>

#include "config/AdapterPage.h"
#include "config/ConfigDialog.h"
#include "config/ValueLists.h"
#include "script/CatalogueKeys.h"
#include "sysconfig/ServiceConfig.h"

namespace setup {
namespace {

using notification::kClicked;

// The first value of the table, from `value` on wrapping round, that is not in `used`.
std::uint32_t FirstFree(std::uint32_t value, std::span<const std::uint32_t> table,
                        std::vector<std::uint32_t>& used) {
  const auto inUse = [&used](std::uint32_t v) {
    return std::find(used.begin(), used.end(), v) != used.end();
  };
  for (std::size_t next = 0; inUse(value) && next < table.size(); ++next) value = table[next];
  used.push_back(value);
  return value;
}

}  // namespace

void ControllerListDialog::OnInit(DialogView& view) {
  using namespace controller_list_dialog;
  const StringCatalogue& catalogue = frame_.state().Catalogue;
  view.Centre();
  SetCaptionText(view, catalogue, text::DLG_CHG_CAPTION);
  SetItemTextFrom(view, catalogue, kOk, text::BUTTON_OK);
  SetItemTextFrom(view, catalogue, kCancel, text::BUTTON_CANCEL);
  SetItemText(view, catalogue, kHeading);
  SetItemTextFrom(view, catalogue, kAdd, text::BUTTON_ADD);
  SetItemTextFrom(view, catalogue, kRemove, text::BUTTON_REMOVE);
  const auto count = static_cast<std::uint32_t>(adapterPage_.ComboCount(adapter_page::kAdapters));
  for (const ListEntry& entry : AdapterEntries(catalogue, count)) view.ListAdd(kList, entry.text);
  EnableButtons(view, view.ListCount(kList));
}

void ControllerListDialog::EnableButtons(DialogView& view, int count) {
  view.Enable(controller_list_dialog::kAdd, count < static_cast<int>(kMaxAdapters));
  view.Enable(controller_list_dialog::kRemove, count > 1);
}

void ControllerListDialog::OnCommand(DialogView& view, int id, int code) {
  using namespace controller_list_dialog;
  if (code != kClicked) return;
  const int count = view.ListCount(kList);
  if (id == kAdd && count < static_cast<int>(kMaxAdapters)) {
    view.ListAdd(kList,
                 AdapterEntries(frame_.state().Catalogue, static_cast<std::uint32_t>(count) + 1)
                     .back()
                     .text);
  } else if (id == kRemove && count > 1) {
    view.ListDelete(kList, count - 1);
  } else if (id == kOk && count >= 1) {
    adapterPage_.ComboClear(adapter_page::kAdapters);
    for (int i = 0; i < count; ++i)
      adapterPage_.ComboAdd(adapter_page::kAdapters, view.ListItemText(kList, i));
    frame_.MarkChanged();
    return view.End(1);
  } else if (id == kCancel) {
    return view.End(0);
  }
  EnableButtons(view, view.ListCount(kList));
}

void RunControllerListDialog(ConfigFrame& frame, DialogView& adapterPage) {
  ControllerListDialog dialog(frame, adapterPage);
  if (frame.services().host.RunModal("DLG_chctl", adapterPage.Window(), dialog) == -1)
    frame.services().prompts.ShowErrorBox(adapterPage.Window(),
                                          "Unable to open Adapters' Content dialog!");
}

void AssignNewAdapters(AdapterTable& adapters, std::uint32_t newCount, std::uint32_t oldCount) {
  newCount = std::min<std::uint32_t>(newCount, kMaxAdapters);
  std::vector<std::uint32_t> interrupts, bases;
  for (std::uint32_t i = 0; i < oldCount && i < newCount; ++i) {
    interrupts.push_back(adapters[i].Interrupt);
    bases.push_back(adapters[i].BaseAddress);
  }
  for (std::uint32_t i = oldCount; i < newCount; ++i) {
    AdapterConfig& adapter = adapters[i];
    InitAdapterDefaults(adapter);
    adapter.Interrupt = FirstFree(adapter.Interrupt, kInterrupts, interrupts);
    adapter.BaseAddress = FirstFree(adapter.BaseAddress, kBaseAddresses, bases);
  }
}

}  // namespace setup
