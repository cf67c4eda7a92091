#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Services.h"
#include "script/CatalogueKeys.h"
#include "state/ProgramState.h"
#include "support/FakeDialog.h"
#include "support/FakePrompts.h"
#include "support/FixedSystemInfo.h"
#include "support/MemoryRegistry.h"
#include "support/RecordingProgramGroups.h"
#include "support/SandboxFiles.h"
#include "support/SzddExpander.h"

namespace setup {

// Everything the application shell runs on, as doubles: a Windows NT 4.0 system whose user
// has administrator rights, with the program started from the medium in drive A.
struct AppWorld {
  static constexpr const char* kMedium = "A:\\";

  AppWorld();

  // SETUP.KVX for `platform` ("!OS_WINDOWS_NT", ...) offering English (ENG.TXT) and
  // Deutsch (GER.TXT), with both language files, and the program group "Velmar" whose one
  // item configures in the language of its block.
  void PutMedium(std::string_view platform = "!OS_WINDOWS_NT");
  // Ends the intro window when the main dialog opens it.
  void SkipIntro();

  SandboxFiles files;
  SzddExpander expander{files};
  FixedSystemInfo system;
  MemoryRegistry registry;
  FakePrompts prompts;
  FakeDialogHost host;
  RecordingProgramGroups programGroups;
  Services services{files, expander, system, registry, prompts, host, programGroups};
  std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
};

// Lines ended with CR LF, as the script and the language files have them.
std::string CrLfLines(std::initializer_list<std::string_view> lines);
// The same, written as one text with '|' for each line end; the last line is ended too.
std::string Piped(std::string_view lines);
// A language file holding the first `keys` catalogue keys, each after a comment line, and the
// program's own keys; the text of a key is `tag`, a blank and the key, so that
// LanguageText(tag, slot) tells which file a text came from.
std::string LanguageFile(std::string_view tag, std::size_t keys = kCatalogueKeyCount);
std::string LanguageText(std::string_view tag, int slot);
// An SZDD file made of literal runs only: a control byte of eight 1-bits before every eight
// bytes. Compressors write such runs for data that does not repeat.
std::string Szdd(std::string_view data);
// A catalogue as loaded from LanguageFile(tag).
void FillCatalogue(StringCatalogue& catalogue, std::string_view tag);

}  // namespace setup
