#pragma once

#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Control identifiers of "DLG_changedir".
namespace change_dir_dialog {
inline constexpr int kOk = 0;
inline constexpr int kCancel = 1;
inline constexpr int kDirectories = 102;
inline constexpr int kDrives = 103;
inline constexpr int kPath = 104;
inline constexpr int kPathLabel = 105;
inline constexpr int kHelp = 106;
inline constexpr int kDriveLabel = 107;
}  // namespace change_dir_dialog

// Browsing the drives and directories for one of the install dialog's fields. OK puts the
// directory shown into ChosenDirectory and ends with 1; Cancel empties it and ends with 0.
class ChangeDirDialog : public Dialog {
 public:
  ChangeDirDialog(Services& services, ProgramState& state, std::string start)
      : services_(services), state_(state), start_(std::move(start)) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override;

 private:
  // Shows `path`, or the root of the Windows drive when it is no directory.
  void Fill(DialogView& view, std::string_view path);
  void Cancel(DialogView& view);

  Services& services_;
  ProgramState& state_;
  std::string start_;
  std::string current_;
  // The full path of each line of the directory list, and the letter of each drive entry.
  std::vector<std::string> entries_;
  std::string drives_;
};

// Runs "DLG_changedir" from the text of the install dialog's field `field`: 1 with the choice
// in ChosenDirectory, 0 when the user cancelled.
int RunChangeDirDialog(Services& services, ProgramState& state, DialogView& installView, int field);

}  // namespace setup
