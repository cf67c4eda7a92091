#include "unattended/Policy.h"

#include <string>

#include "script/CatalogueKeys.h"

namespace setup {

void PolicyPrompts::Answered(std::string_view question, const char* answer) {
  log_.Write("question: " + std::string(question) + " - answered " + answer);
}

void PolicyPrompts::ShowErrorBox(WindowRef, std::string_view message) {
  ++problems_;
  log_.Write("error: " + std::string(message));
}

int PolicyPrompts::ShowMessage(WindowRef, std::string_view message) {
  const bool information = message == catalogue_.Text(text::INFO_INS_DONE) ||
                           message == catalogue_.Text(text::INFO_DEI_DONE) ||
                           message == catalogue_.Text(text::INFO_OTHERMANU);
  if (!information) ++problems_;
  log_.Write((information ? "message: " : "error: ") + std::string(message));
  return 0;
}

int PolicyPrompts::AskQuestion(WindowRef, int withAll, std::string_view message) {
  // Only the question about a target newer than its source offers All.
  if (withAll) {
    Answered(message, policy_.overwriteNewer ? "All" : "No");
    return policy_.overwriteNewer ? kAll : kNo;
  }
  if (message == catalogue_.Text(text::QUEST_APPLYOLD)) {
    Answered(message, policy_.keepConfiguration ? "Yes" : "No");
    return policy_.keepConfiguration ? kYes : kNo;
  }
  // The integrity check's confirmations: the choice was made in its dialog.
  if (message == catalogue_.Text(text::QUEST_CCI_APPLYNEW) ||
      message == catalogue_.Text(text::QUEST_CCI_RESTOREOLD)) {
    Answered(message, "Yes");
    return kYes;
  }
  Answered(message, "No");
  return kNo;
}

int PolicyPrompts::AskAbortRetryIgnore(WindowRef, std::string_view message) {
  ++problems_;
  Answered(message, "Abort");
  return kAbort;
}

int PolicyPrompts::AskWarningYesNo(WindowRef, std::string_view message) {
  Answered(message, policy_.overwriteReadOnly ? "Yes" : "No");
  return policy_.overwriteReadOnly ? kYes : kNo;
}

int PolicyPrompts::RunModal(const char* templateName, WindowRef, Dialog&) {
  if (std::string_view(templateName) == "DLG_chkintegrity") {
    log_.Write(std::string("integrity check: the registry differs from its backup - ") +
               (policy_.restoreBackup ? "restoring the backup" : "keeping the registry's values"));
    return policy_.restoreBackup ? 2 : 1;
  }
  ++problems_;
  log_.Write(std::string("error: no window in an unattended run: ") + templateName);
  return -1;
}

WindowRef PolicyPrompts::CreateModeless(const char* templateName, WindowRef, Dialog&) {
  ++problems_;
  log_.Write(std::string("error: no window in an unattended run: ") + templateName);
  return kNoWindow;
}

BoxAnswer PolicyPrompts::SystemMessageBox(WindowRef, std::string_view message, std::string_view,
                                          BoxKind kind) {
  if (kind == BoxKind::InformationOk) {
    log_.Write("message: " + std::string(message));
    return BoxAnswer::Ok;
  }
  Answered(message, "No");
  return BoxAnswer::No;
}

}  // namespace setup
