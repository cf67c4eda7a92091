#include "ui/DialogPrompts.h"

#include "ui/MessageDialogs.h"

namespace setup {

void DialogPrompts::ShowErrorBox(WindowRef owner, std::string_view text) {
  host_.SystemMessageBox(owner, text, catalogue_.Text(text::MSG_CAPTION), BoxKind::InformationOk);
}

int DialogPrompts::ShowMessage(WindowRef owner, std::string_view text) {
  return RunMessageDialog(host_, kMessageLayout, catalogue_, owner, text);
}

int DialogPrompts::AskQuestion(WindowRef owner, int withAll, std::string_view text) {
  return RunMessageDialog(host_, withAll == 1 ? kQuestionWithAllLayout : kQuestionLayout,
                          catalogue_, owner, text);
}

int DialogPrompts::AskAbortRetryIgnore(WindowRef owner, std::string_view text) {
  return RunMessageDialog(host_, kAbortRetryIgnoreLayout, catalogue_, owner, text);
}

int DialogPrompts::AskWarningYesNo(WindowRef owner, std::string_view text) {
  return host_.SystemMessageBox(owner, text, catalogue_.Text(text::MSG_CAPTION),
                                BoxKind::WarningYesNoDefaultNo) == BoxAnswer::Yes
             ? kYes
             : kNo;
}

WindowRef DialogPrompts::OpenProgressWindow(WindowRef owner, bool withCancel, bool confirmCancel) {
  return progress_.Open(owner, withCancel, confirmCancel);
}

void DialogPrompts::SetProgressText(WindowRef progress, std::string_view text) {
  progress_.SetText(progress, text);
}

void DialogPrompts::PumpMessages(WindowRef progress) {
  host_.PumpMessages(progress);
}

void DialogPrompts::CloseProgressWindow(WindowRef progress) {
  progress_.Close(progress);
}

void DialogPrompts::ShowWaitCursor(bool wait) {
  host_.ShowWaitCursor(wait);
}

}  // namespace setup
