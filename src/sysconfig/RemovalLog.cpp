#include "sysconfig/RemovalLog.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "script/CaseFold.h"
#include "script/SafeFormat.h"
#include "script/ScriptReader.h"

namespace setup {
namespace {

constexpr std::string_view kLogName = "removed.kvx";
constexpr std::uint32_t kChunkBytes = 512;
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

// The log walked as the line reader of the scripts walks a file: a line ends at a carriage
// return and the byte after it is skipped, whatever it is. Unlike that reader, a line is
// compared whole, however long, and 0xAF is a byte of it like any other.
class LogWalk {
 public:
  explicit LogWalk(std::string_view object) : object_(object) {}

  // Walks the rest of the open file; false when a read failed.
  bool Walk(Files& files, Files::Handle file) {
    std::array<char, kChunkBytes> chunk;
    std::int32_t got = 0;
    while ((got = files.Read(file, chunk.data(), kChunkBytes)) > 0)
      for (char byte : std::string_view(chunk.data(), static_cast<std::size_t>(got))) Take(byte);
    return got == 0;
  }
  // A last line without its line end counts too: the log may have been edited by hand.
  bool found() const { return found_ || (length_ > 0 && LineMatches()); }
  // What must come first so that the walk finds a new line whole: the byte a final carriage
  // return still lacks to be skipped, or a line end after a line left open.
  std::string_view MissingLineEnd() const {
    if (skipNext_) return "\n";
    return length_ > 0 ? "\r\n" : "";
  }

 private:
  void Take(char byte) {
    if (skipNext_) {
      skipNext_ = false;
    } else if (byte == '\r') {
      EndLine();
      skipNext_ = true;
    } else {
      equal_ = equal_ && length_ < object_.size() && FoldCase(byte) == FoldCase(object_[length_]);
      ++length_;
    }
  }
  bool LineMatches() const { return equal_ && length_ == object_.size(); }
  void EndLine() {
    found_ = found_ || LineMatches();
    equal_ = true;
    length_ = 0;
  }

  std::string_view object_;
  std::size_t length_ = 0;
  bool equal_ = true, skipNext_ = false, found_ = false;
};

}  // namespace

int LogRemovedObject(Services& services, const ProgramState& state, std::string_view object) {
  const std::optional<std::string> path = LogPath(state);
  if (!path) return 0;
  OpenFile log = OpenLog(services, state, *path);
  if (!log.valid()) return 0;
  Files& files = services.files;
  LogWalk walk(object);
  if (files.Seek(log.handle(), 0, Files::Origin::Begin) != 0 || !walk.Walk(files, log.handle()))
    return 0;
  // The whole object, never cut: a cut line would not be recognised by the next run.
  std::string line(walk.MissingLineEnd());
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
  LogWalk walk(object);
  walk.Walk(services.files, log.handle());
  return walk.found() ? 1 : 0;
}

bool DeleteRemovalLog(Services& services, std::string_view directory) {
  const std::optional<std::string> path = LogPath(directory);
  if (!path) return true;
  services.files.SetAttributes(*path, Files::kNormal);
  return services.files.Delete(*path) || !services.files.Attributes(*path);
}

}  // namespace setup
