#include "app/CommandLine.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

#include "script/CaseFold.h"
#include "script/CatalogueKeys.h"

namespace setup {
namespace {

// The command line is worked on as a copy of this many characters at most.
constexpr std::size_t kCommandLineChars = 127;

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Calls visit(option, value) for each switch in order: the option letter folded to lower
// case, and for the letters that take one the text up to the next blank.
template <class Visit>
void ForEachSwitch(std::string_view text, Visit visit) {
  const std::string_view line = text.substr(0, std::min(text.size(), kCommandLineChars));
  std::size_t i = 0;
  while (i < line.size()) {
    const bool isSwitch =
        (line[i] == '/' || line[i] == '-') && i + 1 < line.size() && IsLetter(line[i + 1]);
    if (!isSwitch) {
      ++i;
      continue;
    }
    const char option = FoldCase(line[i + 1]);
    i += 2;
    std::string_view value;
    if (option == 'f' || option == 'l' || option == 'a' || option == 'o') {
      const std::size_t end = std::min(line.find_first_of(" \t", i), line.size());
      value = line.substr(i, end - i);
      i = end;
    }
    visit(option, value);
  }
}

}  // namespace

void ParseCommandLine(ProgramState& state, std::string_view text) {
  ForEachSwitch(text, [&state](char option, std::string_view value) {
    switch (option) {
      case 'f':
        return state.ScriptFileName.Assign(value);
      case 'l':
        return state.LanguageName.Assign(value);
      case 'a':
        return state.AnswerFileName.Assign(value);
      case 'o':
        return state.LogFileName.Assign(value);
      case 'c':
        state.StartMode = 1;
        return;
      case 'd':
        state.StartMode = 2;
        return;
      case 's':
        state.Silent = 1;
        return;
      default:
        state.UnknownSwitch = 1;
    }
  });
}

bool SilentRequested(std::string_view text) {
  bool silent = false;
  ForEachSwitch(text, [&silent](char option, std::string_view) { silent |= option == 's'; });
  return silent;
}

void FindLanguage(ProgramState& state) {
  state.LanguageIndex = 0;
  // Without /l there is nothing to look for; an entry without a display name must not match.
  if (state.LanguageName.empty()) return;
  const int count = std::min(state.Languages.count, kMaxLanguages);
  for (int i = 0; i < count; ++i) {
    if (EqualIgnoringCase(state.LanguageName.view(),
                          state.Languages.displayNames[static_cast<std::size_t>(i)].view())) {
      state.LanguageIndex = i;
      return;
    }
  }
}

void DeriveSetupFileName(std::string_view currentDirectory, std::string_view modulePath,
                         PathText& setupFileName) {
  // A drive root already ends in a backslash; collapsing keeps it from counting twice.
  const std::string directory = CollapsedBackslashes(std::string(currentDirectory) + '\\');
  // Started from elsewhere, the module path's own directory is not the current one: cutting
  // it at the current directory's length would give a name that is no file at all.
  const bool inDirectory = modulePath.size() > directory.size() &&
                           EqualIgnoringCase(modulePath.substr(0, directory.size()), directory);
  setupFileName.Assign(inDirectory ? modulePath.substr(directory.size())
                                   : modulePath.substr(modulePath.find_last_of('\\') + 1));
}

int CheckAdminRights(Services& services, const ProgramState& state, WindowRef owner) {
  bool passed = OpenKey(services.registry, "SOFTWARE", Registry::Access::All).ok();

  // Without a probe path that fits there is no file to try: the check fails.
  const std::optional<std::string> probe =
      JoinPath(services.system.SystemDirectory(), "KVXCheck.$$$");
  const Files::Handle file = probe ? services.files.Create(*probe) : Files::kInvalid;
  if (file == Files::kInvalid) {
    passed = false;
  } else {
    services.files.Close(file);
    // A probe that stays would be left in the system directory for good.
    passed = services.files.Delete(*probe) && passed;
  }

  if (passed) return 1;
  services.prompts.ShowMessage(owner, state.Catalogue.Text(text::ERR_NORIGHTS));
  return 0;
}

}  // namespace setup
