#pragma once

#include <string_view>

#include "platform/Dialog.h"
#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Control identifiers of "DLG_deinstall".
namespace deinstall_dialog {
inline constexpr int kDeinstall = 0;
inline constexpr int kCancel = 1;
inline constexpr int kWarning = 28;
inline constexpr int kDeinstallText = 29;
inline constexpr int kCancelText = 30;
}  // namespace deinstall_dialog

// Results of DeleteInstalledFile.
inline constexpr int kFileDeleted = 1;
inline constexpr int kFileAlreadyGone = 0;  // missing, and logged by an earlier run
inline constexpr int kFileAborted = -1;
inline constexpr int kFileIgnored = -3;
inline constexpr int kFileUnlogged = -4;  // left in place: the log could not take it

// The warning before a deinstall, and the deinstall itself after a last confirmation.
class DeinstallDialog : public Dialog {
 public:
  DeinstallDialog(Services& services, ProgramState& state) : services_(services), state_(state) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override;

 private:
  // After the last confirmation: the end of the program, or the question whether the
  // removal log goes.
  void Deinstall(DialogView& view);

  Services& services_;
  ProgramState& state_;
};

// Runs "DLG_deinstall" over `owner`, after taking `directory` as SourceDir.
void OpenDeinstallDialog(Services& services, ProgramState& state, WindowRef owner,
                         std::string_view directory);

// Removes the installed files, the system entries and the program group, and on full success
// the log and the setup files. 1 on full success, 0 otherwise.
int RunDeinstall(Services& services, ProgramState& state, WindowRef owner);

// Logs and deletes one installed file, asking Abort/Retry/Ignore when it is missing or stays.
// A file that is missing and that the removal log lists is passed over without a question.
int DeleteInstalledFile(Services& services, const ProgramState& state, WindowRef owner,
                        std::string_view path);

// The two logged batches: 1 when every file went, 0 when one was ignored, the script's list
// of them was refused, or the log could not be written (that batch stops there, its progress
// window closed), -1 when the user aborted (progress window closed).
int DeleteCompFiles(Services& services, const ProgramState& state, WindowRef progress,
                    WindowRef owner);
int DeleteAddFiles(Services& services, const ProgramState& state, WindowRef progress,
                   WindowRef owner);

// Silent removals, neither asked about nor logged: the files the installed software made
// (false when the script's list of them was refused, and none went), and the setup program
// with its script, its language files (also when the [ADDFILES] list names them) and its
// directory.
bool DeleteExtraFiles(Services& services, const ProgramState& state);
void DeleteSetupFiles(Services& services, const ProgramState& state);

}  // namespace setup
