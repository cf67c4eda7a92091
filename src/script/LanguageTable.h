#pragma once

#include <array>
#include <cstdint>

#include "platform/Files.h"
#include "platform/FixedText.h"
#include "platform/Prompts.h"
#include "script/ScriptReader.h"

namespace setup {

inline constexpr int kMaxLanguages = 16;

struct LanguageTable {
  std::int32_t count = 0;  // never more than kMaxLanguages
  std::array<FixedText<64>, kMaxLanguages> displayNames{};
  std::array<PathText, kMaxLanguages> fileNames{};
};

// Fills `table` from the [LANGUAGE] section. 0 after "Can't find SETUPINFOFILE!" when the
// script cannot be opened (table untouched), 1 otherwise.
int ReadLanguageTable(Files& files, Prompts& prompts, const ScriptLocation& script,
                      LanguageTable& table);

}  // namespace setup
