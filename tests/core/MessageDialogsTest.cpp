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
  std::map<int, int> buttons;  // id, answer
  int whenMissing;
};
const ModalCase kModalCases[] = {
    {"DLG_msg", {{0, 0}}, -1},
    {"DLG_yesallno",
     {{111, Prompts::kYes}, {113, Prompts::kAll}, {112, Prompts::kNo}, {1, Prompts::kCancel}},
     Prompts::kCancel},
    {"DLG_abortretryignore",
     {{1, Prompts::kAbort}, {114, Prompts::kRetry}, {115, Prompts::kIgnore}},
     Prompts::kAbort},
};

int Ask(Prompts& prompts, std::string_view templateName, std::string_view text) {
  if (templateName == "DLG_msg") return prompts.ShowMessage(kOwner, text);
  if (templateName == "DLG_abortretryignore") return prompts.AskAbortRetryIgnore(kOwner, text);
  return prompts.AskQuestion(kOwner, true, text);
}

class MessageDialogs : public ::testing::Test {
 protected:
  MessageDialogs() {
    for (const ModalCase& c : kModalCases) {
      std::set<int> controls{109};
      for (auto [id, answer] : c.buttons) controls.insert(id);
      host_.TemplateControls(c.templateName, controls);
    }
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

// Fully labelled when shown; only the dialog's own buttons answer; 2 is what Escape sends,
// closing gives -1. A template that fails to load looks like Cancel or Abort.
TEST_F(MessageDialogs, EachDialogShowsLabelledAndAnswersOnlyByItsButtons) {
  for (const ModalCase& c : kModalCases) {
    SCOPED_TRACE(c.templateName);
    std::map<int, int> presses = c.buttons;
    presses[-1] = -1;  // closed
    for (auto [press, answer] : presses) {
      host_.OnShow(c.templateName, [&c, press](FakeDialogView& view, Dialog& dialog) {
        EXPECT_TRUE(view.visible());
        EXPECT_EQ(view.owner(), kOwner);
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
    host_.MissingTemplate(c.templateName);
    EXPECT_EQ(Ask(prompts_, c.templateName, "?"), c.whenMissing);
  }
}

// Cancel closes the window; when told, it asks first and only Yes cancels. A stale handle
// is never touched.
TEST_F(MessageDialogs, ProgressWindowCancelsAndIgnoresStaleHandles) {
  WindowRef window = prompts_.OpenProgressWindow(kOwner, true, false);
  FakeDialogView* view = host_.Modeless(window);
  ASSERT_NE(view, nullptr);
  prompts_.SetProgressText(window, "Copying SETUP.EXE");
  EXPECT_EQ(view->Text(603), "Copying SETUP.EXE");
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  ASSERT_TRUE(prompts_.ProgressCancelled());
  EXPECT_EQ(host_.Modeless(window), nullptr);
  EXPECT_TRUE(view->timers().empty());
  prompts_.SetProgressText(window, "late");
  prompts_.CloseProgressWindow(window);
  EXPECT_EQ(view->Text(603), "Copying SETUP.EXE");

  window = prompts_.OpenProgressWindow(kOwner, true, true);
  host_.AnswerBox(BoxAnswer::No);
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  EXPECT_FALSE(prompts_.ProgressCancelled());
  ASSERT_EQ(host_.boxes().size(), 1u);
  EXPECT_EQ(host_.boxes()[0].text, LanguageText("EN", text::QUEST_INFO_ABORT));
  EXPECT_EQ(host_.boxes()[0].kind, BoxKind::QuestionYesNoDefaultNo);
  // The box has no owner, so the cancel button can be pressed again while it is up.
  host_.AnswerBox(BoxAnswer::Yes, [this, window] {
    host_.ModelessDialog(window)->OnCommand(*host_.Modeless(window), 1, 0);
  });
  CancelAtNextPump(window);
  prompts_.PumpMessages(window);
  EXPECT_TRUE(prompts_.ProgressCancelled());
  EXPECT_EQ(host_.Modeless(window), nullptr);
}

}  // namespace
}  // namespace setup
