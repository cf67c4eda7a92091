#include "script/LanguageTable.h"

#include <algorithm>

namespace setup {

int ReadLanguageTable(Files& files, Prompts& prompts, const ScriptLocation& script,
                      LanguageTable& table) {
  OpenFile file = OpenScript(files, script);
  if (!file.valid()) {
    prompts.ShowErrorBox(kNoWindow, "Can't find SETUPINFOFILE!");
    return 0;
  }
  table.count = 0;
  if (!FindHeader(file, "[LANGUAGE]")) return 1;

  LineText line;
  ReadScriptLine(file, line);
  // The script's count is not trusted: languages past the table's capacity are ignored.
  table.count = std::clamp(ReadNumber(line.view()), 0, kMaxLanguages);
  for (std::size_t i = 0; i < static_cast<std::size_t>(table.count); ++i) {
    ReadScriptLine(file, line);
    table.displayNames[i].Assign(line.view());
    ReadScriptLine(file, table.fileNames[i]);
  }
  return 1;
}

}  // namespace setup
