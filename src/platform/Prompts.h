#pragma once

#include <string_view>

#include "platform/Window.h"

namespace setup {

// The questions, messages and progress window every part of the program uses. Results are
// the program's own small integers.
class Prompts {
 public:
  static constexpr int kYes = 1, kNo = 0, kAll = 2, kCancel = -1;
  static constexpr int kAbort = -1, kRetry = -2, kIgnore = -3;

  virtual ~Prompts() = default;

  // The system message box: information icon, OK only.
  virtual void ShowErrorBox(WindowRef owner, std::string_view text) = 0;
  // 0 on OK, -1 when closed from the system menu or when the dialog could not be made.
  virtual int ShowMessage(WindowRef owner, std::string_view text) = 0;
  // With withAll == 1 the question offers All as well.
  virtual int AskQuestion(WindowRef owner, int withAll, std::string_view text) = 0;
  virtual int AskAbortRetryIgnore(WindowRef owner, std::string_view text) = 0;
  // The system message box with an exclamation icon, Yes and No, No the default: kYes or kNo.
  virtual int AskWarningYesNo(WindowRef owner, std::string_view text) = 0;

  // Only one progress window exists at a time.
  virtual WindowRef OpenProgressWindow(WindowRef owner, bool withCancel, bool confirmCancel) = 0;
  virtual void SetProgressText(WindowRef progress, std::string_view text) = 0;
  virtual void PumpMessages(WindowRef progress) = 0;
  virtual bool ProgressCancelled() const = 0;
  // Closes a progress window the user has not cancelled.
  virtual void CloseProgressWindow(WindowRef progress) = 0;

  virtual void ShowWaitCursor(bool wait) = 0;
};

}  // namespace setup
