#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <utility>
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
  // Once the scripted answers are used up, Abort/Retry/Ignore gets `result` and any other
  // question `otherwise`, instead of failing the test.
  void AnswerEveryQuestion(int result, int otherwise = kCancel) {
    everyAnswer_ = {result, otherwise};
  }
  // How the next message is left: 0 by OK (what an unscripted message gives), -1 closed.
  void AnswerMessage(int result) { messageAnswers_.push_back(result); }
  // Press the open progress window's cancel button at the given pump (0: the next one). A
  // window opened with confirmation asks first, and only `confirmed` cancels it.
  void CancelProgressAfter(int pumps, bool confirmed = true) {
    cancelAfterPumps_ = pumps;
    cancelConfirmed_ = confirmed;
  }
  bool cancelPending() const { return cancelAfterPumps_ >= 0; }
  bool progressOpen() const { return progress_ != kNoWindow; }

  const std::vector<Shown>& shown() const { return shown_; }
  std::size_t unanswered() const { return answers_.size(); }
  std::vector<std::string> Texts(Kind kind) const {
    std::vector<std::string> texts;
    for (const Shown& s : shown_)
      if (s.kind == kind) texts.push_back(s.text);
    return texts;
  }

  void ShowErrorBox(WindowRef owner, std::string_view text) override {
    shown_.push_back({Kind::ErrorBox, owner, std::string(text)});
  }
  int ShowMessage(WindowRef owner, std::string_view text) override {
    shown_.push_back({Kind::Message, owner, std::string(text)});
    return Next(messageAnswers_, 0);
  }
  int AskQuestion(WindowRef owner, int withAll, std::string_view text) override {
    return Ask(withAll == 1 ? Kind::QuestionWithAll : Kind::Question, owner, text);
  }
  int AskAbortRetryIgnore(WindowRef owner, std::string_view text) override {
    return Ask(Kind::AbortRetryIgnore, owner, text);
  }
  int AskWarningYesNo(WindowRef owner, std::string_view text) override {
    return Ask(Kind::WarningYesNo, owner, text);
  }
  WindowRef OpenProgressWindow(WindowRef owner, bool withCancel, bool confirmCancel) override {
    shown_.push_back({Kind::Progress, owner, std::string()});
    cancelled_ = false;
    withCancel_ = withCancel;
    confirmCancel_ = confirmCancel;
    return progress_ = 0x7001;
  }
  // Calls on a window that is closed or was never opened do nothing, as the real one's do.
  void SetProgressText(WindowRef progress, std::string_view text) override {
    if (progress != kNoWindow && progress == progress_)
      shown_.push_back({Kind::Progress, progress, std::string(text)});
  }
  void PumpMessages(WindowRef) override {
    if (cancelAfterPumps_ < 0 || progress_ == kNoWindow) return;
    EXPECT_TRUE(withCancel_) << "cancelling a progress window that has no cancel button";
    if (cancelAfterPumps_-- == 0 && (!confirmCancel_ || cancelConfirmed_)) {
      cancelled_ = true;
      progress_ = kNoWindow;  // the cancel button destroys the window itself
    }
  }
  bool ProgressCancelled() const override { return cancelled_; }
  void CloseProgressWindow(WindowRef progress) override {
    if (progress == progress_) progress_ = kNoWindow;
  }
  void ShowWaitCursor(bool) override {}

 private:
  static int Next(std::deque<int>& answers, int otherwise) {
    if (answers.empty()) return otherwise;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  int Ask(Kind kind, WindowRef owner, std::string_view text) {
    shown_.push_back({kind, owner, std::string(text)});
    if (answers_.empty() && everyAnswer_)
      return kind == Kind::AbortRetryIgnore ? everyAnswer_->first : everyAnswer_->second;
    if (answers_.empty()) ADD_FAILURE() << "unexpected question: " << text;
    return Next(answers_, kCancel);
  }

  std::vector<Shown> shown_;
  std::deque<int> answers_;
  std::deque<int> messageAnswers_;
  std::optional<std::pair<int, int>> everyAnswer_;
  WindowRef progress_ = kNoWindow;
  int cancelAfterPumps_ = -1;
  bool cancelConfirmed_ = true;
  bool confirmCancel_ = false;
  bool withCancel_ = false;
  bool cancelled_ = false;
};

}  // namespace setup
