#include "sysconfig/RemovalLog.h"

#include <algorithm>
#include <optional>
#include <string>

#include "script/CaseFold.h"
#include "script/SafeFormat.h"
#include "script/ScriptReader.h"

namespace setup {
namespace {

constexpr std::string_view kLogName = "removed.kvx";
constexpr std::string_view kHeader =
    "KVX Velmar Setup --- *** DON'T TOUCH THIS FILE!!!***\r\nDeleted Objects:\r\n\r\n";

// Nothing when the path does not fit.
std::optional<std::string> LogPath(std::string_view directory) {
  return JoinPath(directory, kLogName);
}

std::optional<std::string> LogPath(const ProgramState& state) {
  return LogPath(state.SourceDir.view());
}

bool WriteAll(Files& files, Files::Handle file, std::string_view bytes) {
  return files.Write(file, bytes.data(), static_cast<std::uint32_t>(bytes.size())) ==
         static_cast<std::int32_t>(bytes.size());
}

// The log opened for appending, created with its header when it is missing; invalid when the
// user gave up on a medium that takes no file.
OpenFile OpenLog(Services& services, const ProgramState& state, const std::string& path) {
  Files& files = services.files;
  OpenFile log(files, files.OpenReadWrite(path));
  if (log.valid()) return log;
  for (;;) {
    OpenFile created(files, files.Create(path));
    // Hidden only once complete: a hidden file is not created over again on Retry.
    if (created.valid() && WriteAll(files, created.handle(), kHeader)) {
      files.SetAttributes(path, Files::kHidden);
      return created;
    }
    const std::string drive = path.substr(0, 3);
    const std::string question =
        FormatText(state.Catalogue.Text(text::ERR_WRITEPROTECTED), {drive});
    if (services.prompts.AskAbortRetryIgnore(kNoWindow, question) != Prompts::kRetry)
      return OpenFile(files, Files::kInvalid);
  }
}

// What must come first so that a new line starts a line of its own: a log edited by hand may
// lack the line end of its last line, or have only its carriage return.
std::string_view MissingLineEnd(Files& files, Files::Handle file) {
  const std::int32_t size = files.Seek(file, 0, Files::Origin::End);
  const std::int32_t n = std::min<std::int32_t>(size, 2);
  char tail[2] = {};
  if (n <= 0 || files.Seek(file, -n, Files::Origin::End) < 0 || files.Read(file, tail, n) != n)
    return {};
  const std::string_view end(tail, static_cast<std::size_t>(n));
  if (end == "\r\n") return {};
  return end.back() == '\r' ? "\n" : "\r\n";
}

}  // namespace

int LogRemovedObject(Services& services, const ProgramState& state, std::string_view object) {
  const std::optional<std::string> path = LogPath(state);
  if (!path) return 0;
  OpenFile log = OpenLog(services, state, *path);
  if (!log.valid()) return 0;
  Files& files = services.files;
  // The whole object, never cut: a cut line would not be recognised by the next run.
  std::string line(MissingLineEnd(files, log.handle()));
  line += object;
  line += "\r\n";
  return files.Seek(log.handle(), 0, Files::Origin::End) >= 0 && WriteAll(files, log.handle(), line)
             ? 1
             : 0;
}

int IsLoggedAsRemoved(Services& services, const ProgramState& state, std::string_view object) {
  const std::optional<std::string> path = LogPath(state);
  if (!path) return 0;
  OpenFile log = OpenForReading(services.files, *path);
  if (!log.valid()) return 0;
  LineText line;
  for (bool more = true; more;) {
    more = ReadScriptLine(log, line) == 1;
    // A last line without its line end counts too: the log may have been edited by hand.
    if ((more || !line.empty()) && EqualIgnoringCase(line.view(), object)) return 1;
  }
  return 0;
}

void DeleteRemovalLog(Services& services, std::string_view directory) {
  const std::optional<std::string> path = LogPath(directory);
  if (!path) return;
  services.files.SetAttributes(*path, Files::kNormal);
  services.files.Delete(*path);
}

}  // namespace setup
