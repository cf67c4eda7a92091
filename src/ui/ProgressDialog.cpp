#include "ui/ProgressDialog.h"

namespace setup {

WindowRef ProgressDialog::Open(WindowRef owner, bool withCancel, bool confirmCancel) {
  // This object serves one window at a time; a window left open by an earlier operation
  // would otherwise share it.
  if (view_) host_.DestroyModeless(view_->Window());
  requestedConfirm_ = confirmCancel;
  return host_.CreateModeless(withCancel ? "DLG_info_cancel" : "DLG_info", owner, *this);
}

DialogView* ProgressDialog::OpenView(WindowRef window) const {
  return view_ && window != kNoWindow && view_->Window() == window ? view_ : nullptr;
}

void ProgressDialog::SetText(WindowRef window, std::string_view text) {
  if (DialogView* view = OpenView(window)) {
    // Emptied first: a static of the same text length would otherwise not repaint.
    view->SetText(kProgressTextId, "");
    view->SetText(kProgressTextId, text);
  }
}

void ProgressDialog::Close(WindowRef window) {
  if (OpenView(window)) host_.DestroyModeless(window);
}

void ProgressDialog::OnInit(DialogView& view) {
  view_ = &view;
  view.Centre();
  // Never acted on: it only keeps PumpMessages from waiting longer than one period.
  view.StartTimer(kTimer, 100);
  SetItemTextFrom(view, catalogue_, kCancelId, text::BUTTON_CANCEL);
  cancelled_ = false;
  confirmCancel_ = requestedConfirm_;
}

void ProgressDialog::OnCommand(DialogView& view, int id, int) {
  // The confirmation box has no owner, so the button stays clickable while it is up.
  if (id != kCancelId || asking_) return;
  if (confirmCancel_) {
    asking_ = true;
    const BoxAnswer answer =
        host_.SystemMessageBox(kNoWindow, catalogue_.Text(text::QUEST_INFO_ABORT),
                               catalogue_.Text(text::MSG_CAPTION), BoxKind::QuestionYesNoDefaultNo);
    asking_ = false;
    if (answer != BoxAnswer::Yes) return;
  }
  cancelled_ = true;
  view.End(0);
}

void ProgressDialog::OnDestroy(DialogView& view) {
  view.StopTimer(kTimer);
  view_ = nullptr;
}

}  // namespace setup
