#include <gtest/gtest.h>

#include <string>

#include "support/FakeDialog.h"
#include "ui/DialogPrompts.h"
#include "ui/Geometry.h"

namespace setup {
namespace {

class MessageDialogs : public ::testing::Test {
 protected:
  static constexpr WindowRef kOwner = 0x4711;

  MessageDialogs() {
    host_.TemplateControls("DLG_msg", {109, 0});
    host_.TemplateControls("DLG_yesno", {109, 111, 112, 1});
    host_.TemplateControls("DLG_yesallno", {109, 111, 113, 112, 1});
    host_.TemplateControls("DLG_abortretryignore", {109, 1, 114, 115});
    host_.TemplateControls("DLG_info", {603});
    host_.TemplateControls("DLG_info_cancel", {603, 1});
  }

  void LoadGerman() {
    catalogue_.SetText(text::MSG_CAPTION, "Velmar Installation");
    catalogue_.SetText(text::BUTTON_OK, "OK");
    catalogue_.SetText(text::BUTTON_CANCEL, "Abbrechen");
    catalogue_.SetText(text::DLG_YNO_YES, "Ja");
    catalogue_.SetText(text::DLG_YNO_NO, "Nein");
    catalogue_.SetText(text::DLG_YNO_ALL, "Alle");
    catalogue_.SetText(text::DLG_ARI_RETRY, "Wiederholen");
    catalogue_.SetText(text::DLG_ARI_IGNORE, "Ignorieren");
    catalogue_.SetText(text::QUEST_INFO_ABORT, "Vorgang abbrechen?");
  }

  // The user looks at the dialog, then presses a button.
  void PressOn(const char* name, int id, FakeDialogView** seen = nullptr) {
    host_.OnShow(name, [id, seen](FakeDialogView& view, Dialog& dialog) {
      if (seen) *seen = &view;
      dialog.OnCommand(view, id, 0);
    });
  }

  FakeDialogView& LastView() { return *host_.views().back(); }

  // Presses the progress window's cancel button during the next pump.
  void CancelAtNextPump(WindowRef window) {
    host_.OnPump(
        [this, window] { host_.ModelessDialog(window)->OnCommand(*host_.Modeless(window), 1, 0); });
  }

