#include <gtest/gtest.h>

#include <string>

#include "script/CatalogueKeys.h"
#include "support/AppWorld.h"
#include "ui/DialogPrompts.h"

namespace setup {
namespace {

constexpr WindowRef kOwner = 0x4711;

class MessageDialogs : public ::testing::Test {
 protected:
  MessageDialogs() {
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
