#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "script/StringCatalogue.h"

namespace setup {

// One entry of a drop-down list of the configuration pages and the value it stands for.
struct ListEntry {
  std::string text;
  std::uint32_t value;
};

// Entry i is the catalogue text of slots[i] and stands for i.
std::vector<ListEntry> CatalogueEntries(const StringCatalogue& catalogue,
                                        std::span<const int> slots);
// Entry i shows values[i] by `format` ("%lu", "%lX", "%02X").
std::vector<ListEntry> NumberEntries(std::span<const std::uint32_t> values, const char* format);
std::vector<ListEntry> CountingEntries(std::uint32_t count, const char* format);

// Fills the list and selects `value`. A value the list lacks gets an entry "%X (!)" of its
// own at the end, which keeps it when taken back.
void FillValueList(DialogView& view, int id, std::span<const ListEntry> entries,
                   std::uint32_t value);
// The value of the selected entry; `current` when nothing is selected or the list is gone.
std::uint32_t SelectedValue(const DialogView& view, int id, std::span<const ListEntry> entries,
                            std::uint32_t current);

// The adapter entries "Adapter 1" .. "Adapter n".
std::vector<ListEntry> AdapterEntries(const StringCatalogue& catalogue, std::uint32_t count);

// Takes the `refused` characters out of what the user typed or pasted into an edit field,
// leaving the caret where it was among the characters kept. A text the program set is left
// as it is.
void RefuseCharacters(DialogView& view, int id, std::string_view refused);

}  // namespace setup