  FakeDialogHost host_;
  StringCatalogue catalogue_;
  DialogPrompts prompts_{host_, catalogue_};
};

TEST_F(MessageDialogs, QuestionIsLabelledInTheChosenLanguageAndBuiltHidden) {
  LoadGerman();
  PressOn("DLG_yesallno", 111);
  EXPECT_EQ(prompts_.AskQuestion(kOwner, 1, "Datei ersetzen?"), Prompts::kYes);

  FakeDialogView& view = LastView();
  EXPECT_EQ(view.owner(), kOwner);
  EXPECT_EQ(view.Caption(), "Velmar Installation");
  EXPECT_EQ(view.Text(109), "Datei ersetzen?");
  EXPECT_EQ(view.Text(111), "Ja");
  EXPECT_EQ(view.Text(113), "Alle");
  EXPECT_EQ(view.Text(112), "Nein");
  EXPECT_EQ(view.Text(1), "Abbrechen");
  EXPECT_EQ(view.hiddenCount(), 1);
  EXPECT_EQ(view.centredCount(), 1);
}

TEST_F(MessageDialogs, EveryQuestionShowsWhenComplete) {
  LoadGerman();
  bool complete = false;
  for (const char* name : {"DLG_yesno", "DLG_yesallno", "DLG_abortretryignore"}) {
    host_.OnShow(name, [&complete](FakeDialogView& view, Dialog& dialog) {
      complete = view.visible() && view.hiddenCount() == 1 && !view.Text(1).empty();
      dialog.OnClose(view);
    });
  }
  prompts_.AskQuestion(kOwner, 0, "?");
  EXPECT_TRUE(complete);
  complete = false;
  prompts_.AskQuestion(kOwner, 1, "?");
  EXPECT_TRUE(complete);
  complete = false;
  prompts_.AskAbortRetryIgnore(kOwner, "?");
  EXPECT_TRUE(complete);
}

TEST_F(MessageDialogs, MessageIsNeverHidden) {
  LoadGerman();
  PressOn("DLG_msg", 0);
  EXPECT_EQ(prompts_.ShowMessage(kOwner, "Installation beendet."), 0);
  EXPECT_EQ(LastView().hiddenCount(), 0);
  EXPECT_EQ(LastView().Text(0), "OK");
  EXPECT_EQ(LastView().Text(109), "Installation beendet.");
}

TEST_F(MessageDialogs, AbortSitsOnTheCancelButtonAndLabelsComeFromTheCatalogue) {
  LoadGerman();
  PressOn("DLG_abortretryignore", 114);
  EXPECT_EQ(prompts_.AskAbortRetryIgnore(kOwner, "Kann nicht schreiben"), Prompts::kRetry);
  EXPECT_EQ(LastView().Text(1), "Abbrechen");
  EXPECT_EQ(LastView().Text(114), "Wiederholen");
  EXPECT_EQ(LastView().Text(115), "Ignorieren");
}

TEST_F(MessageDialogs, CommandsOfNoButtonOfTheDialogAreIgnored) {
  // 113 is All, which the plain question does not have; 2 is what Escape sends.
  host_.OnShow("DLG_yesno", [](FakeDialogView& view, Dialog& dialog) {
    for (int id : {113, 2, 109, 0}) dialog.OnCommand(view, id, 0);
    EXPECT_FALSE(view.ended());
    dialog.OnCommand(view, 112, 0);
  });
  EXPECT_EQ(prompts_.AskQuestion(kOwner, 0, "?"), Prompts::kNo);

  host_.OnShow("DLG_msg", [](FakeDialogView& view, Dialog& dialog) {
    dialog.OnCommand(view, 1, 0);
    EXPECT_FALSE(view.ended());
    dialog.OnClose(view);
  });
  EXPECT_EQ(prompts_.ShowMessage(kOwner, "!"), -1);
}

TEST_F(MessageDialogs, TemplateThatFailsToLoadLooksLikeCancelOrAbort) {
  for (const char* name : {"DLG_msg", "DLG_yesno", "DLG_yesallno", "DLG_abortretryignore"})
    host_.MissingTemplate(name);
  EXPECT_EQ(prompts_.ShowMessage(kOwner, "!"), -1);
  EXPECT_EQ(prompts_.AskQuestion(kOwner, 0, "?"), Prompts::kCancel);
  EXPECT_EQ(prompts_.AskQuestion(kOwner, 1, "?"), Prompts::kCancel);
  EXPECT_EQ(prompts_.AskAbortRetryIgnore(kOwner, "?"), Prompts::kAbort);
}

TEST_F(MessageDialogs, ErrorBoxIsTheSystemBoxWithTheCatalogueCaption) {
  prompts_.ShowErrorBox(kNoWindow, "Language is not supported!");
  LoadGerman();
  prompts_.ShowErrorBox(kOwner, "Falsches Betriebssystem");
  ASSERT_EQ(host_.boxes().size(), 2u);
  EXPECT_EQ(host_.boxes()[0].caption, "");  // nothing loaded yet
  EXPECT_EQ(host_.boxes()[0].owner, kNoWindow);
  EXPECT_EQ(host_.boxes()[1].caption, "Velmar Installation");
  EXPECT_EQ(host_.boxes()[1].text, "Falsches Betriebssystem");
  EXPECT_EQ(host_.boxes()[1].owner, kOwner);
  EXPECT_EQ(host_.boxes()[1].kind, BoxKind::InformationOk);
}

TEST_F(MessageDialogs, ProgressWindowOpensCentredWithItsTimerAndLabel) {
  LoadGerman();
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, false);
  FakeDialogView* view = host_.Modeless(window);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->templateName(), "DLG_info_cancel");
  EXPECT_EQ(view->owner(), kOwner);
  EXPECT_EQ(view->centredCount(), 1);
  EXPECT_EQ(view->timers(), (std::map<int, unsigned>{{1, 100u}}));
  EXPECT_EQ(view->Text(1), "Abbrechen");

  prompts_.SetProgressText(window, "Kopiere SETUP.EXE");
  EXPECT_EQ(view->Text(603), "Kopiere SETUP.EXE");
  prompts_.CloseProgressWindow(window);
  EXPECT_EQ(host_.Modeless(window), nullptr);
  EXPECT_TRUE(view->timers().empty());

  const WindowRef plain = prompts_.OpenProgressWindow(kOwner, false, false);
  EXPECT_EQ(host_.Modeless(plain)->templateName(), "DLG_info");
  prompts_.CloseProgressWindow(plain);
}

