#pragma once

#include <string_view>

#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Reads the switches /f<script>, /l<language>, /c and /d (also with '-', any case) into
// ScriptFileName, LanguageName and StartMode, and those of the unattended run: /s, /a<answer
// file>, /o<log file>. Later switches win.
void ParseCommandLine(ProgramState& state, std::string_view text);

// Whether the command line holds /s.
bool SilentRequested(std::string_view text);

// LanguageIndex = the first table entry whose display name equals LanguageName, ignoring
// case; 0 when there is none.
void FindLanguage(ProgramState& state);

// The program's file name relative to the current directory it was started from: the module
// path less the current directory with a backslash appended, when it begins with that
// (ignoring case); otherwise the module's file name alone.
void DeriveSetupFileName(std::string_view currentDirectory, std::string_view modulePath,
                         PathText& setupFileName);

// 1 when the user may change HKEY_LOCAL_MACHINE\SOFTWARE and write to the system directory;
// otherwise shows [ERR_NORIGHTS] owned by `owner` and returns 0.
int CheckAdminRights(Services& services, const ProgramState& state, WindowRef owner);

}  // namespace setup
