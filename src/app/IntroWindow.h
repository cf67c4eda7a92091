#pragma once

#include "platform/Dialog.h"
#include "platform/Services.h"
#include "state/ProgramState.h"

namespace setup {

// The product bitmap shown for a moment before the main dialog; the texts of the chosen
// language are loaded while it is up.
class IntroWindow : public Dialog {
 public:
  static constexpr int kTimer = 1;
  static constexpr unsigned kShowMilliseconds = 2500;

  IntroWindow(Services& services, ProgramState& state) : services_(services), state_(state) {}

  void OnInit(DialogView& view) override;
  void OnTimer(DialogView& view, int timer) override;
  void OnClickOrKey(DialogView& view) override;

 private:
  void Close(DialogView& view);

  Services& services_;
  ProgramState& state_;
};

}  // namespace setup