TEST_F(MessageDialogs, CancelWithoutConfirmationDestroysTheWindow) {
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, false);
  FakeDialogView* view = host_.Modeless(window);
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  EXPECT_TRUE(prompts_.ProgressCancelled());
  EXPECT_EQ(host_.Modeless(window), nullptr);
  EXPECT_TRUE(view->timers().empty());
  EXPECT_TRUE(host_.boxes().empty());
  EXPECT_EQ(host_.pumps(), 1);
}

TEST_F(MessageDialogs, ConfirmationAnsweredNoLeavesTheWindowAndYesCancels) {
  LoadGerman();
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, true);
  host_.AnswerBox(BoxAnswer::No);
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  EXPECT_FALSE(prompts_.ProgressCancelled());
  ASSERT_NE(host_.Modeless(window), nullptr);
  ASSERT_EQ(host_.boxes().size(), 1u);
  EXPECT_EQ(host_.boxes()[0].owner, kNoWindow);
  EXPECT_EQ(host_.boxes()[0].text, "Vorgang abbrechen?");
  EXPECT_EQ(host_.boxes()[0].caption, "Velmar Installation");
  EXPECT_EQ(host_.boxes()[0].kind, BoxKind::QuestionYesNoDefaultNo);

  host_.AnswerBox(BoxAnswer::Yes);
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  EXPECT_TRUE(prompts_.ProgressCancelled());
  EXPECT_EQ(host_.Modeless(window), nullptr);
}

TEST_F(MessageDialogs, CancelPressedAgainWhileConfirmingIsIgnored) {
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, true);
  // The box has no owner, so the cancel button can still be pressed while it is up.
  host_.AnswerBox(BoxAnswer::Yes, [this, window] {
    host_.ModelessDialog(window)->OnCommand(*host_.Modeless(window), 1, 0);
  });
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  EXPECT_EQ(host_.boxes().size(), 1u);
  EXPECT_TRUE(prompts_.ProgressCancelled());
  EXPECT_EQ(host_.Modeless(window), nullptr);
}

TEST_F(MessageDialogs, CancelledWindowIsNotTouchedAgain) {
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, false);
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  ASSERT_TRUE(prompts_.ProgressCancelled());
  // An operation that closes its window anyway must not destroy a stale handle.
  prompts_.SetProgressText(window, "late");
  prompts_.CloseProgressWindow(window);
  EXPECT_EQ(host_.views().back()->Text(603), "");

  // A new window starts uncancelled.
  const WindowRef next = prompts_.OpenProgressWindow(kOwner, true, false);
  EXPECT_FALSE(prompts_.ProgressCancelled());
  prompts_.CloseProgressWindow(next);
}

TEST_F(MessageDialogs, OpeningASecondProgressWindowClosesTheFirst) {
  const WindowRef first = prompts_.OpenProgressWindow(kOwner, false, false);
  const WindowRef second = prompts_.OpenProgressWindow(kOwner, true, true);
  EXPECT_EQ(host_.Modeless(first), nullptr);
  ASSERT_NE(host_.Modeless(second), nullptr);
  prompts_.SetProgressText(first, "stale");
  prompts_.SetProgressText(second, "current");
  EXPECT_EQ(host_.Modeless(second)->Text(603), "current");
  prompts_.CloseProgressWindow(second);
}

TEST_F(MessageDialogs, ProgressTemplateThatFailsToLoadGivesNoWindow) {
  host_.MissingTemplate("DLG_info_cancel");
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, false);
  EXPECT_EQ(window, kNoWindow);
  prompts_.SetProgressText(window, "nothing to show it");
  prompts_.CloseProgressWindow(window);
  EXPECT_FALSE(prompts_.ProgressCancelled());
}

TEST(CentredOrigin, HalvesRoundTowardZero) {
  const ScreenRect desktop{0, 0, 1023, 767};
  EXPECT_EQ(CentredOrigin(desktop, {0, 0, 301, 201}).x, 511 - 150);
  EXPECT_EQ(CentredOrigin(desktop, {0, 0, 301, 201}).y, 383 - 100);
  // Only the window's size counts, not where it is now.
  const ScreenPoint moved = CentredOrigin(desktop, {-50, 700, 251, 901});
  EXPECT_EQ(moved.x, 511 - 150);
  EXPECT_EQ(moved.y, 383 - 100);
  // A window larger than the desktop starts off its top-left corner.
  const ScreenPoint large = CentredOrigin({0, 0, 640, 480}, {0, 0, 801, 601});
  EXPECT_EQ(large.x, 320 - 400);
  EXPECT_EQ(large.y, 240 - 300);
}

}  // namespace
}  // namespace setup
