#include "script/StringCatalogue.h"

namespace setup {
namespace {

bool IsSlot(int slot) {
  return slot >= 0 && slot < kCatalogueSlotCount;
}

}  // namespace

std::string_view StringCatalogue::Text(int slot) const {
  return IsSlot(slot) ? slots_[static_cast<std::size_t>(slot)].view() : std::string_view();
}

void StringCatalogue::SetText(int slot, std::string_view text) {
  if (LineText* target = Slot(slot)) target->Assign(text);
}

LineText* StringCatalogue::Slot(int slot) {
  return IsSlot(slot) ? &slots_[static_cast<std::size_t>(slot)] : nullptr;
}

void SetCaptionText(DialogView& view, const StringCatalogue& catalogue, int slot) {
  view.SetCaption(catalogue.Text(slot));
}

void SetItemText(DialogView& view, const StringCatalogue& catalogue, int id) {
  SetItemTextFrom(view, catalogue, id, id);
}

void SetItemTextFrom(DialogView& view, const StringCatalogue& catalogue, int id, int slot) {
  view.SetText(id, catalogue.Text(slot));
}

}  // namespace setup
