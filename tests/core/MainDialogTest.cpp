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
class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest() { world_.PutMedium(); }

  void Open(std::string_view commandLine = "") {
    ParseCommandLine(state_, commandLine);
    ReadLanguageTable(world_.files, world_.prompts, state_.Script(), state_.Languages);
    FindLanguage(state_);
    world_.SkipIntro();
    dialog_.OnInit(view_);
  }
  const FakeDialogView& Intro() const { return *world_.host.views().at(0); }
  void ExpectLabels(std::string_view tag, int actionSlot) {
    EXPECT_EQ(view_.Caption(), LanguageText(tag, text::DLG_MAIN_CAPTION));
    for (int id : {7, 8, 10, 11, 12}) EXPECT_EQ(view_.Text(id), LanguageText(tag, id)) << id;
    EXPECT_EQ(view_.Text(3), LanguageText(tag, actionSlot));
  }

  AppWorld world_;
  ProgramState& state_ = *world_.state;
  FakeDialogView view_{"DLG_main", kMain, kNoWindow};
  MainDialog dialog_{world_.services, state_};
};

TEST_F(MainDialogTest, OpensAfterTheIntroInTheChosenLanguage) {
  Open("/lDeutsch");
  ASSERT_EQ(world_.host.views().size(), 1u);
  EXPECT_EQ(Intro().templateName(), "WND_intro");
  EXPECT_EQ(Intro().owner(), kMain);
  EXPECT_EQ(state_.MainWindow, kMain);

  // Hidden while the intro is up, shown once everything is labelled.
  EXPECT_EQ(view_.hiddenCount(), 1);
  EXPECT_FALSE(view_.ended());
  EXPECT_EQ(view_.centredCount(), 1);
  EXPECT_TRUE(view_.visible());
  ExpectLabels("DE", text::DLG_MAIN_INSTALL);
  EXPECT_EQ(view_.control(9).items, (std::vector<std::string>{"English", "Deutsch"}));
  EXPECT_EQ(view_.ComboSelection(9), 1);
  const auto& font = view_.control(10).font;
  ASSERT_TRUE(font);
  EXPECT_EQ(font->points, 12);
  EXPECT_EQ(font->weight, 700);
  EXPECT_STREQ(font->face, "MS Sans Serif");
  EXPECT_TRUE(world_.prompts.shown().empty());
}

TEST_F(MainDialogTest, WrongPlatformEndsAfterTheIntroWithATranslatedMessage) {
  world_.PutMedium("!OS_WINDOWS_95");
  Open("/lDeutsch");
  EXPECT_EQ(world_.host.views().size(), 1u);
  EXPECT_TRUE(view_.ended());
  EXPECT_EQ(view_.result(), 0);
  EXPECT_EQ(view_.hiddenCount(), 1);
  EXPECT_EQ(view_.centredCount(), 0);
  ASSERT_EQ(world_.prompts.shown().size(), 1u);
  EXPECT_EQ(world_.prompts.shown()[0].kind, Kind::ErrorBox);
  EXPECT_EQ(world_.prompts.shown()[0].owner, kMain);
  EXPECT_EQ(world_.prompts.shown()[0].text, LanguageText("DE", text::ERR_INVALID_OS));
}

TEST_F(MainDialogTest, PlatformComesFromTheScriptNamedOnTheCommandLine) {
  world_.files.PutFile("A:\\W95.KVX", CrLfLines({"[OS]", "!OS_WINDOWS_95"}));
  world_.system.platformId = 1;
  Open("/fW95.KVX");
  EXPECT_FALSE(view_.ended());
}

TEST_F(MainDialogTest, MissingRightsEndAtOnce) {
  world_.registry.DenyAllAccess("SOFTWARE");
  Open();
  EXPECT_TRUE(view_.ended());
  EXPECT_EQ(view_.result(), 0);
  EXPECT_EQ(view_.centredCount(), 0);
  EXPECT_EQ(world_.prompts.Texts(Kind::Message),
            std::vector<std::string>{LanguageText("EN", text::ERR_NORIGHTS)});
}

TEST_F(MainDialogTest, FontFailureIsReportedAndTheDialogStillOpens) {
  view_.FailFonts();
  Open();
  EXPECT_EQ(world_.prompts.Texts(Kind::ErrorBox), std::vector<std::string>{"Unable to find font!"});
  EXPECT_FALSE(view_.ended());
  ExpectLabels("EN", text::DLG_MAIN_INSTALL);
}

TEST(MainDialogModes, ActionButtonFollowsTheStartMode) {
  for (auto [commandLine, slot] :
       {std::pair{"/c", text::DLG_MAIN_CONFIG}, std::pair{"/d", text::DLG_MAIN_DEINSTALL}}) {
    AppWorld world;
    world.PutMedium();
    FakeDialogView view("DLG_main", kMain, kNoWindow);
    MainDialog dialog(world.services, *world.state);
    ParseCommandLine(*world.state, commandLine);
    ReadLanguageTable(world.files, world.prompts, world.state->Script(), world.state->Languages);
    world.SkipIntro();
    dialog.OnInit(view);
    EXPECT_EQ(view.Text(3), LanguageText("EN", slot)) << commandLine;
  }
}

