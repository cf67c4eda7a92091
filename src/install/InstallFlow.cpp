#include "install/InstallFlow.h"

#include "config/ConfigDialog.h"
#include "install/ChangeDirDialog.h"
#include "install/FileTransfer.h"
#include "progman/ProgmanClient.h"
#include "script/Protocols.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/IntegrityBackup.h"
#include "sysconfig/RemovalLog.h"
#include "sysconfig/ServiceConfig.h"
#include "sysconfig/SystemEntriesRemoval.h"

namespace setup {
namespace {

void ReportInstallFailure(Services& services, ProgramState& state, WindowRef owner) {
  state.ExitCode = kExitFailed;
  services.prompts.ShowMessage(owner, state.Catalogue.Text(text::ERR_INS_NOSUCCESS));
}

// The three batches; false once the install must stop (its failure reported).
bool TransferPackage(Services& services, ProgramState& state, WindowRef progress, WindowRef owner) {
  const std::string_view source = state.InstallSourceDir.view();
  const std::string_view destination = state.InstallDestDir.view();
  bool everyFile = true;
  for (int batch = 0; batch < 3; ++batch) {
    const int result =
        batch == 0   ? CopySetupFiles(services, state, progress, owner, source, destination)
        : batch == 1 ? InstallAddFiles(services, state, progress, owner, source, destination)
                     : InstallCompFiles(services, state, progress, owner, source);
    if (result == kAborted) {
      ReportInstallFailure(services, state, owner);
      return false;
    }
    everyFile = everyFile && result == 1;
  }
  // An ignored file leaves the package incomplete: nothing is registered for it.
  if (!everyFile) ReportInstallFailure(services, state, owner);
  return everyFile;
}

// A fresh configuration with the defaults and the default protocol's image; false when a
// write failed (the writer has reported it).
bool RegisterAfresh(Services& services, ProgramState& state, std::uint32_t n) {
  DriverServiceConfig& config = state.ServiceConfig;
  InitFreshConfiguration(services, state, n);
  ClearOptionalServiceEntries(services, state);
  // Adapters written under a registration that failed would be found by no one.
  if (WriteServiceConfig(services, state, n, config) != 1) return false;
  DeleteAdapterKeys(services, state);
  bool written = true;
  for (std::uint32_t i = 0; i < config.NumberOfControllers; ++i)
    written =
        WriteAdapterConfig(services, state, state.Adapters[i], static_cast<int>(i), 0) && written;
  return written;
}

// The field left wrong, after telling the user; 0 when both hold full paths.
int FieldWithoutFullPath(Services& services, const ProgramState& state, DialogView& view) {
  for (int field : {install_dialog::kSource, install_dialog::kDestination}) {
    if (IsFullPath(view.Text(field))) continue;
    services.prompts.ShowMessage(view.Window(), state.Catalogue.Text(text::ERR_INS_FULLPATH));
    return field;
  }
  return 0;
}

}  // namespace

bool IsFullPath(std::string_view path) {
  const bool onDrive = path.size() >= 3 && path.substr(1, 2) == ":\\" &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (onDrive || !path.starts_with("\\\\")) return onDrive;
  const std::size_t serverEnd = path.find('\\', 2);
  return serverEnd != std::string_view::npos && serverEnd > 2 && serverEnd + 1 < path.size() &&
         path[serverEnd + 1] != '\\';
}

std::string DefaultDestination(Services& services, const ProgramState& state) {
  std::string destination = services.system.WindowsDirectory().substr(0, 3);
  destination += state.DefaultDirName.view();
  return destination;
}

int RunInstall(Services& services, ProgramState& state, WindowRef owner, std::string_view source,
               std::string_view destination, const std::function<void()>& installed) {
  state.InstallSourceDir.Assign(source);
  state.InstallDestDir.Assign(destination);
  Prompts& prompts = services.prompts;
  const WindowRef progress = prompts.OpenProgressWindow(owner, true, true);
  state.InstallComplete = 0;
  state.OverwriteAll = 0;
  if (!TransferPackage(services, state, progress, owner)) {
    if (!prompts.ProgressCancelled()) prompts.CloseProgressWindow(progress);
    return 0;
  }
  prompts.ShowMessage(owner, state.Catalogue.Text(text::INFO_INS_DONE));
  WriteScriptVersion(services, state,
                     ReadScriptVersion(services.files, {state.InstallSourceDir.view(),
                                                        state.ScriptFileName.view()}));
  prompts.SetProgressText(progress, state.Catalogue.Text(text::INFO_SETUPSYSENTRIES));
  prompts.PumpMessages(progress);
  services.system.Sleep(1000);
  prompts.PumpMessages(progress);
  if (prompts.ProgressCancelled()) {
    ReportInstallFailure(services, state, owner);
    return 0;
  }
  prompts.CloseProgressWindow(progress);
  CreateProgramGroup(services, state, owner, state.InstallSourceDir.view(),
                     state.InstallDestDir.view());
  state.OverwriteAll = 0;
  state.InstallComplete = 1;

  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services, state, found);
  if (n > 1 && CapiHasOtherControllers(services, state))
    prompts.ShowMessage(owner, state.Catalogue.Text(text::INFO_OTHERMANU));
  // The backup is written last: without it the configuration is one an install stopped
  // halfway, and keeping it would keep a driver that cannot start.
  if (found && IntegrityBackupMissing(services.registry)) found = 0;
  state.RestartRequired = found ? 0 : 1;
  // Only No gives up the configuration there is; Yes and Cancel keep it.
  if (found &&
      prompts.AskQuestion(owner, 0, state.Catalogue.Text(text::QUEST_APPLYOLD)) == Prompts::kNo)
    found = 0;
  int configure = 0;
  // Without a number (its search has reported why) nothing is registered.
  if (n != 0 && !found && RegisterAfresh(services, state, n)) {
    WriteIntegrityBackup(services, state);
    configure = 1;
  }
  // Without a configuration, kept or fresh, the driver cannot start.
  state.ExitCode = found || configure ? kExitSuccess : kExitFailed;

