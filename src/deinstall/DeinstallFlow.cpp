#include "deinstall/DeinstallFlow.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "progman/ProgmanClient.h"
#include "script/CaseFold.h"
#include "script/CatalogueKeys.h"
#include "script/FileLists.h"
#include "script/SafeFormat.h"
#include "sysconfig/AutoexecNt.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/RemovalLog.h"
#include "sysconfig/SystemEntriesRemoval.h"

namespace setup {
namespace {

// The removal log's line for the program group: no path or key name starts with a bracket.
constexpr std::string_view kLoggedGroup = "[PROGMAN]";

std::string Formatted(const ProgramState& state, int key, std::string_view path) {
  return FormatText(state.Catalogue.Text(key), {path});
}

// Abort/Retry/Ignore about one file, asked until `attempt` succeeds or the user gives up.
template <class Attempt>
int AskWhileFailing(Services& services, const ProgramState& state, WindowRef owner, int key,
                    std::string_view path, Attempt attempt) {
  while (!attempt()) {
    const int answer = services.prompts.AskAbortRetryIgnore(owner, Formatted(state, key, path));
    if (answer != Prompts::kRetry) return answer == Prompts::kIgnore ? kFileIgnored : kFileAborted;
  }
  return kFileDeleted;
}

// Removes `directory` and then each parent that its removal left empty, never `base` or
// anything above it: the install made them level by level, and a directory that stays
// (not empty, not there) is no failure.
void RemoveEmptiedDirectories(Files& files, std::string_view base, std::string directory) {
  while (directory.size() > base.size() + 1 &&
         EqualIgnoringCase(std::string_view(directory).substr(0, base.size()), base) &&
         files.DeleteDirectory(directory)) {
    directory.resize(directory.find_last_of('\\'));
  }
}

// Runs the files of one batch through the steps every file takes, and keeps its result.
class Batch {
 public:
  Batch(Services& services, const ProgramState& state, WindowRef progress, WindowRef owner)
      : services_(services), state_(state), progress_(progress), owner_(owner) {}

  // Deletes and logs the file, then tries its directory; false once the batch must stop.
  bool Delete(std::string_view base, std::string_view subdirectory, std::string_view name) {
    const std::string directory = JoinPathParts({base, subdirectory});
    const std::string path = JoinPathParts({directory, name});
    Prompts& prompts = services_.prompts;
    prompts.SetProgressText(progress_, Formatted(state_, text::INFO_DELETEFILE, path));
    prompts.PumpMessages(progress_);
    switch (DeleteInstalledFile(services_, state_, owner_, path)) {
      case kFileAborted:
        return Stop(-1);
      case kFileIgnored:
        result_ = 0;
        break;
      case kFileUnlogged:
        return Stop(0);
    }
    RemoveEmptiedDirectories(services_.files, base, directory);
    return true;
  }

  int result() const { return result_; }

 private:
  bool Stop(int result) {
    services_.prompts.CloseProgressWindow(progress_);
    result_ = result;
    return false;
  }

