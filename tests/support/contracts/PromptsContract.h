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
  Prompts& prompts() { return env_.prompts(); }

  // Pumps as a long operation does, until `done` or a bound that only a stuck user reaches.
  template <class Done>
  void PumpUntil(WindowRef window, Done done) {
    for (int round = 0; round < 100 && !done(); ++round) env_.Pump(window);
  }

  Env env_;
};

TYPED_TEST_SUITE_P(PromptsContract);

TYPED_TEST_P(PromptsContract, EachDialogAnswersWithTheButtonPressedOrIsClosed) {
  struct Case {
    Asked asked;
    int withAll;
    std::vector<int> answers;
    int closed;
  };
  // Only flag 1 offers All.
  const Case cases[] = {
      {Asked::Message, 0, {0}, -1},
      {Asked::Question, 0, {Prompts::kYes, Prompts::kNo, Prompts::kCancel}, Prompts::kCancel},
      {Asked::Question, 2, {Prompts::kNo}, Prompts::kCancel},
      {Asked::QuestionWithAll,
       1,
       {Prompts::kYes, Prompts::kAll, Prompts::kNo, Prompts::kCancel},
       Prompts::kCancel},
      {Asked::AbortRetryIgnore,
       0,
       {Prompts::kAbort, Prompts::kRetry, Prompts::kIgnore},
       Prompts::kAbort},
  };
  const char* text = "The file\nC:\\VELMAR\\VELMAR.SYS\nis newer. Replace it?";
  const auto ask = [this, text](const Case& c) {
    return c.asked == Asked::Message ? this->prompts().ShowMessage(kNoWindow, text)
           : c.asked == Asked::AbortRetryIgnore
               ? this->prompts().AskAbortRetryIgnore(kNoWindow, text)
               : this->prompts().AskQuestion(kNoWindow, c.withAll, text);
  };
  for (const Case& c : cases) {
    for (int answer : c.answers) {
      this->env_.WillAnswer(c.asked, answer);
      EXPECT_EQ(ask(c), answer) << c.withAll;
      EXPECT_EQ(this->env_.ShownText(), text);
      if (c.asked != Asked::Message) {
        EXPECT_EQ(this->env_.OfferedAll(), c.asked == Asked::QuestionWithAll) << c.withAll;
      }
    }
    this->env_.WillClose(c.asked);
    EXPECT_EQ(ask(c), c.closed) << c.withAll;
  }
}

TYPED_TEST_P(PromptsContract, CancelStopsUnlessTheConfirmationIsAnsweredNo) {
  for (Confirm confirm : {Confirm::NotAsked, Confirm::No, Confirm::Yes}) {
    SCOPED_TRACE(static_cast<int>(confirm));
    const WindowRef window =
        this->prompts().OpenProgressWindow(kNoWindow, true, confirm != Confirm::NotAsked);
    ASSERT_NE(window, kNoWindow);
    EXPECT_FALSE(this->prompts().ProgressCancelled());
    this->prompts().SetProgressText(window, "Copying SETUP.EXE");
    this->env_.Pump(window);
    this->env_.WillCancelProgress(confirm);
    this->PumpUntil(window, [this] { return this->env_.UserDone(); });
    ASSERT_TRUE(this->env_.UserDone());
    this->env_.Pump(window);
    // A cancelled window is gone already.
    if (confirm == Confirm::No) {
      EXPECT_FALSE(this->prompts().ProgressCancelled());
      this->prompts().CloseProgressWindow(window);
    } else {
      EXPECT_TRUE(this->prompts().ProgressCancelled());
    }
    // Closed either way: every later call on the window does nothing.
    this->prompts().CloseProgressWindow(window);
    this->prompts().SetProgressText(window, "Deleting SETUP.EXE");
  }
}

REGISTER_TYPED_TEST_SUITE_P(PromptsContract, EachDialogAnswersWithTheButtonPressedOrIsClosed,
                            CancelStopsUnlessTheConfirmationIsAnsweredNo);

}  // namespace setup
