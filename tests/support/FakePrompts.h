#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Prompts.h"

namespace setup {

// Records every text shown and gives scripted answers. A question without a scripted answer
// is a test failure.
class FakePrompts : public Prompts {
 public:
  enum class Kind {
    ErrorBox,
    Message,
    Question,
    QuestionWithAll,
    AbortRetryIgnore,
    WarningYesNo,
    Progress
  };
  struct Shown {
    Kind kind;
    WindowRef owner;
    std::string text;
  };

  void Answer(int result) { answers_.push_back(result); }
  // How the next message is left: 0 by OK (what an unscripted message gives), -1 closed.
  void AnswerMessage(int result) { messageAnswers_.push_back(result); }
  // Press the open progress window's cancel button at the given pump (0: the next one). A
  // window opened with confirmation asks first, and only `confirmed` cancels it.
  void CancelProgressAfter(int pumps, bool confirmed = true) {
    cancelAfterPumps_ = pumps;
    cancelConfirmed_ = confirmed;
  }
  bool cancelPending() const { return cancelAfterPumps_ >= 0; }
  // Whether a progress window is open, neither closed nor cancelled.
  bool progressOpen() const { return progress_ != kNoWindow; }

  const std::vector<Shown>& shown() const { return shown_; }
  std::vector<std::string> Texts(Kind kind) const;

  void ShowErrorBox(WindowRef owner, std::string_view text) override;
  int ShowMessage(WindowRef owner, std::string_view text) override;
  int AskQuestion(WindowRef owner, int withAll, std::string_view text) override;
  int AskAbortRetryIgnore(WindowRef owner, std::string_view text) override;
  int AskWarningYesNo(WindowRef owner, std::string_view text) override;
  WindowRef OpenProgressWindow(WindowRef owner, bool withCancel, bool confirmCancel) override;
  void SetProgressText(WindowRef progress, std::string_view text) override;
  void PumpMessages(WindowRef progress) override;
  bool ProgressCancelled() const override { return cancelled_; }
  void CloseProgressWindow(WindowRef progress) override;
  void ShowWaitCursor(bool wait) override { cursor.push_back(wait); }
  // Every change of the wait cursor, in order.
  std::vector<bool> cursor;

 private:
  int NextAnswer(Kind kind, WindowRef owner, std::string_view text);

  std::vector<Shown> shown_;
  std::deque<int> answers_;
  std::deque<int> messageAnswers_;
  WindowRef progress_ = kNoWindow;
  int cancelAfterPumps_ = -1;
  bool cancelConfirmed_ = true;
  bool confirmCancel_ = false;
  bool withCancel_ = false;
  bool cancelled_ = false;
};

}  // namespace setup
