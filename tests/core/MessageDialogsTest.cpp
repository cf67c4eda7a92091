#include <gtest/gtest.h>

#include <string>

#include "script/CatalogueKeys.h"
#include "support/AppWorld.h"
#include "ui/DialogPrompts.h"

namespace setup {
namespace {

// The prompts contract shows cancelling and stale handles; here the confirmation box has no
// owner, so the cancel button can be pressed again while it is up.
TEST(MessageDialogs, CancelPressedAgainWhileTheConfirmationIsUpCancelsOnce) {
  FakeDialogHost host;
  host.TemplateControls("DLG_info_cancel", {{603, 1}, {}, {}});
  StringCatalogue catalogue;
  FillCatalogue(catalogue, "EN");
  DialogPrompts prompts{host, catalogue};
  const WindowRef window = prompts.OpenProgressWindow(0x4711, true, true);
  const auto pressCancel = [&] {
    host.ModelessDialog(window)->OnCommand(*host.Modeless(window), 1, 0);
  };
  host.AnswerBox(BoxAnswer::Yes, pressCancel);
  host.OnPump(pressCancel);
  prompts.PumpMessages(window);
  EXPECT_TRUE(prompts.ProgressCancelled());
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, LanguageText("EN", text::QUEST_INFO_ABORT));
  EXPECT_EQ(host.Modeless(window), nullptr);
}

}  // namespace
}  // namespace setup
