#include "install/FileTransfer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "script/CaseFold.h"
#include "script/FileLists.h"
#include "script/SafeFormat.h"

namespace setup {
namespace {

std::string Text(const ProgramState& state, int key, std::initializer_list<FormatArg> args) {
  return FormatText(state.Catalogue.Text(key), args);
}

// What an Abort/Retry/Ignore answer makes of the file; nothing for Retry.
std::optional<int> GivenUp(int answer) {
  if (answer == Prompts::kRetry) return std::nullopt;
  return answer == Prompts::kIgnore ? kIgnored : kAborted;
}

// Abort/Retry/Ignore about one file, asked until `attempt` succeeds or the user gives up.
template <class Attempt>
int RetryWhileFailing(Services& services, const ProgramState& state, WindowRef owner, int key,
                      std::string_view path, Attempt attempt) {
  while (!attempt()) {
    const int answer = services.prompts.AskAbortRetryIgnore(owner, Text(state, key, {path}));
    if (const std::optional<int> result = GivenUp(answer)) return *result;
  }
  return kTransferred;
}

bool SourceReadable(Services& services, std::string_view source) {
  return FitsPath(source) && OpenForReading(services.files, std::string(source)).valid();
}

// The read-only question and the date question about a target that exists: the file's
// result when the answers settle it, nothing to go on and replace the target.
std::optional<int> AskAboutExistingTarget(Services& services, ProgramState& state, WindowRef owner,
                                          const std::string& source, const std::string& target) {
  Files& files = services.files;
  if (files.Attributes(target).value_or(0) & Files::kReadOnly) {
    if (services.prompts.AskWarningYesNo(
            kNoWindow, Text(state, text::ERR_NOWRITEACCESS, {target, source})) != Prompts::kYes)
      return kTransferred;  // left alone by choice
    files.SetAttributes(target, Files::kNormal);
  }
  if (state.OverwriteAll == 1) return std::nullopt;
  const std::optional<std::uint64_t> sourceTime = files.LastWriteTime(source);
  const std::optional<std::uint64_t> targetTime = files.LastWriteTime(target);
  if (!sourceTime || !targetTime || *sourceTime >= *targetTime) return std::nullopt;
  switch (services.prompts.AskQuestion(owner, 1, Text(state, text::QUEST_OVERWRITENEW, {target}))) {
    case Prompts::kYes:
      return std::nullopt;
    case Prompts::kAll:
      state.OverwriteAll = 1;
      return std::nullopt;
    case Prompts::kNo:
      return kSkipped;
  }
  return kAborted;  // Cancel, or the dialog closed
}

// A copy carries the source's attributes, and a file from a CD is read-only: the installed
// copy must be removable without the write-protection question. Only that bit goes.
bool ClearReadOnly(Files& files, const std::string& path) {
  const std::optional<std::uint32_t> attributes = files.Attributes(path);
  if (!attributes) return false;
  if (!(*attributes & Files::kReadOnly)) return true;
  const std::uint32_t kept = *attributes & (Files::kHidden | Files::kSystem | Files::kArchive);
  return files.SetAttributes(path, kept ? kept : Files::kNormal);
}

enum class Written { Done, TargetUncreatable, Failed };

// Copies or expands the source into a new file beside the target and renames that over the
// target only once it is complete: a transfer that fails leaves the old target whole (the
// installed setup script and program among them, which configure and deinstall) and no
// file of its own behind.
Written WriteOver(Services& services, const std::string& source, const std::string& target,
                  bool expand) {
  Files& files = services.files;
  const std::optional<std::string> temporary =
      files.CreateTemporaryFile(target.substr(0, target.rfind('\\') + 1));
  if (!temporary) return Written::TargetUncreatable;
  Written written = Written::Failed;
  if (expand) {
    const Expander::Result result = services.expander.Expand(source, *temporary);
    if (result == Expander::Result::Done) written = Written::Done;
    if (result == Expander::Result::TargetUncreatable) written = Written::TargetUncreatable;
  } else if (files.Copy(source, *temporary)) {
    written = Written::Done;
  }
  if (written == Written::Done && ClearReadOnly(files, *temporary) &&
      files.Replace(*temporary, target))
    return Written::Done;
  files.Delete(*temporary);
  return written == Written::Done ? Written::Failed : written;
}

// Replaces the target with the source's contents, asking Abort/Retry/Ignore while that fails.
int ReplaceTarget(Services& services, const ProgramState& state, WindowRef owner,
                  const std::string& source, const std::string& target, bool expand) {
  for (;;) {
    const Written written = WriteOver(services, source, target, expand);
    if (written == Written::Done) return kTransferred;
    // An expanded target that cannot even be created is asked about without an owner.
    const WindowRef asking = expand && written == Written::TargetUncreatable ? kNoWindow : owner;
    const int answer =
        services.prompts.AskAbortRetryIgnore(asking, Text(state, text::ERR_CANTWRITE, {target}));
    if (const std::optional<int> result = GivenUp(answer)) return *result;
  }
}

}  // namespace

int TransferFile(Services& services, ProgramState& state, WindowRef owner, std::string_view source,
                 std::string_view target, bool expand) {
  int result = RetryWhileFailing(services, state, owner, text::ERR_FILENOTFOUND, source,
                                 [&] { return SourceReadable(services, source); });
  if (result != kTransferred) return result;
  result = RetryWhileFailing(services, state, owner, text::ERR_CANTWRITE, target,
                             [&] { return FitsPath(target); });
  if (result != kTransferred) return result;

  const std::string from(source), to(target);
  if (OpenForReading(services.files, to).valid()) {
    if (const std::optional<int> settled = AskAboutExistingTarget(services, state, owner, from, to))
      return *settled;
  }
  // Copying or expanding a file onto itself would destroy it.
  if (EqualIgnoringCase(from, to) || services.files.SameFile(from, to)) return kTransferred;
  return ReplaceTarget(services, state, owner, from, to, expand);
}

void CreatePath(Services& services, const ProgramState& state, WindowRef progress,
                std::string_view path) {
  const std::string directory(path);
  // A path that does not fit names nothing; the transfer into it reports that.
  if (!FitsPath(directory) || IsDirectory(services.files, directory)) return;
  services.prompts.SetProgressText(progress, Text(state, text::INFO_CREATEPATH, {directory}));
  // Every directory on the way, from the first below the drive; a drive's own "C:\" is not
  // one to create.
  for (std::size_t i = 0; i + 1 < directory.size(); ++i) {
    if (directory[i + 1] == '\\' && directory[i] != ':')
      services.files.MakeDirectory(directory.substr(0, i + 1));
  }
  services.files.MakeDirectory(directory);
}

namespace {

// Runs the files of one batch through the steps every file takes: its target directory,
// the progress text, a pump, the cancel test, the transfer; and keeps the batch's result.
class Batch {
 public:
  Batch(Services& services, ProgramState& state, WindowRef progress, WindowRef owner)
      : services_(services), state_(state), progress_(progress), owner_(owner) {}

