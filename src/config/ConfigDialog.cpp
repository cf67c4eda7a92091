#include "config/ConfigDialog.h"

#include <algorithm>
#include <memory>

#include "script/CatalogueKeys.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/IntegrityBackup.h"
#include "sysconfig/ServiceConfig.h"
#include "sysconfig/SystemEntriesRemoval.h"

namespace setup {
namespace {

// The adapter table holds four; a count of 0 would leave no adapter to show.
void BoundAdapterCount(DriverServiceConfig& config) {
  config.NumberOfControllers =
      std::clamp<std::uint32_t>(config.NumberOfControllers, 1, kMaxAdapters);
}

std::uint32_t ProtocolFlagsOf(Services& services, const ProgramState& state) {
  return GetProtocolFlags(services.files, services.prompts, state.Script(),
                          state.ServiceConfig.ImagePath.view());
}

// The registry's values over the defaults; false when the reader has reported a failure.
bool LoadConfiguration(Services& services, ProgramState& state) {
  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services, state, found);
  if (n == 0) return false;
  DriverServiceConfig& config = state.ServiceConfig;
  InitServiceConfigDefaults(services, state, n, config);
  if (!ReadServiceConfig(services, state, config)) return false;
  const int withSpid = (ProtocolFlagsOf(services, state) & kProtocolNeedsSpid) ? 1 : 0;
  for (AdapterConfig& adapter : state.Adapters) InitAdapterDefaults(adapter);
  for (std::uint32_t i = 0; i < config.NumberOfControllers && i < kMaxAdapters; ++i)
    ReadAdapterConfig(services, state, state.Adapters[i], static_cast<int>(i), withSpid);
  return true;
}

}  // namespace

int LoadCheckedConfiguration(Services& services, ProgramState& state, WindowRef owner) {
  if (!LoadConfiguration(services, state)) return 0;
  const int integrity = CheckIntegrity(services, state, owner);
  // A restored backup may claim no adapter.
  if (integrity != 0) BoundAdapterCount(state.ServiceConfig);
  return integrity;
}

bool WriteConfiguration(Services& services, ProgramState& state, std::uint32_t n, int withSpid) {
  bool written = ClearOptionalServiceEntries(services, state);
  written = WriteServiceConfig(services, state, n, state.ServiceConfig) && written;
  written = DeleteAdapterKeys(services, state) && written;
  const std::uint32_t count = state.ServiceConfig.NumberOfControllers;
  for (std::uint32_t i = 0; i < count && i < kMaxAdapters; ++i)
    written =
        WriteAdapterConfig(services, state, state.Adapters[i], static_cast<int>(i), withSpid) &&
        written;
  written = WriteIntegrityBackup(services, state) && written;
  state.RestartRequired = 1;
  return written;
}

ConfigFrame::ConfigFrame(Services& services, ProgramState& state, WindowRef owner)
    : services_(services),
      state_(state),
      owner_(owner),
      adapter_(*this),
      advanced_(*this),
      maintenance_(*this) {}

std::uint32_t ConfigFrame::MaintenanceMode() const {
  MaintenanceConfig script;
  return ReadMaintenanceSection(services_.files, state_.Script(), script) ? script.Mode
                                                                          : kMaintenanceOff;
}

bool ConfigFrame::Open(int changed) {
  DialogHost& host = services_.host;
  const WindowRef frame = host.CreateModeless("DLG_cfg_main", owner_, *this);
  if (frame == kNoWindow) return false;
  changed_ = changed;
  host.CreateModeless("DLG_cfg_adapter", frame, adapter_);
  const std::uint32_t mode = MaintenanceMode();
  if (mode == kMaintenanceOff) frame_->DestroyControl(config_frame::kMaintenanceButton);
  host.CreateModeless(mode == kMaintenanceOff ? "DLG_cfg_advanced" : "DLG_cfg_advanced_mntsw",
                      frame, advanced_);
  if (mode == kMaintenanceFull || mode == kMaintenanceDefault)
    host.CreateModeless(
        mode == kMaintenanceFull ? "DLG_cfg_maintenance" : "DLG_cfg_maintenance_def", frame,
        maintenance_);
  FillPages();
  adapter_.SelectAdapter(0);
  // The owner would let a second dialog open over this one, or exit without asking.
  host.EnableWindow(owner_, false);
  ShowPage(config_frame::kAdapterButton);
  ActivateFrame();
  return true;
}

void ConfigFrame::OnInit(DialogView& view) {
  using namespace config_frame;
  frame_ = &view;
  const StringCatalogue& catalogue = state_.Catalogue;
  SetCaptionText(view, catalogue, text::DLG_CFG_CAPTION);
  SetItemTextFrom(view, catalogue, kOk, text::BUTTON_OK);
  SetItemTextFrom(view, catalogue, kReset, text::BUTTON_RESET);
  SetItemTextFrom(view, catalogue, kCancel, text::BUTTON_CANCEL);
  for (int id : {kAdapterButton, kAdvancedButton, kMaintenanceButton})
    SetItemText(view, catalogue, id);
  view.Centre();
  view.SetPushed(kAdapterButton, true);
}

void ConfigFrame::ShowPage(int button) {
  using namespace config_frame;
  const struct {
    int button;
    DialogView* page;
  } pages[] = {{kAdapterButton, adapter_.view()},
               {kAdvancedButton, advanced_.view()},
               {kMaintenanceButton, maintenance_.view()}};
  for (const auto& p : pages) {
    if (p.page) p.page->ShowWindow(p.button == button);
    frame_->SetPushed(p.button, p.button == button);
  }
}

