#include "script/Protocols.h"

#include <algorithm>
#include <string>

#include "script/CaseFold.h"

namespace setup {
namespace {

// The lines of a section in order, each read whole into a full line buffer so that a long
// one is cut to its field rather than spilling into the next line.
class SectionLines {
 public:
  explicit SectionLines(OpenFile& file) : file_(file) {}

  std::string_view Next() {
    ended_ = ReadScriptLine(file_, line_, fault_) == 0 && line_.empty();
    return line_.view();
  }
  // The last read found no line: the file had ended before it.
  bool ended() const { return ended_; }
  // The last line's text is not all of it: too long for a line buffer, or a NUL hid its tail.
  bool cut() const { return fault_ != LineFault::None; }

 private:
  OpenFile& file_;
  LineText line_;
  bool ended_ = false;
  LineFault fault_ = LineFault::None;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A flags line as a base-16 conversion of the C library reads it: leading blanks, an
// optional sign and "0x", hexadecimal digits up to the first other character; modulo 2^32.
std::uint32_t ReadHexNumber(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
  if (line.substr(i, 2) == "0x" || line.substr(i, 2) == "0X") i += 2;
  std::uint32_t value = 0;
  for (int digit; i < line.size() && (digit = HexDigit(line[i])) >= 0; ++i)
    value = value * 16u + static_cast<std::uint32_t>(digit);
  return negative ? 0u - value : value;
}

// Reads a count line and then at most as many entries as the list holds; the number read.
template <std::size_t N>
std::uint32_t ReadPartyNumbers(SectionLines& lines, std::array<PartyNumber, N>& list) {
  const std::uint32_t count = std::min<std::uint32_t>(ReadUnsignedNumber(lines.Next()), N);
  std::uint32_t read = 0;
  while (read < count) {
    const std::string_view line = lines.Next();
    if (lines.ended()) break;
    list[read++].Assign(line);
  }
  return read;
}

std::string ScriptNotFoundAt(const ScriptLocation& script) {
  // The path is data, never a format: it is appended, not substituted.
  std::string message = "Can't find SETUPINFOFILE! at ";
  message.append(ScriptPath(script));
  return message;
}

// The script; when it cannot be opened, `message` is shown and the reader finds nothing.
OpenFile OpenScriptOrSay(Files& files, Prompts& prompts, const ScriptLocation& script,
                         std::string_view message) {
  OpenFile file = OpenScript(files, script);
  if (!file.valid()) prompts.ShowMessage(kNoWindow, message);
  return file;
}

// Walks the entries of [PROTOCOL] in `file`: `visit(name, lines, index)` gets each display
// name and reads the entry's two other lines itself unless it stops the walk by returning
// true. The count line is signed, so a negative count visits nothing; the entries also end
// with the file. Whether the walk was stopped.
template <class Visit>
bool VisitProtocols(OpenFile& file, Visit visit) {
  if (!FindHeader(file, "[PROTOCOL]")) return false;
  SectionLines lines(file);
  const std::int32_t count = ReadNumber(lines.Next());
  for (std::int32_t i = 0; i < count; ++i) {
    const std::string_view name = lines.Next();
    if (lines.ended()) return false;
    if (visit(name, lines, static_cast<std::uint32_t>(i))) return true;
  }
  return false;
}

// What follows the driver directory prefix, which is not compared.
std::string_view FilePart(std::string_view imagePath) {
  return imagePath.size() > kDriverPrefix.size() ? imagePath.substr(kDriverPrefix.size())
                                                 : std::string_view();
}

}  // namespace

int ReadMaintenanceSection(Files& files, const ScriptLocation& script, MaintenanceConfig& config) {
  OpenFile file = OpenScript(files, script);
  if (!file.valid()) return 0;
  struct Keyword {
    std::string_view text;
    std::uint32_t mode;
  };
  static constexpr Keyword kModes[] = {
      {"!MAINTENANCE_FULL", kMaintenanceFull},
      {"!MAINTENANCE_DEFAULT", kMaintenanceDefault},
      {"!MAINTENANCE_DEFAULT_INVISIBLE", kMaintenanceDefaultInvisible},
  };
  int result = 0;
  SectionLines lines(file);
  while (FindHeader(file, "[MAINTENANCE]")) {
    result = 1;
    const std::string_view mode = lines.Next();
    if (mode == "!MAINTENANCE_OFF") {
      config.Mode = kMaintenanceOff;
      return 1;
    }
    // A misspelt keyword must not switch on remote access to the adapter.
    config.Mode = kMaintenanceOff;
    for (const Keyword& keyword : kModes)
      if (mode == keyword.text) config.Mode = keyword.mode;
    config.cipValue = ReadUnsignedNumber(lines.Next());
    config.Controller = ReadUnsignedNumber(lines.Next());
    config.username.Assign(lines.Next());
    config.password.Assign(lines.Next());
    config.CdpnCount = ReadPartyNumbers(lines, config.Cdpn);
    config.CgpnCount = ReadPartyNumbers(lines, config.Cgpn);
  }
  return result;
}

int ReadDefaultProtocol(Files& files, Prompts& prompts, const ScriptLocation& script,
                        LineText& buffer) {
  OpenFile file = OpenScriptOrSay(files, prompts, script, ScriptNotFoundAt(script));
  if (!file.valid()) return 0;
  if (!FindHeader(file, "[DEFPROTOCOL]")) return 0;
  ReadScriptLine(file, buffer);
  return 1;
}

int AnyProtocolNeedsSpid(Files& files, Prompts& prompts, const ScriptLocation& script) {
  OpenFile file = OpenScriptOrSay(files, prompts, script, ScriptNotFoundAt(script));
  if (!file.valid()) return 0;
  const auto needsSpid = [](std::string_view, SectionLines& lines, std::uint32_t) {
    lines.Next();
    return (ReadHexNumber(lines.Next()) & kProtocolNeedsSpid) != 0;
  };
  return VisitProtocols(file, needsSpid) ? 1 : 0;
}

int AddProtocolNames(OpenFile file, DialogView& view, int controlId) {
  VisitProtocols(file, [&](std::string_view name, SectionLines& lines, std::uint32_t) {
    view.ComboAdd(controlId, name);
    lines.Next();
    lines.Next();
    return false;
  });
  return 1;
}

std::uint32_t FindProtocolIndex(Files& files, Prompts& prompts, const ScriptLocation& script,
                                std::string_view imagePath) {
  OpenFile file = OpenScriptOrSay(files, prompts, script, "Can't find SETUPINFOFILE!");
  if (!file.valid()) return kNoProtocol;
  const std::string_view filePart = FilePart(imagePath);
  std::uint32_t found = kNoProtocol;
  VisitProtocols(file, [&](std::string_view, SectionLines& lines, std::uint32_t index) {
    if (!EqualIgnoringCase(lines.Next(), filePart)) {
      lines.Next();
      return false;
    }
    found = index;
    return true;
  });
  return found;
}

int GetScriptNewImagePath(Files& files, Prompts& prompts, const ScriptLocation& script,
                          std::string_view name, PathText& imagePath) {
  OpenFile file =
      OpenScriptOrSay(files, prompts, script, "Can't find SETUPINFOFILE\n[GetScriptNewImagePath]");
  if (!file.valid()) return 0;
  std::string path;
  bool cut = false;
  const bool found =
      VisitProtocols(file, [&](std::string_view entry, SectionLines& lines, std::uint32_t) {
        if (entry != name) {
          lines.Next();
          lines.Next();
          return false;
        }
        // Joined as every path is, "%s\%s", then collapsed.
        path = kDriverPrefix;
        path += '\\';
        path += lines.Next();
        cut = lines.cut();
        return true;
      });
  if (!found) return 0;
  path = CollapsedBackslashes(path);
  // A cut image path would name some other file; the one the caller holds stays.
  if (cut || path.size() >= kPathBytes) return 0;
  imagePath.Assign(path);
  return 1;
}

std::uint32_t GetProtocolFlags(Files& files, Prompts& prompts, const ScriptLocation& script,
                               std::string_view nameOrImagePath) {
  OpenFile file = OpenScriptOrSay(files, prompts, script, "Can't find SETUPINFOFILE!");
  if (!file.valid()) return 0;
  const std::string_view filePart = FilePart(nameOrImagePath);
  std::uint32_t flags = 0;
  VisitProtocols(file, [&](std::string_view name, SectionLines& lines, std::uint32_t) {
    const bool byName = EqualIgnoringCase(name, nameOrImagePath);
    const bool byFile = EqualIgnoringCase(lines.Next(), filePart);
    const std::uint32_t value = ReadHexNumber(lines.Next());
    if (!byName && !byFile) return false;
    flags = value;
    return true;
  });
  return flags;
}

}  // namespace setup