  // The installed copy deinstalls from the destination and keeps its log there: an old one
  // would make a later deinstallation skip what this install has just put back.
  DeleteRemovalLog(services, state.SourceDir.view());
  DeleteRemovalLog(services, state.InstallDestDir.view());
  state.StartMode = 1;
  installed();
  return configure;
}

void InstallDialog::OnInit(DialogView& view) {
  view.ShowWindow(false);
  SetCaptionText(view, state_.Catalogue, text::DLG_INS_CAPTION);
  SetItemTextFrom(view, state_.Catalogue, install_dialog::kInstall, text::DLG_INS_INSTALL);
  SetItemTextFrom(view, state_.Catalogue, install_dialog::kCancel, text::BUTTON_CANCEL);
  for (int id : {install_dialog::kSourceLabel, install_dialog::kDestinationLabel,
                 install_dialog::kChangeSource, install_dialog::kChangeDestination})
    SetItemText(view, state_.Catalogue, id);
  view.Centre();
  // A longer path would be cut when read, and the install would go elsewhere.
  for (int id : {install_dialog::kSource, install_dialog::kDestination})
    view.SetTextLimit(id, static_cast<int>(kPathBytes - 1));
  state_.InstallSourceDir = state_.SourceDir;
  view.SetText(install_dialog::kSource, state_.InstallSourceDir.view());
  view.SetText(install_dialog::kDestination, DefaultDestination(services_, state_));
  view.ShowWindow(true);
}

void InstallDialog::OnCommand(DialogView& view, int id, int code) {
  // Only clicks: the edit fields report their changes as commands too.
  if (code != 0 || id >= install_dialog::kSourceLabel) return;
  if (id == install_dialog::kInstall) {
    // A relative path would put the package below whatever directory is current, and the
    // install would clear a removal log at the root of the current drive.
    if (const int field = FieldWithoutFullPath(services_, state_, view)) {
      view.SetFocus(field);
      return;
    }
    configureAfter =
        RunInstall(services_, state_, view.Window(), view.Text(install_dialog::kSource),
                   view.Text(install_dialog::kDestination), installed_);
    view.End(0);
  } else if (id == install_dialog::kCancel) {
    view.End(0);
  } else if (id == install_dialog::kChangeSource || id == install_dialog::kChangeDestination) {
    const int field = id == install_dialog::kChangeSource ? install_dialog::kSource
                                                          : install_dialog::kDestination;
    if (RunChangeDirDialog(services_, state_, view, field))
      view.SetText(field, state_.ChosenDirectory.view());
    state_.ChosenDirectory.Assign("");
  }
}

void InstallDialog::OnClose(DialogView& view) {
  view.End(0);
}

void OpenInstallDialog(Services& services, ProgramState& state, WindowRef owner,
                       std::string_view directory, std::function<void()> installed) {
  state.SourceDir.Assign(directory);
  InstallDialog dialog(services, state, std::move(installed));
  if (services.host.RunModal("DLG_install", owner, dialog) == -1)
    services.prompts.ShowErrorBox(owner, "Unable to open Install dialog!");
  // Only once the install dialog is gone: its end would give the main dialog back the input
  // that the configuration dialog takes from it.
  if (dialog.configureAfter) OpenConfigDialog(services, state, owner, state.SourceDir.view());
}

}  // namespace setup
