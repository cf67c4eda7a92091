#pragma once

#include <string>
#include <string_view>

#include "platform/Dialog.h"
#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Control identifiers of "DLG_fileversion".
namespace version_dialog {
inline constexpr int kOk = 0;
inline constexpr int kText = 172;
inline constexpr int kList = 173;
// Below the visible area; it only takes the paths the directory listing resolves.
inline constexpr int kResolvedPath = 104;
}  // namespace version_dialog

// The version stamps found in the package's files, one line each: on the distribution
// medium (StartMode 0) in the compressed files, else in the installed copies.
class FileVersionDialog : public Dialog {
 public:
  FileVersionDialog(Services& services, const ProgramState& state)
      : services_(services), state_(state) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override { view.End(0); }

 private:
  Services& services_;
  const ProgramState& state_;
};

// Runs "DLG_fileversion" modally.
void ShowFileVersions(Services& services, const ProgramState& state, WindowRef owner);

// Fills list 173 of the version dialog for every "!VERSION_ON" entry of [COMPFILES] behind a
// progress window. 1 when the list was built; 0 when the user cancelled or the script could
// not be read. The process's current directory is the same afterwards, and nothing of the
// temporary directory "VERTMP.$$$" is left.
int FillVersionList(Services& services, const ProgramState& state, DialogView& dialog);

// Searches the file for the version stamp; 1 with the list line in `line`, the shown name
// first, or 0 when the file cannot be read or holds no complete stamp.
int FindVersionStamp(Files& files, const std::string& path, std::string_view shownName,
                     LineText& line);

// The full path of a directory as the system reports it once it is the process's current
// directory, which it stays; the path as given when the system cannot resolve it.
void ResolveDirectory(DialogView& dialog, std::string_view path, PathText& output);

}  // namespace setup
