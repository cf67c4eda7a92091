#include "app/MainDialog.h"

#include <algorithm>
#include <cstddef>

#include "app/AboutBox.h"
#include "app/CommandLine.h"
#include "app/IntroWindow.h"
#include "config/ConfigDialog.h"
#include "deinstall/DeinstallFlow.h"
#include "install/InstallFlow.h"
#include "script/CatalogueKeys.h"

namespace setup {
namespace {

using notification::kSelectionChanged;

// Runs the intro window, owned by the still hidden main dialog; the texts of the chosen
// language are loaded while it is up.
void ShowIntro(Services& services, ProgramState& state, WindowRef owner) {
  IntroWindow intro(services, state);
  services.host.RunModal("WND_intro", owner, intro);
}

// The bold title line; the program goes on in the dialog's own font when it cannot be made.
void CreateTitleFont(DialogView& view, Prompts& prompts) {
  if (!view.SetFont(main_dialog::kTitle, FontSpec{12, 700, "MS Sans Serif"}))
    prompts.ShowErrorBox(view.Window(), "Unable to find font!");
}

}  // namespace

void UpdateMainTexts(DialogView& view, const ProgramState& state, int mode, int fill) {
  using namespace main_dialog;
  const StringCatalogue& catalogue = state.Catalogue;
  if (fill) {
    view.ComboClear(kLanguage);
    const int count = std::min(state.Languages.count, kMaxLanguages);
    for (int i = 0; i < count; ++i)
      view.ComboAdd(kLanguage, state.Languages.displayNames[static_cast<std::size_t>(i)].view());
    view.ComboSelect(kLanguage, state.LanguageIndex);
  }
  SetCaptionText(view, catalogue, text::DLG_MAIN_CAPTION);
  for (int id : {kExit, kAbout, kTitle, kLanguageLabel, kVersion}) SetItemText(view, catalogue, id);
  constexpr int kActionSlots[] = {text::DLG_MAIN_INSTALL, text::DLG_MAIN_CONFIG,
                                  text::DLG_MAIN_DEINSTALL};
  if (mode >= 0 && mode <= 2) SetItemTextFrom(view, catalogue, kAction, kActionSlots[mode]);
}

void MainDialog::OnInit(DialogView& view) {
  view.ShowWindow(false);
  ShowIntro(services_, state_, view.Window());
  state_.MainWindow = view.Window();

  if (ReadTargetPlatform(services_.files, state_.Script()) !=
      static_cast<int>(services_.system.PlatformId())) {
    services_.prompts.ShowErrorBox(view.Window(), state_.Catalogue.Text(text::ERR_INVALID_OS));
    state_.ExitCode = kExitWrongPlatform;
    view.End(0);
    return;
  }
  if (!CheckAdminRights(services_, state_, view.Window())) {
    state_.ExitCode = kExitNoRights;
    view.End(0);
    return;
  }

  CreateTitleFont(view, services_.prompts);
  UpdateMainTexts(view, state_, state_.StartMode, 1);
  view.Centre();
  view.ShowWindow(true);
}

void MainDialog::OnCommand(DialogView& view, int id, int code) {
  if (id == main_dialog::kExit) {
    view.End(0);
  } else if (id == main_dialog::kAction && code == 0 && state_.StartMode == 0) {
    OpenInstallDialog(services_, state_, view.Window(), state_.SourceDir.view(),
                      [this, &view] { UpdateMainTexts(view, state_, 1, 0); });
  } else if (id == main_dialog::kAction && code == 0 && state_.StartMode == 1) {
    OpenConfigDialog(services_, state_, view.Window(), state_.SourceDir.view());
  } else if (id == main_dialog::kAction && code == 0 && state_.StartMode == 2) {
    OpenDeinstallDialog(services_, state_, view.Window(), state_.SourceDir.view());
  } else if (id == main_dialog::kAbout) {
    AboutBox about(services_, state_);
    services_.host.RunModal("DLG_about", view.Window(), about);
  } else if (id == main_dialog::kLanguage && code == kSelectionChanged) {
    const int selected = view.ComboSelection(main_dialog::kLanguage);
    if (selected < 0) return;
    state_.LanguageIndex = selected;
    LoadStringCatalogue(services_.files, services_.prompts, state_.SourceDir.view(),
                        state_.Languages, state_.LanguageIndex, state_.Catalogue);
    UpdateMainTexts(view, state_, state_.StartMode, 0);
  }
}

void MainDialog::OnClose(DialogView& view) {
  view.End(0);
}

}  // namespace setup
