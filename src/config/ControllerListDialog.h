#pragma once

#include <cstdint>

#include "platform/Dialog.h"
#include "state/ConfigRecords.h"

namespace setup {

class ConfigFrame;

// Control identifiers of "DLG_chctl".
namespace controller_list_dialog {
inline constexpr int kOk = 0;
inline constexpr int kCancel = 1;
inline constexpr int kHeading = 90;
inline constexpr int kAdd = 91;
inline constexpr int kRemove = 92;
inline constexpr int kList = 93;
}  // namespace controller_list_dialog

// How many adapters the driver serves, one to four: OK rebuilds the adapter page's list.
class ControllerListDialog : public Dialog {
 public:
  ControllerListDialog(ConfigFrame& frame, DialogView& adapterPage)
      : frame_(frame), adapterPage_(adapterPage) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override { view.End(0); }

 private:
  void EnableButtons(DialogView& view, int count);

  ConfigFrame& frame_;
  DialogView& adapterPage_;
};

void RunControllerListDialog(ConfigFrame& frame, DialogView& adapterPage);

// Default settings for adapters oldCount .. newCount - 1, each with an interrupt and a base
// address no adapter before it uses.
void AssignNewAdapters(AdapterTable& adapters, std::uint32_t newCount, std::uint32_t oldCount);

}  // namespace setup
