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

TYPED_TEST_P(PromptsContract, QuestionAnswersWithTheButtonPressed) {
  for (int answer : {Prompts::kYes, Prompts::kNo, Prompts::kCancel}) {
    this->env_.WillAnswer(Asked::Question, answer);
    EXPECT_EQ(this->prompts().AskQuestion(kNoWindow, 0, "Overwrite?"), answer);
    EXPECT_FALSE(this->env_.OfferedAll());
  }
}

TYPED_TEST_P(PromptsContract, QuestionWithAllAnswersWithTheButtonPressed) {
  for (int answer : {Prompts::kYes, Prompts::kAll, Prompts::kNo, Prompts::kCancel}) {
    this->env_.WillAnswer(Asked::QuestionWithAll, answer);
    EXPECT_EQ(this->prompts().AskQuestion(kNoWindow, 1, "Overwrite?"), answer);
    EXPECT_TRUE(this->env_.OfferedAll());
  }
}

TYPED_TEST_P(PromptsContract, OnlyFlagOneOffersAll) {
  for (int flag : {0, 2, -1}) {
    this->env_.WillAnswer(Asked::Question, Prompts::kNo);
    EXPECT_EQ(this->prompts().AskQuestion(kNoWindow, flag, "Overwrite?"), Prompts::kNo);
    EXPECT_FALSE(this->env_.OfferedAll()) << flag;
  }
}

TYPED_TEST_P(PromptsContract, AbortRetryIgnoreAnswersWithTheButtonPressed) {
  for (int answer : {Prompts::kAbort, Prompts::kRetry, Prompts::kIgnore}) {
    this->env_.WillAnswer(Asked::AbortRetryIgnore, answer);
    EXPECT_EQ(this->prompts().AskAbortRetryIgnore(kNoWindow, "Cannot write"), answer);
  }
}

TYPED_TEST_P(PromptsContract, MessageGivesZeroForOk) {
  this->env_.WillAnswer(Asked::Message, 0);
  EXPECT_EQ(this->prompts().ShowMessage(kNoWindow, "Done"), 0);
}

TYPED_TEST_P(PromptsContract, ClosingFromTheSystemMenuGivesMinusOne) {
  this->env_.WillClose(Asked::Message);
  EXPECT_EQ(this->prompts().ShowMessage(kNoWindow, "Done"), -1);
  this->env_.WillClose(Asked::Question);
  EXPECT_EQ(this->prompts().AskQuestion(kNoWindow, 0, "Overwrite?"), Prompts::kCancel);
  this->env_.WillClose(Asked::QuestionWithAll);
  EXPECT_EQ(this->prompts().AskQuestion(kNoWindow, 1, "Overwrite?"), Prompts::kCancel);
  this->env_.WillClose(Asked::AbortRetryIgnore);
  EXPECT_EQ(this->prompts().AskAbortRetryIgnore(kNoWindow, "Cannot write"), Prompts::kAbort);
}

TYPED_TEST_P(PromptsContract, DialogShowsTheTextWithItsLineBreaks) {
  const char* text = "The file\nC:\\VELMAR\\VELMAR.SYS\nis newer. Replace it?";
  this->env_.WillAnswer(Asked::Question, Prompts::kYes);
  this->prompts().AskQuestion(kNoWindow, 0, text);
  EXPECT_EQ(this->env_.ShownText(), text);
}

TYPED_TEST_P(PromptsContract, ProgressWithoutCancelButtonRunsUntilClosed) {
  const WindowRef window = this->prompts().OpenProgressWindow(kNoWindow, false, false);
  ASSERT_NE(window, kNoWindow);
  for (const char* step : {"Copying SETUP.EXE", "Copying SETUP.EXE", "Expanding VELMAR.SYS"}) {
    this->prompts().SetProgressText(window, step);
    this->env_.Pump(window);
    EXPECT_FALSE(this->prompts().ProgressCancelled());
  }
  this->prompts().CloseProgressWindow(window);
}

TYPED_TEST_P(PromptsContract, CancelWithoutConfirmationStopsAtOnce) {
  const WindowRef window = this->prompts().OpenProgressWindow(kNoWindow, true, false);
  ASSERT_NE(window, kNoWindow);
  this->env_.WillCancelProgress(Confirm::NotAsked);
  this->PumpUntil(window, [this] { return this->prompts().ProgressCancelled(); });
  EXPECT_TRUE(this->prompts().ProgressCancelled());
  EXPECT_TRUE(this->env_.UserDone());

  // The next window starts uncancelled.
  const WindowRef next = this->prompts().OpenProgressWindow(kNoWindow, true, false);
  ASSERT_NE(next, kNoWindow);
  EXPECT_FALSE(this->prompts().ProgressCancelled());
  this->prompts().CloseProgressWindow(next);
}

TYPED_TEST_P(PromptsContract, CancelAnsweredNoKeepsTheOperationGoing) {
  const WindowRef window = this->prompts().OpenProgressWindow(kNoWindow, true, true);
  ASSERT_NE(window, kNoWindow);
  this->env_.WillCancelProgress(Confirm::No);
  this->PumpUntil(window, [this] { return this->env_.UserDone(); });
  ASSERT_TRUE(this->env_.UserDone());
  this->env_.Pump(window);
  EXPECT_FALSE(this->prompts().ProgressCancelled());
  this->prompts().SetProgressText(window, "Copying README.TXT");
  this->prompts().CloseProgressWindow(window);
}

TYPED_TEST_P(PromptsContract, CancelConfirmedStops) {
  const WindowRef window = this->prompts().OpenProgressWindow(kNoWindow, true, true);
  ASSERT_NE(window, kNoWindow);
  this->env_.WillCancelProgress(Confirm::Yes);
  this->PumpUntil(window, [this] { return this->prompts().ProgressCancelled(); });
  EXPECT_TRUE(this->prompts().ProgressCancelled());
  EXPECT_TRUE(this->env_.UserDone());
}

REGISTER_TYPED_TEST_SUITE_P(PromptsContract, QuestionAnswersWithTheButtonPressed,
                            QuestionWithAllAnswersWithTheButtonPressed, OnlyFlagOneOffersAll,
                            AbortRetryIgnoreAnswersWithTheButtonPressed, MessageGivesZeroForOk,
                            ClosingFromTheSystemMenuGivesMinusOne,
                            DialogShowsTheTextWithItsLineBreaks,
                            ProgressWithoutCancelButtonRunsUntilClosed,
                            CancelWithoutConfirmationStopsAtOnce,
                            CancelAnsweredNoKeepsTheOperationGoing, CancelConfirmedStops);

}  // namespace setup
