#pragma once

// What every Prompts must answer, as the program's dialogs on Windows do. `Env` gives
// `Prompts& prompts()` and a user who acts on the next dialog:
//   WillAnswer(Asked, result)  presses the button that stands for `result`
//   WillClose(Asked)           closes it from its system menu
//   WillCancelProgress(Confirm) presses the progress window's cancel button and answers
//                              the confirmation, if one is asked
//   UserDone()                 whether everything scripted has happened
//   ShownText(), OfferedAll()  what the last dialog acted on showed
// and `Pump(window)`, one round of the operation's message pump.

#include <gtest/gtest.h>

#include <vector>

#include "platform/Prompts.h"

namespace setup {

enum class Asked { Message, Question, QuestionWithAll, AbortRetryIgnore };
enum class Confirm { NotAsked, Yes, No };

template <class Env>
class PromptsContract : public ::testing::Test {
 protected:
  Env env_;
};

TYPED_TEST_SUITE_P(PromptsContract);

// Only flag 1 offers All.
TYPED_TEST_P(PromptsContract, EachDialogAnswersWithTheButtonPressedOrIsClosed) {
  const struct {
    Asked asked;
    int withAll;
    std::vector<int> answers;
    int closed;
  } cases[] = {
      {Asked::Message, 0, {0}, -1},
      {Asked::Question, 2, {Prompts::kYes, Prompts::kNo}, Prompts::kCancel},
      {Asked::QuestionWithAll, 1, {Prompts::kAll, Prompts::kCancel}, Prompts::kCancel},
      {Asked::AbortRetryIgnore, 0, {Prompts::kRetry, Prompts::kIgnore}, Prompts::kAbort},
  };
  Prompts& prompts = this->env_.prompts();
  const char* text = "The file\nC:\\VELMAR\\VELMAR.SYS\nis newer. Replace it?";
  for (const auto& c : cases) {
    const auto ask = [&] {
      return c.asked == Asked::Message            ? prompts.ShowMessage(kNoWindow, text)
             : c.asked == Asked::AbortRetryIgnore ? prompts.AskAbortRetryIgnore(kNoWindow, text)
                                                  : prompts.AskQuestion(kNoWindow, c.withAll, text);
    };
    for (int answer : c.answers) {
      this->env_.WillAnswer(c.asked, answer);
      EXPECT_EQ(ask(), answer) << c.withAll;
      EXPECT_EQ(this->env_.ShownText(), text);
      if (c.asked != Asked::Message) {
        EXPECT_EQ(this->env_.OfferedAll(), c.asked == Asked::QuestionWithAll) << c.withAll;
      }
    }
    this->env_.WillClose(c.asked);
    EXPECT_EQ(ask(), c.closed) << c.withAll;
  }
}

// A cancelled window is gone already; closed either way, later calls on it do nothing.
TYPED_TEST_P(PromptsContract, CancelStopsUnlessTheConfirmationIsAnsweredNo) {
  Prompts& prompts = this->env_.prompts();
  for (Confirm confirm : {Confirm::NotAsked, Confirm::No, Confirm::Yes}) {
    SCOPED_TRACE(static_cast<int>(confirm));
    const WindowRef window =
        prompts.OpenProgressWindow(kNoWindow, true, confirm != Confirm::NotAsked);
    ASSERT_NE(window, kNoWindow);
    prompts.SetProgressText(window, "Copying SETUP.EXE");
    this->env_.WillCancelProgress(confirm);
    for (int round = 0; round < 100 && !this->env_.UserDone(); ++round) this->env_.Pump(window);
    ASSERT_TRUE(this->env_.UserDone());
    this->env_.Pump(window);
    EXPECT_EQ(prompts.ProgressCancelled(), confirm != Confirm::No);
    prompts.CloseProgressWindow(window);
    prompts.CloseProgressWindow(window);
    prompts.SetProgressText(window, "Deleting SETUP.EXE");
  }
}

REGISTER_TYPED_TEST_SUITE_P(PromptsContract, EachDialogAnswersWithTheButtonPressedOrIsClosed,
                            CancelStopsUnlessTheConfirmationIsAnsweredNo);

}  // namespace setup
