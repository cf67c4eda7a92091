#pragma once

#include "platform/Dialog.h"
#include "platform/Prompts.h"
#include "script/StringCatalogue.h"
#include "ui/ProgressDialog.h"

namespace setup {

// The program's questions and messages as its own dialogs, labelled in the current language.
class DialogPrompts : public Prompts {
 public:
  DialogPrompts(DialogHost& host, const StringCatalogue& catalogue)
      : host_(host), catalogue_(catalogue), progress_(host, catalogue) {}

  void ShowErrorBox(WindowRef owner, std::string_view text) override;
  int ShowMessage(WindowRef owner, std::string_view text) override;
  int AskQuestion(WindowRef owner, int withAll, std::string_view text) override;
  int AskAbortRetryIgnore(WindowRef owner, std::string_view text) override;
  int AskWarningYesNo(WindowRef owner, std::string_view text) override;
  WindowRef OpenProgressWindow(WindowRef owner, bool withCancel, bool confirmCancel) override;
  void SetProgressText(WindowRef progress, std::string_view text) override;
  void PumpMessages(WindowRef progress) override;
  bool ProgressCancelled() const override { return progress_.Cancelled(); }
  void CloseProgressWindow(WindowRef progress) override;
  void ShowWaitCursor(bool wait) override;

 private:
  DialogHost& host_;
  const StringCatalogue& catalogue_;
  ProgressDialog progress_;
};

}  // namespace setup
