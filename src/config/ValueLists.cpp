#include "config/ValueLists.h"

#include <algorithm>

#include "script/CatalogueKeys.h"
#include "script/SafeFormat.h"

namespace setup {
namespace {

std::uint32_t ParseHex(std::string_view text) {
  std::uint32_t value = 0;
  for (char c : text) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                             : -1;
    if (digit < 0) break;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

}  // namespace

std::vector<ListEntry> CatalogueEntries(const StringCatalogue& catalogue,
                                        std::span<const int> slots) {
  std::vector<ListEntry> entries;
  for (int slot : slots)
    entries.push_back(
        {std::string(catalogue.Text(slot)), static_cast<std::uint32_t>(entries.size())});
  return entries;
}

std::vector<ListEntry> NumberEntries(std::span<const std::uint32_t> values, const char* format) {
  std::vector<ListEntry> entries;
  for (std::uint32_t value : values) entries.push_back({FormatText(format, {value}), value});
  return entries;
}

std::vector<ListEntry> CountingEntries(std::uint32_t count, const char* format) {
  std::vector<std::uint32_t> values(count);
  for (std::uint32_t i = 0; i < count; ++i) values[i] = i;
  return NumberEntries(values, format);
}

void FillValueList(DialogView& view, int id, std::span<const ListEntry> entries,
                   std::uint32_t value) {
  view.ComboClear(id);
  for (const ListEntry& entry : entries) view.ComboAdd(id, entry.text);
  const auto it = std::find_if(entries.begin(), entries.end(),
                               [value](const ListEntry& e) { return e.value == value; });
  if (it != entries.end())
    view.ComboSelect(id, static_cast<int>(it - entries.begin()));
  else
    view.ComboSelect(id, view.ComboAdd(id, FormatText("%X (!)", {value})));
}

std::uint32_t SelectedValue(const DialogView& view, int id, std::span<const ListEntry> entries,
                            std::uint32_t current) {
  const int selected = view.ComboSelection(id);
  if (selected < 0) return current;
  if (static_cast<std::size_t>(selected) < entries.size())
    return entries[static_cast<std::size_t>(selected)].value;
  return ParseHex(view.ComboItemText(id, selected));
}

std::vector<ListEntry> AdapterEntries(const StringCatalogue& catalogue, std::uint32_t count) {
  std::vector<ListEntry> entries;
  for (std::uint32_t k = 1; k <= count; ++k)
    entries.push_back(
        {FormatText("%s %d", {catalogue.Text(text::TEXT_ADAPTER), static_cast<std::int32_t>(k)}),
         k - 1});
  return entries;
}

void RefuseCharacters(DialogView& view, int id, std::string_view refused) {
  if (!view.IsModified(id)) return;
  const std::string typed = view.Text(id);
  const auto caret = static_cast<std::size_t>(std::max(view.Caret(id), 0));
  std::string kept;
  std::size_t keptBeforeCaret = 0;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    if (refused.find(typed[i]) != std::string_view::npos) continue;
    kept += typed[i];
    if (i < caret) ++keptBeforeCaret;
  }
  if (kept.size() == typed.size()) return;
  // Setting the text puts the caret at the start, where the next key would land.
  view.SetText(id, kept);
  view.SetCaret(id, static_cast<int>(keptBeforeCaret));
}

}  // namespace setup
