#pragma once

#include <cstdint>

#include "config/ConfigChoices.h"
#include "platform/Dialog.h"
#include "script/Protocols.h"

namespace setup {

class ConfigFrame;

// Control identifiers of "DLG_cfg_advanced" and "DLG_cfg_advanced_mntsw".
namespace advanced_page {
inline constexpr int kGroup = 37;
inline constexpr int kDosVector = 48;
inline constexpr int kDosVectorLabel = 49;
inline constexpr int kDataIoLabel = 59;
inline constexpr int kDataIo = 60;
inline constexpr int kPointToPoint = 61;
inline constexpr int kDeliveryConf = 62;
inline constexpr int kDeliveryConfLabel = 63;
inline constexpr int kX31Layer2 = 65;
inline constexpr int kX31Layer2Label = 66;
inline constexpr int kMaintenanceSwitch = 67;
}  // namespace advanced_page

// Control identifiers of "DLG_cfg_maintenance" and, as static texts, "DLG_cfg_maintenance_def".
namespace maintenance_page {
inline constexpr int kGeneralGroup = 34;
inline constexpr int kSecurityGroup = 38;
inline constexpr int kCipLabel = 68;
inline constexpr int kCip = 69;
inline constexpr int kControllerLabel = 70;
inline constexpr int kController = 52;
inline constexpr int kUserNameLabel = 71;
inline constexpr int kUserName = 72;
inline constexpr int kPasswordLabel = 73;
inline constexpr int kPassword = 74;
inline constexpr int kCalledNumberLabel = 75;
inline constexpr int kCalledNumber = 76;
inline constexpr int kCalledSubaddressLabel = 77;
inline constexpr int kCalledSubaddress = 78;
inline constexpr int kCallingHeading = 79;
inline constexpr int kCalling = 80;
inline constexpr int kCallingComment = 81;
inline constexpr int kEdit = 82;
inline constexpr int kAdd = 91;
inline constexpr int kRemove = 92;
}  // namespace maintenance_page

// Control identifiers of "DLG_partynumber".
namespace party_dialog {
inline constexpr int kOk = 0;
inline constexpr int kCancel = 1;
inline constexpr int kNumberLabel = 85;
inline constexpr int kNumber = 86;
inline constexpr int kSubaddressLabel = 87;
inline constexpr int kSubaddress = 88;
}  // namespace party_dialog

// Options for all adapters, and the switch for remote maintenance where the script offers it.
class AdvancedPage : public Dialog {
 public:
  explicit AdvancedPage(ConfigFrame& frame) : frame_(frame) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnDestroy(DialogView&) override { view_ = nullptr; }
  DialogView* view() const { return view_; }

  void FillPointToPointAndDataIo();
  void FillDosVector();
  void FillDeliveryConf();
  void FillX31Layer2(bool hasX31);
  void FillMaintenanceSwitch();
  // DataIoMode, Point2Point, DeliveryConf and DosVector.
  void CollectValues();
  void CollectX31Layer2();
  bool MaintenanceSwitchedOn() const;

 private:
  ConfigFrame& frame_;
  DialogView* view_ = nullptr;
};

// The remote-maintenance settings: editable in mode 1, shown as text in mode 2.
class MaintenancePage : public Dialog {
 public:
  explicit MaintenancePage(ConfigFrame& frame) : frame_(frame) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnDestroy(DialogView&) override { view_ = nullptr; }
  DialogView* view() const { return view_; }

  void Fill(std::uint32_t mode);
  void FillControllerList(std::uint32_t adapters);
  void CollectValues();
  void UpdatePartyButtons();

 private:
  void FillReadOnlyController(std::uint32_t adapters);
  void RunPartyNumberDialog(int mode);

  ConfigFrame& frame_;
  DialogView* view_ = nullptr;
  std::uint32_t mode_ = kMaintenanceFull;
  MaintenanceConfig script_;
  // The controller chosen, kept in the list while the number of adapters changes.
  std::uint32_t controller_ = 0;
};

// Adds (mode 0) or edits (mode 1) one line of the maintenance page's calling party numbers.
class PartyNumberDialog : public Dialog {
 public:
  PartyNumberDialog(ConfigFrame& frame, DialogView& page, int mode)
      : frame_(frame), page_(page), mode_(mode) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override { view.End(0); }

 private:
  ConfigFrame& frame_;
  DialogView& page_;
  int mode_;
};

}  // namespace setup
