#pragma once

#include <array>
#include <string_view>

#include "platform/Dialog.h"
#include "platform/Files.h"
#include "platform/FixedText.h"
#include "platform/Prompts.h"
#include "script/CatalogueKeys.h"
#include "script/LanguageTable.h"

namespace setup {

// The texts of the current language, one 260-byte slot per key.
class StringCatalogue {
 public:
  // Empty for a slot number outside the catalogue.
  std::string_view Text(int slot) const;
  void SetText(int slot, std::string_view text);
  LineText* Slot(int slot);

 private:
  std::array<LineText, kCatalogueSlotCount> slots_{};
};

// Loads every key of language `languageIndex` from its file in `sourceDir`, and the program's
// own texts, in English where the file lacks them. 1 when the file was opened; 0 after
// "Language is not supported!", with the catalogue unchanged.
int LoadStringCatalogue(Files& files, Prompts& prompts, std::string_view sourceDir,
                        const LanguageTable& table, int languageIndex, StringCatalogue& catalogue);

void SetCaptionText(DialogView& view, const StringCatalogue& catalogue, int slot);
void SetItemText(DialogView& view, const StringCatalogue& catalogue, int id);
void SetItemTextFrom(DialogView& view, const StringCatalogue& catalogue, int id, int slot);

}  // namespace setup
