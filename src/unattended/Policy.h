#pragma once

#include <string_view>

#include "platform/Dialog.h"
#include "platform/Prompts.h"
#include "script/StringCatalogue.h"
#include "unattended/ChangeLog.h"

namespace setup {

// How an unattended run answers the questions the dialogs would ask. Each default is the
// choice that changes least: a newer or read-only file stays, the configuration there is
// stays, and an integrity mismatch keeps the registry's values.
struct Policy {
  bool overwriteNewer = false;
  bool overwriteReadOnly = false;
  bool keepConfiguration = true;
  bool restoreBackup = false;
};

// Prompts and dialog host of a run without a window: every message goes to the log, every
// question is answered by the policy and logged with its answer, a progress window is
// nothing to wait for, and a failure asked about is given up (Abort), so that the run stops
// where the dialogs' Abort would stop it and can be finished by another run.
class PolicyPrompts : public Prompts, public DialogHost {
 public:
  PolicyPrompts(const Policy& policy, const StringCatalogue& catalogue, ChangeLog& log)
      : policy_(policy), catalogue_(catalogue), log_(log) {}

  // Messages that reported a failure, and failures given up.
  int Problems() const { return problems_; }

  void ShowErrorBox(WindowRef owner, std::string_view text) override;
  int ShowMessage(WindowRef owner, std::string_view text) override;
  int AskQuestion(WindowRef owner, int withAll, std::string_view text) override;
  int AskAbortRetryIgnore(WindowRef owner, std::string_view text) override;
  int AskWarningYesNo(WindowRef owner, std::string_view text) override;
  WindowRef OpenProgressWindow(WindowRef, bool, bool) override { return kNoWindow; }
  void SetProgressText(WindowRef, std::string_view) override {}
  void PumpMessages(WindowRef) override {}
  bool ProgressCancelled() const override { return false; }
  void CloseProgressWindow(WindowRef) override {}
  void ShowWaitCursor(bool) override {}

  int RunModal(const char* templateName, WindowRef owner, Dialog& dialog) override;
  WindowRef CreateModeless(const char* templateName, WindowRef owner, Dialog& dialog) override;
  void DestroyModeless(WindowRef) override {}
  BoxAnswer SystemMessageBox(WindowRef owner, std::string_view text, std::string_view caption,
                             BoxKind kind) override;
  void CentreWindow(WindowRef) override {}
  void EnableWindow(WindowRef, bool) override {}
  void PostQuit(int) override {}
  void StartDialogLook() override {}
  void EndDialogLook() override {}

 private:
  void Answered(std::string_view question, const char* answer);

  const Policy& policy_;
  const StringCatalogue& catalogue_;
  ChangeLog& log_;
  int problems_ = 0;
};

}  // namespace setup
