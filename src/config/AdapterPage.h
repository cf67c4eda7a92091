#pragma once

#include <cstdint>

#include "config/ConfigChoices.h"
#include "platform/Dialog.h"

namespace setup {

class ConfigFrame;

// Control identifiers of "DLG_cfg_adapter".
namespace adapter_page {
inline constexpr int kGeneralGroup = 34;
inline constexpr int kAdapterGroup = 35;
inline constexpr int kProtocolLabel = 39;
inline constexpr int kProtocol = 40;
inline constexpr int kStartLabel = 46;
inline constexpr int kStart = 47;
inline constexpr int kTestLabel = 50;
inline constexpr int kTest = 51;
inline constexpr int kAdapters = 52;
inline constexpr int kBaseAddress = 53;
inline constexpr int kBaseAddressLabel = 54;
inline constexpr int kInterruptLabel = 55;
inline constexpr int kInterrupt = 56;
inline constexpr int kSpid = 57;
inline constexpr int kSpidLabel = 58;
inline constexpr int kChange = 64;
}  // namespace adapter_page

// The driver's protocol, start and test mode, and one adapter at a time with its interrupt,
// base address and SPID, kept free of conflicts with the other adapters.
class AdapterPage : public Dialog {
 public:
  explicit AdapterPage(ConfigFrame& frame) : frame_(frame) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnDestroy(DialogView&) override { view_ = nullptr; }
  DialogView* view() const { return view_; }

  void FillAdapterList(std::uint32_t count);
  void FillProtocolList();
  void FillStartList();
  void FillTestList();
  void EnableSpid(bool enabled);
  // Takes the protocol, start and test mode and the number of adapters back.
  void CollectValues();

  void SelectAdapter(int index);
  void StoreAdapterFields(int index);
  int ShownAdapter() const { return shown_; }
  std::uint32_t AdapterCount() const;
  bool SpidEnabled() const;

 private:
  // An interrupt or base address that another adapter uses cannot be chosen: the shown
  // adapter's own value comes back.
  void RefuseValueInUse();
  void ChangeProtocol();
  void ChangeAdapterCount();

  ConfigFrame& frame_;
  DialogView* view_ = nullptr;
  int shown_ = 0;
};

}  // namespace setup
