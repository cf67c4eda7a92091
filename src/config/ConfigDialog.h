#pragma once

#include <cstdint>
#include <string_view>

#include "config/AdapterPage.h"
#include "config/AdvancedPages.h"
#include "platform/Dialog.h"
#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Control identifiers of "DLG_cfg_main".
namespace config_frame {
inline constexpr int kOk = 0;
inline constexpr int kCancel = 1;
inline constexpr int kReset = 174;
inline constexpr int kAdapterButton = 41;
inline constexpr int kAdvancedButton = 43;
inline constexpr int kMaintenanceButton = 44;
}  // namespace config_frame

// The configuration dialog: a frame with OK, Reset, Cancel and page buttons over the pages,
// which all edit the configuration in ProgramState. The registry is written only on OK and
// only after an edit.
class ConfigFrame : public Dialog {
 public:
  ConfigFrame(Services& services, ProgramState& state, WindowRef owner);

  // Creates the frame and its pages over the configuration in memory; false when the frame
  // could not be made.
  bool Open(int changed);
  bool IsOpen() const { return frame_ != nullptr; }

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override;
  void OnDestroy(DialogView&) override { frame_ = nullptr; }

  // Shows the whole configuration on every page.
  void FillPages();
  // Takes every page's values back, but for the fields of the adapter shown.
  void CollectPageValues();
  void MarkChanged() { changed_ = 1; }
  int Changed() const { return changed_; }
  // The maintenance page button follows the maintenance switch, where there is a page.
  void ShowMaintenanceButton(bool on);
  void ActivateFrame();

  Services& services() { return services_; }
  ProgramState& state() { return state_; }
  AdapterPage& adapterPage() { return adapter_; }
  MaintenancePage& maintenancePage() { return maintenance_; }
  // The script's maintenance mode, 0 without a [MAINTENANCE] section.
  std::uint32_t MaintenanceMode() const;

 private:
  void ShowPage(int button);
  void Ok();
  void Reset();
  // The frame's questions: a system box with No as the default; true only on Yes.
  bool AskYes(int question);
  void Close();

  Services& services_;
  ProgramState& state_;
  WindowRef owner_;
  DialogView* frame_ = nullptr;
  int changed_ = 0;
  AdapterPage adapter_;
  AdvancedPage advanced_;
  MaintenancePage maintenance_;
};

// The registry's configuration over the defaults, after the integrity check has had its say:
// 0 when there is nothing to configure (a failure reported, or the check's cancel); 1 with
// the registry's values, 2 with the backup's (they differ from the registry's).
int LoadCheckedConfiguration(Services& services, ProgramState& state, WindowRef owner);

// Writes the configuration in the state, registered as number `n`, over the registry's: the
// service, its first NumberOfControllers adapters (with their SPID when `withSpid`) and the
// integrity backup; it takes effect after a restart. The writers report their own failures;
// the sequence goes on regardless, and false tells of any.
bool WriteConfiguration(Services& services, ProgramState& state, std::uint32_t n, int withSpid);

// Loads the installed configuration, lets the integrity check have its say and opens the
// configuration dialog over `owner`, which stays disabled while the dialog is open.
void OpenConfigDialog(Services& services, ProgramState& state, WindowRef owner,
                      std::string_view directory);

}  // namespace setup
