#include "support/FakePrompts.h"

#include <gtest/gtest.h>

namespace setup {

std::vector<std::string> FakePrompts::Texts(Kind kind) const {
  std::vector<std::string> texts;
  for (const Shown& s : shown_)
    if (s.kind == kind) texts.push_back(s.text);
  return texts;
}

void FakePrompts::ShowErrorBox(WindowRef owner, std::string_view text) {
  shown_.push_back({Kind::ErrorBox, owner, std::string(text)});
}

int FakePrompts::ShowMessage(WindowRef owner, std::string_view text) {
  shown_.push_back({Kind::Message, owner, std::string(text)});
  if (messageAnswers_.empty()) return 0;
  const int answer = messageAnswers_.front();
  messageAnswers_.pop_front();
  return answer;
}

int FakePrompts::NextAnswer(Kind kind, WindowRef owner, std::string_view text) {
  shown_.push_back({kind, owner, std::string(text)});
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected question: " << text;
    return kCancel;
  }
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

int FakePrompts::AskQuestion(WindowRef owner, int withAll, std::string_view text) {
  return NextAnswer(withAll == 1 ? Kind::QuestionWithAll : Kind::Question, owner, text);
}

int FakePrompts::AskAbortRetryIgnore(WindowRef owner, std::string_view text) {
  return NextAnswer(Kind::AbortRetryIgnore, owner, text);
}

int FakePrompts::AskWarningYesNo(WindowRef owner, std::string_view text) {
  return NextAnswer(Kind::WarningYesNo, owner, text);
}

WindowRef FakePrompts::OpenProgressWindow(WindowRef owner, bool withCancel, bool confirmCancel) {
  shown_.push_back({Kind::Progress, owner, std::string()});
  cancelled_ = false;
  confirmCancel_ = confirmCancel;
  withCancel_ = withCancel;
  progress_ = 0x7001;
  return progress_;
}

// Calls on a window that is closed or was never opened do nothing, as the real one's do.
void FakePrompts::SetProgressText(WindowRef progress, std::string_view text) {
  if (progress == kNoWindow || progress != progress_) return;
  shown_.push_back({Kind::Progress, progress, std::string(text)});
}

void FakePrompts::PumpMessages(WindowRef) {
  if (cancelAfterPumps_ < 0 || progress_ == kNoWindow) return;
  EXPECT_TRUE(withCancel_) << "cancelling a progress window that has no cancel button";
  if (cancelAfterPumps_-- == 0 && (!confirmCancel_ || cancelConfirmed_)) {
    cancelled_ = true;
    progress_ = kNoWindow;  // the cancel button destroys the window itself
  }
}

void FakePrompts::CloseProgressWindow(WindowRef progress) {
  if (progress == progress_) progress_ = kNoWindow;
}

}  // namespace setup
