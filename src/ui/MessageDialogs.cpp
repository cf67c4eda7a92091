#include "ui/MessageDialogs.h"

namespace setup {

void MessageDialog::OnInit(DialogView& view) {
  if (layout_.hideWhileBuilding) view.ShowWindow(false);
  view.Centre();
  view.SetText(kMessageTextId, text_);
  SetCaptionText(view, catalogue_, text::MSG_CAPTION);
  for (const DialogButton& button : layout_.buttons)
    SetItemTextFrom(view, catalogue_, button.id, button.labelSlot);
  if (layout_.hideWhileBuilding) view.ShowWindow(true);
}

void MessageDialog::OnCommand(DialogView& view, int id, int) {
  for (const DialogButton& button : layout_.buttons) {
    if (button.id == id) {
      view.End(button.result);
      return;
    }
  }
}

int RunMessageDialog(DialogHost& host, const MessageLayout& layout,
                     const StringCatalogue& catalogue, WindowRef owner, std::string_view text) {
  MessageDialog dialog(layout, catalogue, text);
  return host.RunModal(layout.templateName, owner, dialog);
}

}  // namespace setup
