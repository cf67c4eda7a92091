#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/IntroWindow.h"
#include "app/MainDialog.h"
#include "script/CatalogueKeys.h"
#include "support/AppWorld.h"

namespace setup {
namespace {

using Kind = FakePrompts::Kind;
constexpr WindowRef kMain = 0x500;

// The main dialog driven directly on a view of the test's own, as the host would open it.
// What a user sees of it in every language is checked end to end; these are the paths a
// real run cannot easily reach.
class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest() {
    world_.PutMedium();
    state_.SourceDir.Assign(AppWorld::kMedium);  // as the startup would
  }

  void Open(std::string_view commandLine = "") {
    ParseCommandLine(state_, commandLine);
    ReadLanguageTable(world_.files, world_.prompts, state_.Script(), state_.Languages);
    FindLanguage(state_);
    world_.SkipIntro();
    dialog_.OnInit(view_);
  }
  void Choose(int index, int notification = 1) {
    view_.ComboSelect(9, index);
    dialog_.OnCommand(view_, 9, notification);
  }
  void ExpectLabels(std::string_view tag, int actionSlot) {
    EXPECT_EQ(view_.Caption(), LanguageText(tag, text::DLG_MAIN_CAPTION));
    for (int id : {7, 8, 10, 11, 12}) EXPECT_EQ(view_.Text(id), LanguageText(tag, id)) << id;
    EXPECT_EQ(view_.Text(3), LanguageText(tag, actionSlot));
  }
  // Ended before it was ever shown, with one notice of this kind and text.
  void ExpectEndedWith(Kind kind, std::string_view text) {
    EXPECT_TRUE(view_.ended());
    EXPECT_EQ(view_.result(), 0);
    EXPECT_EQ(view_.centredCount(), 0);
    ASSERT_EQ(world_.prompts.shown().size(), 1u);
    EXPECT_EQ(world_.prompts.shown()[0].kind, kind);
    EXPECT_EQ(world_.prompts.shown()[0].owner, kMain);
    EXPECT_EQ(world_.prompts.shown()[0].text, text);
  }

  AppWorld world_;
  ProgramState& state_ = *world_.state;
  FakeDialogView view_{"DLG_main", kMain, kNoWindow};
  MainDialog dialog_{world_.services, state_};
};

TEST_F(MainDialogTest, StaysHiddenBehindTheIntroUntilLabelled) {
  Open("/lDeutsch");
  ASSERT_EQ(world_.host.views().size(), 1u);
  EXPECT_EQ(world_.host.views()[0]->templateName(), "WND_intro");
  EXPECT_EQ(world_.host.views()[0]->owner(), kMain);
  EXPECT_EQ(state_.MainWindow, kMain);
  EXPECT_EQ(view_.hiddenCount(), 1);
  EXPECT_EQ(view_.centredCount(), 1);
  EXPECT_FALSE(view_.ended());
  ExpectLabels("DE", text::DLG_MAIN_INSTALL);
  ASSERT_TRUE(view_.control(10).font);
  EXPECT_EQ(view_.control(10).font->points, 12);
  EXPECT_TRUE(world_.prompts.shown().empty());
}

TEST_F(MainDialogTest, WrongPlatformEndsWithATranslatedMessage) {
  world_.PutMedium("!OS_WINDOWS_95");
  Open("/lDeutsch");
  ExpectEndedWith(Kind::ErrorBox, LanguageText("DE", text::ERR_INVALID_OS));
}

TEST_F(MainDialogTest, MissingRightsEndWithATranslatedMessage) {
  world_.registry.DenyAllAccess("SOFTWARE");
  Open("/lDeutsch");
  ExpectEndedWith(Kind::Message, LanguageText("DE", text::ERR_NORIGHTS));
}

TEST_F(MainDialogTest, PlatformComesFromTheScriptNamedOnTheCommandLine) {
  world_.files.PutFile("A:\\W95.KVX", CrLfLines({"[OS]", "!OS_WINDOWS_95"}));
  world_.system.platformId = 1;
  Open("/fW95.KVX");
  EXPECT_FALSE(view_.ended());
}

TEST_F(MainDialogTest, FontFailureIsReportedAndTheDialogStillOpens) {
  view_.FailFonts();
  Open();
  EXPECT_EQ(world_.prompts.Texts(Kind::ErrorBox), std::vector<std::string>{"Unable to find font!"});
  EXPECT_EQ(view_.centredCount(), 1);
  ExpectLabels("EN", text::DLG_MAIN_INSTALL);
}

TEST_F(MainDialogTest, OnlyAChangedSelectionSwitchesTheLanguage) {
  Open("/c");
  Choose(1, 7);  // the list dropped down
  Choose(-1);
  EXPECT_EQ(state_.LanguageIndex, 0);
  ExpectLabels("EN", text::DLG_MAIN_CONFIG);

  Choose(1);
  EXPECT_EQ(state_.LanguageIndex, 1);
  ExpectLabels("DE", text::DLG_MAIN_CONFIG);
  EXPECT_EQ(view_.control(9).items, (std::vector<std::string>{"English", "Deutsch"}));
  EXPECT_EQ(view_.ComboSelection(9), 1);

  // A language whose file is gone keeps the labels there are.
  world_.files.Delete("A:\\ENG.TXT");
  Choose(0);
  EXPECT_EQ(world_.prompts.Texts(Kind::ErrorBox),
            std::vector<std::string>{"Language is not supported!"});
  ExpectLabels("DE", text::DLG_MAIN_CONFIG);
}

TEST_F(MainDialogTest, OnlyExitAndCloseEndIt) {
  Open();
  for (int id : {3, 7, 2}) dialog_.OnCommand(view_, id, 0);
  EXPECT_FALSE(view_.ended());
  dialog_.OnCommand(view_, 8, 0);
  EXPECT_TRUE(view_.ended());
  EXPECT_EQ(view_.result(), 0);

  FakeDialogView other("DLG_main", kMain + 1, kNoWindow);
  dialog_.OnClose(other);
  EXPECT_TRUE(other.ended());
  EXPECT_EQ(other.result(), 0);
}

TEST(IntroWindow, ReportsAMissingBitmapOrBrush) {
  for (auto [result, message] : {std::pair{BackgroundResult::NoBitmap, "Unable to load bitmap!"},
                                 std::pair{BackgroundResult::NoBrush, "Can't create brush!"}}) {
    AppWorld world;
    world.PutMedium();
    world.state->SourceDir.Assign(AppWorld::kMedium);
    ReadLanguageTable(world.files, world.prompts, world.state->Script(), world.state->Languages);
    FakeDialogView view("WND_intro", 0x601, kMain);
    view.SetBackgroundResult(result);
    IntroWindow(world.services, *world.state).OnInit(view);
    ASSERT_EQ(world.prompts.shown().size(), 1u);
    EXPECT_EQ(world.prompts.shown()[0].kind, Kind::ErrorBox);
    EXPECT_EQ(world.prompts.shown()[0].owner, WindowRef{0x601});
    EXPECT_EQ(world.prompts.shown()[0].text, message);
  }
}

}  // namespace
}  // namespace setup
