#pragma once

#include <array>
#include <string_view>

#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// AutoExec.NT in the system directory loads the DOS CAPI support program into every DOS
// session through this block; its lines match whole, ignoring case.
inline constexpr std::array<std::string_view, 3> kAutoexecBlock = {
    "REM --- KVX Setup for WindowsNT BEGIN ---",
    "lh %SystemRoot%\\system\\isdntsr.exe",
    "REM --- KVX Setup for WindowsNT END ---",
};
inline constexpr std::string_view kAutoexecName = "AutoExec.NT";
// Beside AutoExec.NT, so that the finished copy can be renamed over it.
inline constexpr std::string_view kAutoexecTemporary = "AutoTmp.$$$";

// Appends the block, after an empty line, at the end of AutoExec.NT unless its first or
// second line is there already. 1 when done or nothing to do; 0 after a message when the
// file cannot be opened (it is never created) or written.
int InsertAutoexecBlock(Services& services, const ProgramState& state);

// Takes every block line out of AutoExec.NT when its first or second line is there; every
// other byte stays as it was. The file is replaced only by a complete copy. 1 when done or
// nothing to do, a missing file included; 0 after a message, with AutoExec.NT untouched.
int RemoveAutoexecBlock(Services& services, const ProgramState& state);

}  // namespace setup
