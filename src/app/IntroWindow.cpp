#include "app/IntroWindow.h"

namespace setup {

void IntroWindow::OnInit(DialogView& view) {
  // Every dialog opened after this one shows the program's icon.
  view.SetClassIcon("mainico");
  view.Centre();
  LoadStringCatalogue(services_.files, services_.prompts, state_.SourceDir.view(), state_.Languages,
                      state_.LanguageIndex, state_.Catalogue);
  view.StartTimer(kTimer, kShowMilliseconds);
  switch (view.SetPatternBackground("velmarbmp")) {
    case BackgroundResult::NoBitmap:
      services_.prompts.ShowErrorBox(view.Window(), "Unable to load bitmap!");
      break;
    case BackgroundResult::NoBrush:
      services_.prompts.ShowErrorBox(view.Window(), "Can't create brush!");
      break;
    case BackgroundResult::Painted:
      break;
  }
}

void IntroWindow::OnTimer(DialogView& view, int timer) {
  if (timer == kTimer) Close(view);
}

void IntroWindow::OnClickOrKey(DialogView& view) {
  Close(view);
}

void IntroWindow::Close(DialogView& view) {
  view.StopTimer(kTimer);
  view.End(0);
}

}  // namespace setup
