#pragma once

#include "platform/Dialog.h"
#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// Control identifiers of "DLG_main".
namespace main_dialog {
inline constexpr int kAction = 3;
inline constexpr int kAbout = 7;
inline constexpr int kExit = 8;
inline constexpr int kLanguage = 9;
inline constexpr int kTitle = 10;
inline constexpr int kLanguageLabel = 11;
inline constexpr int kVersion = 12;
}  // namespace main_dialog

// The program's only top-level window: shows the intro, checks platform and rights, and
// offers the action chosen by StartMode.
class MainDialog : public Dialog {
 public:
  MainDialog(Services& services, ProgramState& state) : services_(services), state_(state) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override;

 private:
  Services& services_;
  ProgramState& state_;
};

// Labels the main dialog in the current language; the action button follows `mode`. With a
// nonzero `fill` the language box is refilled from the table and shows LanguageIndex.
void UpdateMainTexts(DialogView& view, const ProgramState& state, int mode, int fill);

}  // namespace setup