void ConfigFrame::ActivateFrame() {
  if (frame_) frame_->BringToFront();
}

void ConfigFrame::ShowMaintenanceButton(bool on) {
  const std::uint32_t mode = MaintenanceMode();
  // Without a maintenance page the button would show an empty frame.
  frame_->ShowControl(config_frame::kMaintenanceButton,
                      on && (mode == kMaintenanceFull || mode == kMaintenanceDefault));
}

void ConfigFrame::FillPages() {
  DriverServiceConfig& config = state_.ServiceConfig;
  advanced_.FillPointToPointAndDataIo();
  adapter_.FillAdapterList(config.NumberOfControllers);
  adapter_.FillProtocolList();
  adapter_.FillStartList();
  advanced_.FillDosVector();
  adapter_.FillTestList();
  advanced_.FillDeliveryConf();
  const std::uint32_t flags = ProtocolFlagsOf(services_, state_);
  advanced_.FillX31Layer2((flags & kProtocolHasX31) != 0);
  adapter_.EnableSpid((flags & kProtocolNeedsSpid) != 0);
  advanced_.FillMaintenanceSwitch();
  const std::uint32_t mode = MaintenanceMode();
  if (mode == kMaintenanceFull || mode == kMaintenanceDefault) maintenance_.Fill(mode);
  ShowMaintenanceButton(config.Controller != kMaintenanceNotOn);
}

void ConfigFrame::CollectPageValues() {
  DriverServiceConfig& config = state_.ServiceConfig;
  advanced_.CollectValues();
  adapter_.CollectValues();
  if (ProtocolFlagsOf(services_, state_) & kProtocolHasX31) advanced_.CollectX31Layer2();
  const std::uint32_t mode = MaintenanceMode();
  if (mode == kMaintenanceFull) {
    maintenance_.CollectValues();
    // Written even when the registry had no maintenance settings yet.
    config.MaintenanceMode = mode;
  }
  if (config.NumberOfControllers == 1) config.Controller = 1;
  if (!advanced_.MaintenanceSwitchedOn()) config.Controller = kMaintenanceNotOn;
  if (mode == kMaintenanceDefault || mode == kMaintenanceDefaultInvisible) {
    ApplyMaintenanceDefaults(services_, state_, config);
    MaintenanceConfig script;
    ReadMaintenanceSection(services_.files, state_.Script(), script);
    if (advanced_.MaintenanceSwitchedOn()) config.Controller = script.Controller;
  }
}

void ConfigFrame::OnCommand(DialogView&, int id, int code) {
  using namespace config_frame;
  if (code != 0) return;
  switch (id) {
    case kAdapterButton:
    case kAdvancedButton:
    case kMaintenanceButton:
      ShowPage(id);
      break;
    case kOk:
      Ok();
      break;
    case kCancel:
      if (!changed_ || AskYes(text::QUEST_CFG_ABORT)) Close();
      break;
    case kReset:
      Reset();
      break;
    default:
      break;
  }
}

void ConfigFrame::OnClose(DialogView&) {
  if (AskYes(text::QUEST_CFG_ABORT)) Close();
}

bool ConfigFrame::AskYes(int question) {
  return services_.host.SystemMessageBox(frame_->Window(), state_.Catalogue.Text(question),
                                         state_.Catalogue.Text(text::MSG_CAPTION),
                                         BoxKind::QuestionYesNoDefaultNo) == BoxAnswer::Yes;
}

// The owner is enabled first: the system hands the activation on as the frame goes, and
// a disabled owner cannot take it, so it would go to another program.
void ConfigFrame::Close() {
  services_.host.EnableWindow(owner_, true);
  services_.host.DestroyModeless(frame_->Window());
}

// Without a registration number (its search has reported why) nothing is written. After a
// failure the dialog stays, holding what the user chose, for another OK or Cancel: opened
// again, it would show the half-written registry instead.
void ConfigFrame::Ok() {
  if (!changed_) return Close();
  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services_, state_, found);
  if (n == 0) return;
  CollectPageValues();
  adapter_.StoreAdapterFields(adapter_.ShownAdapter());
  if (!WriteConfiguration(services_, state_, n, adapter_.SpidEnabled() ? 1 : 0)) return;
  state_.ExitCode = kExitSuccess;
  Close();
}

void ConfigFrame::Reset() {
  if (!AskYes(text::QUEST_CFG_RESET)) return;
  int found = 0;
  const std::uint32_t n = FindCapiControllerNumber(services_, state_, found);
  if (n == 0) return;
  InitFreshConfiguration(services_, state_, n);
  FillPages();
  adapter_.SelectAdapter(0);
  ShowPage(config_frame::kAdapterButton);
  changed_ = 1;
}

void OpenConfigDialog(Services& services, ProgramState& state, WindowRef owner,
                      std::string_view directory) {
  if (state.ConfigDialog && state.ConfigDialog->IsOpen())
    return state.ConfigDialog->ActivateFrame();
  DialogHost& host = services.host;
  host.ShowWaitCursor(true);
  const int integrity = LoadCheckedConfiguration(services, state, owner);
  if (integrity == 0) return host.ShowWaitCursor(false);
  if (directory.data() != state.SourceDir.c_str()) state.SourceDir.Assign(directory);
  state.ConfigDialog = std::make_shared<ConfigFrame>(services, state, owner);
  // The restored values differ from the registry's: only OK puts them back.
  const bool opened = state.ConfigDialog->Open(integrity == 2 ? 1 : 0);
  host.ShowWaitCursor(false);
  if (!opened) services.prompts.ShowErrorBox(owner, "Unable to open Configuration dialog!");
}

}  // namespace setup
