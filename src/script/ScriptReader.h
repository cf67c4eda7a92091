#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Files.h"
#include "platform/FixedText.h"
#include "platform/Prompts.h"

namespace setup {

// Where a setup script lies: its directory and its file name inside it.
struct ScriptLocation {
  std::string_view directory;
  std::string_view fileName;
};

// Reads the next line (ended by a carriage return) of an open file. Returns 1 for a line,
// 0 at end of file, when `buffer` holds whatever followed the last carriage return.
int ReadScriptLine(OpenFile& file, LineText& buffer);
// Why a line's text in the buffer is not the whole line: it was longer than 259 bytes and
// lost its tail, or a NUL byte in it ends the text early and hides the rest.
enum class LineFault { None, TooLong, HoldsNul };
// The same, telling the first fault of the line, for readers that must refuse such a line
// rather than use part of it.
int ReadScriptLine(OpenFile& file, LineText& buffer, LineFault& fault);

// Reads forward to the line equal to `key` and reads the line after it into `buffer`;
// reports "Section not found: %s" and leaves `buffer` alone when the file ends first.
void FindSection(OpenFile& file, std::string_view key, LineText& buffer, Prompts& prompts);

// Opens the script read-only by its collapsed path.
OpenFile OpenScript(Files& files, const ScriptLocation& script);
// Reads lines until one equals `header` (case-sensitive, whole line); false at end of file.
bool FindHeader(OpenFile& file, std::string_view header);

// Drops the first of every two backslashes in a row.
void CollapseBackslashes(PathText& path);
// The same on a text of any length, for a caller that must know whether the result fits.
std::string CollapsedBackslashes(std::string_view path);

// "%s\%s" of two parts, not collapsed; nothing when the path does not fit.
std::optional<std::string> JoinPath(std::string_view directory, std::string_view name);
// The parts joined by one backslash each: an empty part (a subdirectory field left empty) and
// a drive root's own backslash add none, and a network path's leading pair stays. Not cut, so
// the caller can tell a path that does not fit from one that does.
std::string JoinPathParts(std::initializer_list<std::string_view> parts);
// "%s\%s", then CollapseBackslashes; whole, to be shown even when it does not fit.
std::string ScriptPath(const ScriptLocation& script);

// A value line read as a number: leading blanks, an optional sign, decimal digits up to the
// first other character; 0 without digits. A minus sign wraps modulo 2^32.
std::uint32_t ReadUnsignedNumber(std::string_view line);
std::int32_t ReadNumber(std::string_view line);

// [OS]: 2 Windows NT, 1 Windows 95 family, 0 Win32s or anything else.
int ReadTargetPlatform(Files& files, const ScriptLocation& script);
// [CURRENTCAPIDLL]: 1 and the file name in `buffer`, or 0 with `buffer` unchanged.
int ReadCurrentCapiDll(Files& files, const ScriptLocation& script, LineText& buffer);
// [VERSION] of the script in `script.directory` (joined without collapsing), 0 when absent.
std::uint32_t ReadScriptVersion(Files& files, const ScriptLocation& script);

}  // namespace setup
