#pragma once

#include <string_view>

#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Results of TransferFile and what a batch makes of them.
inline constexpr int kTransferred = 1;  // also: left alone by the user's choice
inline constexpr int kSkipped = 0;      // the file counts as done
inline constexpr int kAborted = -1;     // stop everything
inline constexpr int kIgnored = -3;     // go on; the batch reports 0

// Copies (expand false) or expands one file after the checks a user expects: the source
// is there, a write-protected target is replaced only when the user says so, a target newer
// than its source only after asking (unless OverwriteAll). A path longer than 259 characters
// is that file's failure. The new file replaces its target only once it is complete, and
// without the read-only bit that a copy from a CD brings along.
int TransferFile(Services& services, ProgramState& state, WindowRef owner, std::string_view source,
                 std::string_view target, bool expand);

// Creates a directory and every missing one above it; failures show later, as failed copies.
void CreatePath(Services& services, const ProgramState& state, WindowRef progress,
                std::string_view path);

// The batches of an install. Each returns 1 when every file was done, 0 when one was
// ignored or the script's list of them was refused, -1 when the user aborted or cancelled
// (at the file concerned).
int CopySetupFiles(Services& services, ProgramState& state, WindowRef progress, WindowRef owner,
                   std::string_view sourceDir, std::string_view destDir);
int InstallAddFiles(Services& services, ProgramState& state, WindowRef progress, WindowRef owner,
                    std::string_view sourceDir, std::string_view destDir);
// The list comes from the script in `scriptDir`; the files from SourceDir, into the Windows
// directory and below InstallDestDir.
int InstallCompFiles(Services& services, ProgramState& state, WindowRef progress, WindowRef owner,
                     std::string_view scriptDir);

}  // namespace setup