  // False once the batch must stop. Paths are joined in full: TransferFile refuses one
  // that does not fit.
  bool Transfer(int progressKey, const std::string& source, const std::string& targetDir,
                std::string_view targetName, bool expand, bool createTargetDir = true) {
    // A cancelled progress window is gone and is not touched again.
    if (services_.prompts.ProgressCancelled()) return Stop();
    const std::string target = JoinPathParts({targetDir, targetName});
    if (createTargetDir) CreatePath(services_, state_, progress_, targetDir);
    services_.prompts.SetProgressText(progress_, Text(state_, progressKey, {source, target}));
    services_.prompts.PumpMessages(progress_);
    if (services_.prompts.ProgressCancelled()) return Stop();
    const int transferred = TransferFile(services_, state_, owner_, source, target, expand);
    if (transferred == kAborted) return Stop();
    if (transferred == kIgnored) result_ = 0;
    return true;
  }

  int result() const { return result_; }

 private:
  bool Stop() {
    result_ = kAborted;
    return false;
  }

  Services& services_;
  ProgramState& state_;
  WindowRef progress_;
  WindowRef owner_;
  int result_ = 1;
};

}  // namespace

int CopySetupFiles(Services& services, ProgramState& state, WindowRef progress, WindowRef owner,
                   std::string_view sourceDir, std::string_view destDir) {
  const std::string destination(destDir);
  CreatePath(services, state, progress, destination);
  Batch batch(services, state, progress, owner);
  const std::string_view script = state.ScriptFileName.view();
  const std::string_view program = state.SetupFileName.view();
  // The program comes from where it runs, whatever the source field says.
  batch.Transfer(text::INFO_COPYFILE, JoinPathParts({sourceDir, script}), destination, script,
                 false, false) &&
      batch.Transfer(text::INFO_COPYFILE, JoinPathParts({state.SourceDir.view(), program}),
                     destination, program, false, false);
  return batch.result();
}

int InstallAddFiles(Services& services, ProgramState& state, WindowRef progress, WindowRef owner,
                    std::string_view sourceDir, std::string_view destDir) {
  // On the heap: the lists are tens of kilobytes.
  const auto rows = std::make_unique<AddFileList>();
  const AddFileList& list = *rows;
  // A refused list leaves out files the package needs, as an ignored file does.
  if (ReadAddFiles(services.files, services.prompts, {sourceDir, state.ScriptFileName.view()},
                   *rows) == kListRefused)
    return 0;
  Batch batch(services, state, progress, owner);
  for (std::size_t i = 0; i < static_cast<std::size_t>(list.count); ++i) {
    const std::string_view name = list.fileNames[i].view();
    if (!batch.Transfer(text::INFO_COPYFILE,
                        JoinPathParts({sourceDir, list.sourceSubdirs[i].view(), name}),
                        JoinPathParts({destDir, list.targetSubdirs[i].view()}), name, false))
      break;
  }
  return batch.result();
}

int InstallCompFiles(Services& services, ProgramState& state, WindowRef progress, WindowRef owner,
                     std::string_view scriptDir) {
  const auto rows = std::make_unique<CompFileList>();
  const CompFileList& list = *rows;
  if (ReadCompFiles(services.files, services.prompts, {scriptDir, state.ScriptFileName.view()},
                    *rows) == kListRefused)
    return 0;
  const std::string windows = services.system.WindowsDirectory();
  Batch batch(services, state, progress, owner);
  for (std::size_t i = 0; i < static_cast<std::size_t>(list.count); ++i) {
    const std::string_view name = list.targetNames[i].view();
    const std::string source = JoinPathParts(
        {state.SourceDir.view(), list.sourceSubdirs[i].view(), list.sourceNames[i].view()});
    if (list.windowsSubdirs[i] != kNoWinSystem &&
        !batch.Transfer(text::INFO_EXPANDFILE, source,
                        JoinPathParts({windows, list.windowsSubdirs[i].view()}), name, true))
      break;
    if (list.setupSubdirs[i] != kNoSetupDir &&
        !batch.Transfer(text::INFO_EXPANDFILE, source,
                        JoinPathParts({state.InstallDestDir.view(), list.setupSubdirs[i].view()}),
                        name, true))
      break;
  }
  return batch.result();
}

}  // namespace setup