TEST_F(MainDialogTest, UnknownModeKeepsTheActionLabel) {
  Open();
  state_.Catalogue.SetText(text::DLG_MAIN_INSTALL, "changed");
  UpdateMainTexts(view_, state_, 3, 0);
  EXPECT_EQ(view_.Text(3), LanguageText("EN", text::DLG_MAIN_INSTALL));
  UpdateMainTexts(view_, state_, 0, 0);
  EXPECT_EQ(view_.Text(3), "changed");
}

TEST_F(MainDialogTest, LanguageChangeRelabelsEverythingAndKeepsTheList) {
  Open("/c");
  view_.ComboSelect(9, 1);
  dialog_.OnCommand(view_, 9, 1);
  EXPECT_EQ(state_.LanguageIndex, 1);
  ExpectLabels("DE", text::DLG_MAIN_CONFIG);
  EXPECT_EQ(view_.control(9).items, (std::vector<std::string>{"English", "Deutsch"}));
  EXPECT_EQ(view_.ComboSelection(9), 1);
}

TEST_F(MainDialogTest, OtherListNotificationsAndEmptySelectionChangeNothing) {
  Open();
  view_.ComboSelect(9, 1);
  dialog_.OnCommand(view_, 9, 7);  // the list dropped down
  EXPECT_EQ(state_.LanguageIndex, 0);
  view_.ComboSelect(9, -1);
  dialog_.OnCommand(view_, 9, 1);
  EXPECT_EQ(state_.LanguageIndex, 0);
  ExpectLabels("EN", text::DLG_MAIN_INSTALL);
}

TEST_F(MainDialogTest, MissingLanguageFileKeepsTheOldLabels) {
  Open();
  world_.files.Delete("A:\\GER.TXT");
  view_.ComboSelect(9, 1);
  dialog_.OnCommand(view_, 9, 1);
  EXPECT_EQ(state_.LanguageIndex, 1);
  EXPECT_EQ(world_.prompts.Texts(Kind::ErrorBox),
            std::vector<std::string>{"Language is not supported!"});
  ExpectLabels("EN", text::DLG_MAIN_INSTALL);
}

TEST_F(MainDialogTest, ExitAndCloseEndWithZeroOtherButtonsDoNot) {
  Open();
  dialog_.OnCommand(view_, 3, 0);
  dialog_.OnCommand(view_, 7, 0);
  dialog_.OnCommand(view_, 2, 0);
  EXPECT_FALSE(view_.ended());
  dialog_.OnCommand(view_, 8, 0);
  EXPECT_TRUE(view_.ended());
  EXPECT_EQ(view_.result(), 0);

  FakeDialogView other("DLG_main", kMain + 1, kNoWindow);
  dialog_.OnClose(other);
  EXPECT_TRUE(other.ended());
  EXPECT_EQ(other.result(), 0);
}

class IntroTest : public ::testing::Test {
 protected:
  IntroTest() {
    world_.PutMedium();
    ReadLanguageTable(world_.files, world_.prompts, state_.Script(), state_.Languages);
    state_.LanguageIndex = 1;
  }

  AppWorld world_;
  ProgramState& state_ = *world_.state;
  FakeDialogView view_{"WND_intro", 0x600, kMain};
  IntroWindow intro_{world_.services, state_};
};

TEST_F(IntroTest, ShowsTheBitmapAndLoadsTheTexts) {
  intro_.OnInit(view_);
  EXPECT_EQ(view_.classIcon(), "mainico");
  EXPECT_EQ(view_.centredCount(), 1);
  EXPECT_EQ(view_.background(), "velmarbmp");
  EXPECT_EQ(view_.timers(), (std::map<int, unsigned>{{1, 2500}}));
  EXPECT_EQ(state_.Catalogue.Text(text::DLG_MAIN_CAPTION),
            LanguageText("DE", text::DLG_MAIN_CAPTION));
  EXPECT_FALSE(view_.ended());
  EXPECT_TRUE(world_.prompts.shown().empty());
}

TEST_F(IntroTest, ClosesWhenItsTimerFires) {
  intro_.OnInit(view_);
  intro_.OnTimer(view_, 2);
  EXPECT_FALSE(view_.ended());
  intro_.OnTimer(view_, 1);
  EXPECT_TRUE(view_.ended());
  EXPECT_EQ(view_.result(), 0);
  EXPECT_TRUE(view_.timers().empty());
}

TEST_F(IntroTest, ClosesEarlyOnAClickOrKey) {
  intro_.OnInit(view_);
  intro_.OnClickOrKey(view_);
  EXPECT_TRUE(view_.ended());
  EXPECT_TRUE(view_.timers().empty());
}

TEST_F(IntroTest, ReportsAMissingBitmapOrBrush) {
  for (auto [result, message] : {std::pair{BackgroundResult::NoBitmap, "Unable to load bitmap!"},
                                 std::pair{BackgroundResult::NoBrush, "Can't create brush!"}}) {
    FakeDialogView view("WND_intro", 0x601, kMain);
    view.SetBackgroundResult(result);
    FakePrompts prompts;
    Services services{world_.files, world_.system, world_.registry, prompts, world_.host};
    IntroWindow intro(services, state_);
    intro.OnInit(view);
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].kind, Kind::ErrorBox);
    EXPECT_EQ(prompts.shown()[0].owner, WindowRef{0x601});
    EXPECT_EQ(prompts.shown()[0].text, message);
  }
}

}  // namespace
}  // namespace setup
