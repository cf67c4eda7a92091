#include "script/ScriptReader.h"

#include <array>
#include <string>

namespace setup {
namespace {

constexpr unsigned char kCarriageReturn = 13;
constexpr unsigned char kSoftBreak = 0xAF;

// Big enough for most lines in one read, small enough that re-reading the tail is cheap.
constexpr std::int32_t kChunkBytes = 256;

// "%s\%s".
std::string Joined(std::string_view directory, std::string_view name) {
  std::string joined(directory);
  joined.push_back('\\');
  joined.append(name);
  return joined;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int ReadScriptLine(OpenFile& file, LineText& buffer) {
  LineFault fault = LineFault::None;
  return ReadScriptLine(file, buffer, fault);
}

int ReadScriptLine(OpenFile& file, LineText& buffer, LineFault& fault) {
  fault = LineFault::None;
  const auto found = [&fault](LineFault f) {
    if (fault == LineFault::None) fault = f;
  };
  std::array<char, kPathBytes> line;
  std::size_t stored = 0;
  std::array<char, kChunkBytes> chunk;
  for (;;) {
    const std::int32_t got = file.files().Read(file.handle(), chunk.data(), kChunkBytes);
    if (got <= 0) {
      buffer.Assign(std::string_view(line.data(), stored));
      return 0;
    }
    for (std::int32_t i = 0; i < got; ++i) {
      const auto byte = static_cast<unsigned char>(chunk[static_cast<std::size_t>(i)]);
      if (byte == kCarriageReturn) {
        buffer.Assign(std::string_view(line.data(), stored));
        // Back to where a byte-by-byte reader would stand: past the carriage return and the
        // byte after it, which is skipped unseen (also when the file ends there).
        file.files().Seek(file.handle(), i + 2 - got, Files::Origin::Current);
        return 1;
      }
      // A line longer than 259 bytes is cut; the rest of it up to its carriage return is
      // dropped, so the next call still starts at the next line.
      if (byte == 0) found(LineFault::HoldsNul);
      if (stored < kPathBytes - 1)
        line[stored++] = byte == kSoftBreak ? '\n' : char(byte);
      else
        found(LineFault::TooLong);
    }
  }
}

bool FindHeader(OpenFile& file, std::string_view header) {
  LineText line;
  LineFault fault = LineFault::None;
  // A header followed by a NUL and more is not the header, though its text reads the same.
  while (ReadScriptLine(file, line, fault))
    if (fault == LineFault::None && line == header) return true;
  return false;
}

void FindSection(OpenFile& file, std::string_view key, LineText& buffer, Prompts& prompts) {
  if (FindHeader(file, key)) {
    ReadScriptLine(file, buffer);
    return;
  }
  // The key is data, never a format: it is appended, not substituted.
  std::string message = "Section not found: ";
  message.append(key);
  prompts.ShowErrorBox(kNoWindow, message);
}

std::string CollapsedBackslashes(std::string_view path) {
  std::string collapsed;
  collapsed.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '\\' && i + 1 < path.size() && path[i + 1] == '\\') ++i;
    collapsed.push_back(path[i]);
  }
  return collapsed;
}

void CollapseBackslashes(PathText& path) {
  path.Assign(CollapsedBackslashes(path.view()));
}

std::string JoinPathParts(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (std::string_view part : parts) {
    if (part.empty()) continue;
    const bool slashBetween = !joined.empty() && joined.back() == '\\';
    if (!joined.empty() && !slashBetween && part.front() != '\\') joined.push_back('\\');
    if (slashBetween && part.front() == '\\') part.remove_prefix(1);
    joined.append(part);
  }
  return joined;
}

std::optional<std::string> JoinPath(std::string_view directory, std::string_view name) {
  std::string joined = Joined(directory, name);
  if (!FitsPath(joined)) return std::nullopt;
  return joined;
}

std::string ScriptPath(const ScriptLocation& script) {
  return CollapsedBackslashes(Joined(script.directory, script.fileName));
}

OpenFile OpenScript(Files& files, const ScriptLocation& script) {
  const std::string path = ScriptPath(script);
  return FitsPath(path) ? OpenForReading(files, path) : OpenFile(files, Files::kInvalid);
}

std::uint32_t ReadUnsignedNumber(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
  // Unsigned arithmetic wraps modulo 2^32, however long the digit string.
  std::uint32_t value = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
    value = value * 10u + static_cast<std::uint32_t>(line[i] - '0');
  return negative ? 0u - value : value;
}

std::int32_t ReadNumber(std::string_view line) {
  return static_cast<std::int32_t>(ReadUnsignedNumber(line));
}

int ReadTargetPlatform(Files& files, const ScriptLocation& script) {
  OpenFile file = OpenScript(files, script);
  if (!file.valid() || !FindHeader(file, "[OS]")) return 0;
  LineText value;
  ReadScriptLine(file, value);
  if (value == "!OS_WINDOWS_NT") return 2;
  if (value == "!OS_WINDOWS_95") return 1;
  return 0;  // "!OS_WINDOWS_16" and anything unknown alike
}

int ReadCurrentCapiDll(Files& files, const ScriptLocation& script, LineText& buffer) {
  OpenFile file = OpenScript(files, script);
  if (!file.valid() || !FindHeader(file, "[CURRENTCAPIDLL]")) return 0;
  ReadScriptLine(file, buffer);
  return 1;
}

std::uint32_t ReadScriptVersion(Files& files, const ScriptLocation& script) {
  const std::optional<std::string> path = JoinPath(script.directory, script.fileName);
  if (!path) return 0;
  OpenFile file = OpenForReading(files, *path);
  if (!file.valid() || !FindHeader(file, "[VERSION]")) return 0;
  LineText value;
  ReadScriptLine(file, value);
  return ReadUnsignedNumber(value.view());
}

}  // namespace setup
