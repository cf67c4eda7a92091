#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "script/CatalogueKeys.h"
#include "support/AppWorld.h"
#include "ui/DialogPrompts.h"

namespace setup {
namespace {

constexpr WindowRef kOwner = 0x4711;

class MessageDialogs : public ::testing::Test {
 protected:
  MessageDialogs() {
    host_.TemplateControls("DLG_msg", {109, 0});
    host_.TemplateControls("DLG_yesno", {109, 111, 112, 1});
    host_.TemplateControls("DLG_yesallno", {109, 111, 113, 112, 1});
    host_.TemplateControls("DLG_abortretryignore", {109, 1, 114, 115});
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

struct ModalCase {
  const char* templateName;
  std::function<int(Prompts&, std::string_view)> ask;
  bool builtHidden;
  std::vector<std::pair<int, int>> buttonLabels;  // control id, catalogue slot
};

const ModalCase kModalCases[] = {
    {"DLG_msg",
     [](Prompts& p, std::string_view t) { return p.ShowMessage(kOwner, t); },
     false,
     {{0, text::BUTTON_OK}}},
    {"DLG_yesno",
     [](Prompts& p, std::string_view t) { return p.AskQuestion(kOwner, 0, t); },
     true,
     {{111, text::DLG_YNO_YES}, {112, text::DLG_YNO_NO}, {1, text::BUTTON_CANCEL}}},
    {"DLG_yesallno",
     [](Prompts& p, std::string_view t) { return p.AskQuestion(kOwner, 1, t); },
     true,
     {{111, text::DLG_YNO_YES},
      {113, text::DLG_YNO_ALL},
      {112, text::DLG_YNO_NO},
      {1, text::BUTTON_CANCEL}}},
    {"DLG_abortretryignore",
     [](Prompts& p, std::string_view t) { return p.AskAbortRetryIgnore(kOwner, t); },
     true,
     {{1, text::BUTTON_CANCEL}, {114, text::DLG_ARI_RETRY}, {115, text::DLG_ARI_IGNORE}}},
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
      for (auto [id, slot] : c.buttonLabels) EXPECT_EQ(view.Text(id), LanguageText("EN", slot));
      dialog.OnClose(view);
    });
    c.ask(prompts_, "Replace\nthe file?");
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
  for (const ModalCase& c : kModalCases) host_.MissingTemplate(c.templateName);
  const int expected[] = {-1, Prompts::kCancel, Prompts::kCancel, Prompts::kAbort};
  for (std::size_t i = 0; i < std::size(kModalCases); ++i)
    EXPECT_EQ(kModalCases[i].ask(prompts_, "?"), expected[i]) << kModalCases[i].templateName;

  host_.MissingTemplate("DLG_info_cancel");
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, false);
  EXPECT_EQ(window, kNoWindow);
  prompts_.SetProgressText(window, "nothing to show it");
  prompts_.CloseProgressWindow(window);
  EXPECT_FALSE(prompts_.ProgressCancelled());
}

TEST_F(MessageDialogs, ErrorBoxIsTheSystemBoxWithTheCatalogueCaption) {
  prompts_.ShowErrorBox(kOwner, "Wrong system");
  ASSERT_EQ(host_.boxes().size(), 1u);
  EXPECT_EQ(host_.boxes()[0].caption, LanguageText("EN", text::MSG_CAPTION));
  EXPECT_EQ(host_.boxes()[0].text, "Wrong system");
  EXPECT_EQ(host_.boxes()[0].owner, kOwner);
  EXPECT_EQ(host_.boxes()[0].kind, BoxKind::InformationOk);
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

TEST_F(MessageDialogs, CancelledWindowIsGoneAndNotTouchedAgain) {
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, false);
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
}

TEST_F(MessageDialogs, CancelAsksFirstAndOnlyYesCancels) {
  const WindowRef window = prompts_.OpenProgressWindow(kOwner, true, true);
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
