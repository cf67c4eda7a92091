#include "script/StringCatalogue.h"

#include <algorithm>

#include "script/ScriptReader.h"

namespace setup {
namespace {

bool IsSlot(int slot) {
  return slot >= 0 && slot < kCatalogueSlotCount;
}

// An index outside the table, or an entry without a file name (which would name the
// directory itself), is a language whose file is missing.
OpenFile OpenLanguageFile(Files& files, std::string_view sourceDir, const LanguageTable& table,
                          int languageIndex) {
  if (languageIndex < 0 || languageIndex >= std::min(table.count, kMaxLanguages))
    return OpenFile(files, Files::kInvalid);
  const PathText& name = table.fileNames[static_cast<std::size_t>(languageIndex)];
  if (name.empty()) return OpenFile(files, Files::kInvalid);
  return OpenScript(files, {sourceDir, name.view()});
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

int LoadStringCatalogue(Files& files, Prompts& prompts, std::string_view sourceDir,
                        const LanguageTable& table, int languageIndex, StringCatalogue& catalogue) {
  prompts.ShowWaitCursor(true);
  OpenFile file = OpenLanguageFile(files, sourceDir, table, languageIndex);
  if (!file.valid()) {
    prompts.ShowWaitCursor(false);
    prompts.ShowErrorBox(kNoWindow, "Language is not supported!");
    return 0;
  }
  // One pass from the top: a key missing or out of order leaves the file at its end, and
  // every later key then fails with its own message, keeping its slot's old text.
  for (const CatalogueKey& key : kCatalogueKeys)
    FindSection(file, key.key, *catalogue.Slot(key.slot), prompts);
  for (const OwnCatalogueKey& own : kOwnCatalogueKeys) {
    LineText& text = *catalogue.Slot(own.key.slot);
    if (FindHeader(file, own.key.key))
      ReadScriptLine(file, text);
    else
      text.Assign(own.english);
  }
  prompts.ShowWaitCursor(false);
  return 1;
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
