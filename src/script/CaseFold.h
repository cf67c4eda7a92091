#pragma once

#include <string_view>

namespace setup {

// Lower case of one byte as Windows folds it in the ANSI code page Windows-1252: A-Z, the
// accented capitals À-Þ (not the multiplication sign) and Š Œ Ž Ÿ.
char FoldCase(char c);

// Language names, file paths, group names and AutoExec.NT lines all compare this way.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace setup