  Services& services_;
  const ProgramState& state_;
  WindowRef progress_;
  WindowRef owner_;
  int result_ = 1;
};

// Deletes without a word about failure; a path that does not fit names nothing to delete.
void DeleteQuietly(Files& files, const std::string& path) {
  if (FitsPath(path)) files.Delete(path);
}

// The language files the installed copy reads at start-up, by full path.
std::vector<std::string> LanguageFiles(const ProgramState& state) {
  std::vector<std::string> paths;
  for (std::int32_t i = 0; i < state.Languages.count; ++i)
    paths.push_back(JoinPathParts(
        {state.SourceDir.view(), state.Languages.fileNames[static_cast<std::size_t>(i)].view()}));
  return paths;
}

bool IsLanguageFile(const ProgramState& state, std::string_view path) {
  const std::vector<std::string> languages = LanguageFiles(state);
  return std::any_of(languages.begin(), languages.end(), [path](const std::string& language) {
    return EqualIgnoringCase(language, path);
  });
}

}  // namespace

int DeleteInstalledFile(Services& services, const ProgramState& state, WindowRef owner,
                        std::string_view path) {
  Files& files = services.files;
  const std::string file(path);
  // Whether it is there at all: a file that is there but locked is no missing file, and a
  // path that does not fit names none.
  const auto present = [&] { return FitsPath(file) && files.Attributes(file).has_value(); };
  // Only a file that is gone passes silently. One an earlier run logged but could not take
  // away after all is deleted, and asked about, as any other.
  if (!present() && IsLoggedAsRemoved(services, state, path)) return kFileAlreadyGone;
  const int found =
      AskWhileFailing(services, state, owner, text::ERR_DEI_FILENOTFOUND, path, present);
  if (found != kFileDeleted) return found;
  // Logged before it goes: a file deleted that the log then missed would make every later run
  // ask about a file that is gone. One logged that stays is deleted by the next run.
  if (!IsLoggedAsRemoved(services, state, path) && !LogRemovedObject(services, state, path))
    return kFileUnlogged;
  return AskWhileFailing(services, state, owner, text::ERR_DEI_CANTDELETE, path,
                         [&] { return files.Delete(file); });
}

int DeleteCompFiles(Services& services, const ProgramState& state, WindowRef progress,
                    WindowRef owner) {
  // On the heap: the list is some 50 KB.
  const auto rows = std::make_unique<CompFileList>();
  const CompFileList& list = *rows;
  // A refused list leaves its files where they are, as ignored files stay.
  if (ReadCompFiles(services.files, services.prompts, state.Script(), *rows) == kListRefused)
    return 0;
  const std::string windows = services.system.WindowsDirectory();
  Batch batch(services, state, progress, owner);
  for (std::size_t i = 0; i < static_cast<std::size_t>(list.count); ++i) {
    const std::string_view name = list.targetNames[i].view();
    // The Windows copy first, then the one in the setup directory.
    if (list.windowsSubdirs[i] != kNoWinSystem &&
        !batch.Delete(windows, list.windowsSubdirs[i].view(), name))
      break;
    if (list.setupSubdirs[i] != kNoSetupDir &&
        !batch.Delete(state.SourceDir.view(), list.setupSubdirs[i].view(), name))
      break;
  }
  return batch.result();
}

int DeleteAddFiles(Services& services, const ProgramState& state, WindowRef progress,
                   WindowRef owner) {
  const auto rows = std::make_unique<AddFileList>();
  const AddFileList& list = *rows;
  if (ReadAddFiles(services.files, services.prompts, state.Script(), *rows) == kListRefused)
    return 0;
  Batch batch(services, state, progress, owner);
  for (std::size_t i = 0; i < static_cast<std::size_t>(list.count); ++i) {
    const std::string_view subdirectory = list.targetSubdirs[i].view();
    const std::string_view name = list.fileNames[i].view();
    // They go with the setup files: without them a run stopped later could not start again
    // to finish the job.
    if (IsLanguageFile(state, JoinPathParts({state.SourceDir.view(), subdirectory, name})))
      continue;
    if (!batch.Delete(state.SourceDir.view(), subdirectory, name)) break;
  }
  return batch.result();
}

bool DeleteExtraFiles(Services& services, const ProgramState& state) {
  const auto rows = std::make_unique<DeleteFileList>();
  const DeleteFileList& list = *rows;
  if (ReadDeleteAddFiles(services.files, services.prompts, state.Script(), *rows) == kListRefused)
    return false;
  for (std::size_t i = 0; i < static_cast<std::size_t>(list.count); ++i) {
    const std::string directory = JoinPathParts({state.SourceDir.view(), list.subdirs[i].view()});
    DeleteQuietly(services.files, JoinPathParts({directory, list.fileNames[i].view()}));
    RemoveEmptiedDirectories(services.files, state.SourceDir.view(), directory);
  }
  return true;
}

void DeleteSetupFiles(Services& services, const ProgramState& state) {
  const std::string_view directory = state.SourceDir.view();
  for (const std::string& language : LanguageFiles(state)) {
    DeleteQuietly(services.files, language);
    RemoveEmptiedDirectories(services.files, directory, language.substr(0, language.rfind('\\')));
  }
  // The running program's own file is in use and stays, and so does its directory.
  DeleteQuietly(services.files, JoinPathParts({directory, state.ScriptFileName.view()}));
  DeleteQuietly(services.files, JoinPathParts({directory, state.SetupFileName.view()}));
  services.files.DeleteDirectory(std::string(directory));
}

namespace {

// The group, unless an earlier run logged it gone: the shell may refuse to delete a group it
// no longer has. A group the shell kept makes the run unfinished, to be run again.
bool RemoveProgramGroup(Services& services, const ProgramState& state, WindowRef owner) {
  if (IsLoggedAsRemoved(services, state, kLoggedGroup)) return true;
  if (!DeleteProgramGroup(services, state, owner, state.SourceDir.view())) return false;
  LogRemovedObject(services, state, kLoggedGroup);
  return true;
}

}  // namespace

int RunDeinstall(Services& services, ProgramState& state, WindowRef owner) {
  Prompts& prompts = services.prompts;
  int success = 1;
  WindowRef progress = prompts.OpenProgressWindow(owner, false, false);
  for (auto batch : {DeleteCompFiles, DeleteAddFiles}) {
    const int result = batch(services, state, progress, owner);
    // Nothing further goes, the program group included.
    if (result == -1) return 0;
    if (result == 0) {
      success = 0;
      // A batch the log stopped has closed its window. The steps after it get one of their
      // own: without it nothing shows them, and no timer wakes their pumps.
      prompts.CloseProgressWindow(progress);
      progress = prompts.OpenProgressWindow(owner, false, false);
    }
  }
  if (!DeleteExtraFiles(services, state)) success = 0;

  int found = 0;
  // Registrations that cannot be searched (reported) leave the system entries for another
  // run. A deinstall interrupted after our registration went has left the service key: the
  // removal then finishes what is left.
  const bool searched = FindCapiControllerNumber(services, state, found) != 0;
  if (!searched) success = 0;
  if (searched && (found || KeyExists(services.registry, kServiceKeyPath))) {
    prompts.SetProgressText(progress, state.Catalogue.Text(text::INFO_REMOVESYSENTRIES));
    prompts.PumpMessages(progress);
    services.system.Sleep(50);
    if (!RemoveSystemEntries(services, state)) success = 0;
  } else if (searched && !RemoveAutoexecBlock(services, state)) {
    // The keys went in a run that could not take the block out of AutoExec.NT.
    success = 0;
  }
  prompts.CloseProgressWindow(progress);
  if (!RemoveProgramGroup(services, state, owner)) success = 0;
  state.GroupDeleted = 1;
  if (!success) return 0;

  // A log that stays would make the next run pass over what this one left: not done yet.
  if (!DeleteRemovalLog(services, state.SourceDir.view())) return 0;
  DeleteSetupFiles(services, state);
  return 1;
}

void DeinstallDialog::OnInit(DialogView& view) {
  using namespace deinstall_dialog;
  const StringCatalogue& catalogue = state_.Catalogue;
  view.ShowWindow(false);
  SetCaptionText(view, catalogue, text::DLG_DEI_CAPTION);
  view.SetText(kWarning, Formatted(state_, text::DLG_DEI_WARNING, state_.SourceDir.view()));
  for (int id : {kDeinstallText, kCancelText}) SetItemText(view, catalogue, id);
  SetItemTextFrom(view, catalogue, kDeinstall, text::DLG_DEI_OK);
  SetItemTextFrom(view, catalogue, kCancel, text::BUTTON_CANCEL);
  view.Centre();
  view.ShowWindow(true);
  // The focus on the first button would make Enter start the removal instead of cancelling.
  view.SetFocus(kCancel);
}

void DeinstallDialog::OnCommand(DialogView& view, int id, int code) {
  if (code != 0) return;
  if (id == deinstall_dialog::kDeinstall) {
    const StringCatalogue& catalogue = state_.Catalogue;
    const BoxAnswer sure = services_.host.SystemMessageBox(
        view.Window(), catalogue.Text(text::DLG_DEI_AREYOUSURE), catalogue.Text(text::MSG_CAPTION),
        BoxKind::QuestionYesNoDefaultNo);
    if (sure == BoxAnswer::Yes) Deinstall(view);
    view.End(0);
  } else if (id == deinstall_dialog::kCancel) {
    view.End(0);
  }
}

void DeinstallDialog::Deinstall(DialogView& view) {
  const StringCatalogue& catalogue = state_.Catalogue;
  const bool done = RunDeinstall(services_, state_, view.Window());
  state_.ExitCode = done ? kExitSuccess : kExitFailed;
  if (done) {
    view.BringToFront();
    services_.prompts.ShowMessage(view.Window(), catalogue.Text(text::INFO_DEI_DONE));
    // Ends the program once the dialogs have closed.
    services_.host.PostQuit(0);
  } else if (services_.prompts.AskQuestion(
                 view.Window(), 0, catalogue.Text(text::ERR_DEI_NOSUCCESS)) == Prompts::kYes) {
    DeleteRemovalLog(services_, state_.SourceDir.view());
  }
}

void DeinstallDialog::OnClose(DialogView& view) {
  view.End(0);
}

void OpenDeinstallDialog(Services& services, ProgramState& state, WindowRef owner,
                         std::string_view directory) {
  state.SourceDir.Assign(directory);
  DeinstallDialog dialog(services, state);
  if (services.host.RunModal("DLG_deinstall", owner, dialog) == -1)
    services.prompts.ShowErrorBox(owner, "Unable to open DeInstall dialog!");
}

}  // namespace setup
