#include <gtest/gtest.h>

#include <map>
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
  std::map<int, int> buttons;  // id, answer
  int whenMissing;
};
const ModalCase kModalCases[] = {
    {"DLG_msg", false, {{0, 0}}, -1},
    {"DLG_yesno",
     true,
     {{111, Prompts::kYes}, {112, Prompts::kNo}, {1, Prompts::kCancel}},
     Prompts::kCancel},
    {"DLG_yesallno",
     true,
     {{111, Prompts::kYes}, {113, Prompts::kAll}, {112, Prompts::kNo}, {1, Prompts::kCancel}},
     Prompts::kCancel},
    {"DLG_abortretryignore",
     true,
     {{1, Prompts::kAbort}, {114, Prompts::kRetry}, {115, Prompts::kIgnore}},
     Prompts::kAbort},
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
      std::set<int> controls{109};
      for (auto [id, answer] : c.buttons) controls.insert(id);
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

// What the user sees: fully labelled in the current language, never half-built. Only the
// dialog's own buttons answer; 2 is what Escape sends, closing gives -1.
TEST_F(MessageDialogs, EachDialogShowsOnlyWhenLabelledAndAnswersByItsButtons) {
  for (const ModalCase& c : kModalCases) {
    SCOPED_TRACE(c.templateName);
    std::map<int, int> presses = c.buttons;
    presses[-1] = -1;  // closed
    for (auto [press, answer] : presses) {
      host_.OnShow(c.templateName, [&c, press](FakeDialogView& view, Dialog& dialog) {
        EXPECT_TRUE(view.visible());
        EXPECT_EQ(view.hiddenCount(), c.builtHidden ? 1 : 0);
        EXPECT_EQ(view.centredCount(), 1);
        EXPECT_EQ(view.owner(), kOwner);
        EXPECT_EQ(view.Caption(), LanguageText("EN", text::MSG_CAPTION));
        EXPECT_EQ(view.Text(109), "Replace\nthe file?");
        for (auto [id, answer] : c.buttons) EXPECT_EQ(view.Text(id), LanguageText("EN", id)) << id;
        for (int id : {0, 1, 2, 109, 111, 112, 113, 114, 115})
          if (!c.buttons.count(id)) dialog.OnCommand(view, id, 0);
        EXPECT_FALSE(view.ended());
        if (press < 0)
          dialog.OnClose(view);
        else
          dialog.OnCommand(view, press, 0);
      });
      EXPECT_EQ(Ask(prompts_, c.templateName, "Replace\nthe file?"), answer) << press;
    }
  }
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
