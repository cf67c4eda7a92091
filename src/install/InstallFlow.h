#pragma once

#include <functional>
#include <string>

#include "platform/Dialog.h"
#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Control identifiers of "DLG_install".
namespace install_dialog {
inline constexpr int kInstall = 0;
inline constexpr int kCancel = 1;
inline constexpr int kSource = 20;
inline constexpr int kDestination = 21;
inline constexpr int kChangeSource = 22;
inline constexpr int kChangeDestination = 23;
inline constexpr int kSourceLabel = 24;
inline constexpr int kDestinationLabel = 25;
}  // namespace install_dialog

// The source and destination of an install, and the install itself.
class InstallDialog : public Dialog {
 public:
  InstallDialog(Services& services, ProgramState& state, std::function<void()> installed)
      : services_(services), state_(state), installed_(std::move(installed)) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override;

  // Set when the install wrote a fresh configuration, for the user to adjust.
  int configureAfter = 0;

 private:
  Services& services_;
  ProgramState& state_;
  std::function<void()> installed_;
};

// Whether `path` is whole in itself: a drive letter, a colon and a backslash, or a network
// share "\\server\share". Only such source and destination paths are installed from and to.
bool IsFullPath(std::string_view path);

// The root of the Windows drive, as the system names it, and DefaultDirName.
std::string DefaultDestination(Services& services, const ProgramState& state);

// Runs "DLG_install" over the main dialog, after taking `directory` as SourceDir.
// `installed` is how the main dialog turns to configuring once the package is in place.
void OpenInstallDialog(Services& services, ProgramState& state, WindowRef owner,
                       std::string_view directory, std::function<void()> installed);

// The whole install from `source` to `destination` (full paths, as the dialog's two fields
// hold them): files, script version, program group, registration and configuration, ending
// in StartMode 1 (then `installed` runs). 1 when it wrote a fresh configuration.
int RunInstall(Services& services, ProgramState& state, WindowRef owner, std::string_view source,
               std::string_view destination, const std::function<void()>& installed);

}  // namespace setup
