#pragma once

#include "platform/Dialog.h"
#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Control identifiers of "DLG_about".
namespace about_box {
inline constexpr int kOk = 0;
inline constexpr int kText = 15;
inline constexpr int kDriverLabel = 16;
inline constexpr int kDriverVersion = 17;
inline constexpr int kFileVersions = 170;
}  // namespace about_box

// The package's about text and the version of the installed CAPI 2.0 driver; opens the list
// of file versions.
class AboutBox : public Dialog {
 public:
  AboutBox(Services& services, const ProgramState& state) : services_(services), state_(state) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override;

 private:
  Services& services_;
  const ProgramState& state_;
  // The version scan pumps messages; a click meanwhile must neither open a second list nor
  // end this box under it.
  bool listing_ = false;
};

// Control 17: the manufacturer's version reported by the CAPI DLL the script names, or
// [TEXT_NOCAPIINSTALLED] when there is none to report.
void ShowDriverVersion(DialogView& view, Services& services, const ProgramState& state);

}  // namespace setup
