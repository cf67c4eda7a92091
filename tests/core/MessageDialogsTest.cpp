#include <gtest/gtest.h>

#include <set>
#include <string>

#include "script/CatalogueKeys.h"
#include "support/AppWorld.h"
#include "ui/DialogPrompts.h"

namespace setup {
namespace {

constexpr WindowRef kOwner = 0x4711;

// The modal dialogs; each button is labelled from the catalogue slot of its id.
struct ModalCase {
  const char* templateName;
  bool builtHidden;
  std::set<int> buttons;
  int whenMissing;
};
const ModalCase kModalCases[] = {
    {"DLG_msg", false, {0}, -1},
    {"DLG_yesno", true, {111, 112, 1}, Prompts::kCancel},
    {"DLG_yesallno", true, {111, 113, 112, 1}, Prompts::kCancel},
    {"DLG_abortretryignore", true, {1, 114, 115}, Prompts::kAbort},
};

// Asks what the template shows.
int Ask(Prompts& prompts, std::string_view templateName, std::string_view text) {
  if (templateName == "DLG_msg") return prompts.ShowMessage(kOwner, text);
  if (templateName == "DLG_abortretryignore") return prompts.AskAbortRetryIgnore(kOwner, text);
  return prompts.AskQuestion(kOwner, templateName == "DLG_yesallno", text);
}

class MessageDialogs : public ::testing::Test {
 protected:
  MessageDialogs() {
    for (const ModalCase& c : kModalCases) {
      std::set<int> controls = c.buttons;
      controls.insert(109);
      host_.TemplateControls(c.templateName, controls);
    }
    host_.TemplateControls("DLG_info", {603});
    host_.TemplateControls("DLG_info_cancel", {603, 1});
    FillCatalogue(catalogue_, "EN");
  }

  // Presses the progress window's cancel button during the next pump.
  void CancelAtNextPump(WindowRef window) {
    host_.OnPump(
        [this, window] { host_.ModelessDialog(window)->OnCommand(*host_.Modeless(window), 1, 0); });
  }

  FakeDialogHost host_;
  StringCatalogue catalogue_;
  DialogPrompts prompts_{host_, catalogue_};
};

// What the user sees: fully labelled in the current language, never half-built.
TEST_F(MessageDialogs, EachDialogShowsOnlyWhenLabelledFromTheCatalogue) {
  for (const ModalCase& c : kModalCases) {
    SCOPED_TRACE(c.templateName);
    host_.OnShow(c.templateName, [&c](FakeDialogView& view, Dialog& dialog) {
      EXPECT_TRUE(view.visible());
      EXPECT_EQ(view.hiddenCount(), c.builtHidden ? 1 : 0);
      EXPECT_EQ(view.centredCount(), 1);
      EXPECT_EQ(view.owner(), kOwner);
      EXPECT_EQ(view.Caption(), LanguageText("EN", text::MSG_CAPTION));
      EXPECT_EQ(view.Text(109), "Replace\nthe file?");
      for (int id : c.buttons) EXPECT_EQ(view.Text(id), LanguageText("EN", id)) << id;
      dialog.OnClose(view);
    });
    Ask(prompts_, c.templateName, "Replace\nthe file?");
  }
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

TEST_F(MessageDialogs, TemplateThatFailsToLoadLooksLikeCancelOrAbortOrNoWindow) {
  for (const ModalCase& c : kModalCases) {
    host_.MissingTemplate(c.templateName);
    EXPECT_EQ(Ask(prompts_, c.templateName, "?"), c.whenMissing) << c.templateName;
  }
  host_.MissingTemplate("DLG_info_cancel");
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, false);
  EXPECT_EQ(window, kNoWindow);
  prompts_.SetProgressText(window, "nothing to show it");
  prompts_.CloseProgressWindow(window);
  EXPECT_FALSE(prompts_.ProgressCancelled());
}

TEST_F(MessageDialogs, ProgressWindowShowsItsTextUntilClosed) {
  const WindowRef plain = prompts_.OpenProgressWindow(kOwner, false, false);
  ASSERT_NE(host_.Modeless(plain), nullptr);
  EXPECT_EQ(host_.Modeless(plain)->templateName(), "DLG_info");
  // Opening a second window closes the first; its handle is stale from then on.
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, false);
  EXPECT_EQ(host_.Modeless(plain), nullptr);
  FakeDialogView* view = host_.Modeless(window);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->templateName(), "DLG_info_cancel");
  EXPECT_EQ(view->owner(), kOwner);
  EXPECT_EQ(view->centredCount(), 1);
  EXPECT_EQ(view->Text(1), LanguageText("EN", text::BUTTON_CANCEL));

  prompts_.SetProgressText(window, "Copying SETUP.EXE");
  prompts_.SetProgressText(plain, "stale");
  EXPECT_EQ(view->Text(603), "Copying SETUP.EXE");
  prompts_.CloseProgressWindow(window);
  EXPECT_EQ(host_.Modeless(window), nullptr);
  EXPECT_TRUE(view->timers().empty());
}

TEST_F(MessageDialogs, CancelClosesTheWindowAndWhenToldAsksFirstOnlyYesCancelling) {
  WindowRef window = prompts_.OpenProgressWindow(kOwner, true, false);
  FakeDialogView* view = host_.Modeless(window);
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  ASSERT_TRUE(prompts_.ProgressCancelled());
  EXPECT_EQ(host_.Modeless(window), nullptr);
  EXPECT_TRUE(view->timers().empty());
  EXPECT_TRUE(host_.boxes().empty());
  // An operation that closes its window anyway must not destroy a stale handle.
  prompts_.SetProgressText(window, "late");
  prompts_.CloseProgressWindow(window);
  EXPECT_EQ(view->Text(603), "");

  window = prompts_.OpenProgressWindow(kOwner, true, true);
  host_.AnswerBox(BoxAnswer::No);
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  EXPECT_FALSE(prompts_.ProgressCancelled());
  ASSERT_NE(host_.Modeless(window), nullptr);
  ASSERT_EQ(host_.boxes().size(), 1u);
  EXPECT_EQ(host_.boxes()[0].owner, kNoWindow);
  EXPECT_EQ(host_.boxes()[0].text, LanguageText("EN", text::QUEST_INFO_ABORT));
  EXPECT_EQ(host_.boxes()[0].caption, LanguageText("EN", text::MSG_CAPTION));
  EXPECT_EQ(host_.boxes()[0].kind, BoxKind::QuestionYesNoDefaultNo);

  // The box has no owner, so the cancel button can be pressed again while it is up.
  host_.AnswerBox(BoxAnswer::Yes, [this, window] {
    host_.ModelessDialog(window)->OnCommand(*host_.Modeless(window), 1, 0);
  });
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  EXPECT_EQ(host_.boxes().size(), 2u);
  EXPECT_TRUE(prompts_.ProgressCancelled());
  EXPECT_EQ(host_.Modeless(window), nullptr);
}

}  // namespace
}  // namespace setup
