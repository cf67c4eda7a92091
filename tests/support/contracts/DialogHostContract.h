#pragma once

// What every DialogHost and its views must do as the Win32 dialog manager does. `Env` gives
// `DialogHost& host()`; lets a user act on the next dialog shown from a template once it is
// up: `Press(name, id)`, `Close(name)` (system menu), `Click(name)`, `Escape(name)` (the key
// pressed in the window itself), `Wait(name)` (only time passes); makes sure a template
// does not exist (`Missing(name)`); and serves a modeless window with
// `PumpUntil(window, condition)`. Template "DLG_yesno" has static 109 and buttons 111, 112
// and 1, "DLG_test_combo" the drop-down list 9, "DLG_info" static 603.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Dialog.h"

namespace setup {

// Ends with a value that tells which event ended it.
class ProbeDialog : public Dialog {
 public:
  static constexpr int kCommand = 1000, kTimer = 2000, kClose = 3000, kClickOrKey = 4000;

  std::function<void(DialogView&)> init;
  WindowRef window = kNoWindow;
  int destroyed = 0;

  void OnInit(DialogView& view) override {
    window = view.Window();
    if (init) init(view);
  }
  // Only clicks end it: a combo box also reports focus changes as commands.
  void OnCommand(DialogView& view, int id, int notification) override {
    if (notification == 0) view.End(kCommand + id);
  }
  void OnTimer(DialogView& view, int timer) override {
    view.StopTimer(timer);
    view.End(kTimer + timer);
  }
  void OnClose(DialogView& view) override { view.End(kClose); }
  void OnClickOrKey(DialogView& view) override { view.End(kClickOrKey); }
  void OnDestroy(DialogView&) override { ++destroyed; }
};

template <class Env>
class DialogHostContract : public ::testing::Test {
 protected:
  DialogHost& host() { return env_.host(); }

  // Runs "DLG_yesno" with `init` as its opening; `init` ends it.
  int RunEnding(std::function<void(DialogView&)> init) {
    probe_.init = std::move(init);
    return host().RunModal("DLG_yesno", kNoWindow, probe_);
  }

  Env env_;
  ProbeDialog probe_;
};

TYPED_TEST_SUITE_P(DialogHostContract);

TYPED_TEST_P(DialogHostContract, EndGivesRunModalItsResultAndDestroysOnce) {
  for (int result : {0, 42, -3}) {
    ProbeDialog probe;
    probe.init = [result](DialogView& view) { view.End(result); };
    EXPECT_EQ(this->host().RunModal("DLG_yesno", kNoWindow, probe), result);
    EXPECT_NE(probe.window, kNoWindow);
    EXPECT_EQ(probe.destroyed, 1);
  }
}

TYPED_TEST_P(DialogHostContract, TemplateThatDoesNotExistRunsNothing) {
  this->env_.Missing("DLG_nonexistent");
  EXPECT_EQ(this->host().RunModal("DLG_nonexistent", kNoWindow, this->probe_), -1);
  EXPECT_EQ(this->host().CreateModeless("DLG_nonexistent", kNoWindow, this->probe_), kNoWindow);
  EXPECT_EQ(this->probe_.window, kNoWindow);
}

TYPED_TEST_P(DialogHostContract, TextsAndCaptionReadBackAsSet) {
  std::string before, multiLine, caption, button, unknown;
  this->RunEnding([&](DialogView& view) {
    before = view.Text(109);
    view.SetText(109, "first line\nsecond line");
    multiLine = view.Text(109);
    view.SetCaption("Frage");
    caption = view.Caption();
    view.SetText(112, "Nein");
    view.SetText(112, "");
    button = view.Text(112);
    view.SetText(4711, "nobody");
    unknown = view.Text(4711);
    view.End(0);
  });
  EXPECT_EQ(before, "");
  EXPECT_EQ(multiLine, "first line\nsecond line");
  EXPECT_EQ(caption, "Frage");
  EXPECT_EQ(button, "");
  EXPECT_EQ(unknown, "");
}

TYPED_TEST_P(DialogHostContract, DropDownListKeepsItemsInOrderAndOneSelection) {
  std::vector<std::string> items;
  int firstIndex = -9, lastIndex = -9, initial = -9, chosen = -9, none = -9;
  int countAfterClear = -9, selectionAfterClear = -9;
  std::string beyond;
  this->probe_.init = [&](DialogView& view) {
    view.ComboClear(9);
    firstIndex = view.ComboAdd(9, "Deutsch");
    view.ComboAdd(9, "English");
    lastIndex = view.ComboAdd(9, "Arabic");
    initial = view.ComboSelection(9);
    for (int i = 0; i < view.ComboCount(9); ++i) items.push_back(view.ComboItemText(9, i));
    beyond = view.ComboItemText(9, 3);
    view.ComboSelect(9, 1);
    chosen = view.ComboSelection(9);
    view.ComboSelect(9, -1);
    none = view.ComboSelection(9);
    view.ComboSelect(9, 2);
    view.ComboClear(9);
    countAfterClear = view.ComboCount(9);
    selectionAfterClear = view.ComboSelection(9);
    view.End(0);
  };
  EXPECT_EQ(this->host().RunModal("DLG_test_combo", kNoWindow, this->probe_), 0);
  EXPECT_EQ(items, (std::vector<std::string>{"Deutsch", "English", "Arabic"}));
  EXPECT_EQ(firstIndex, 0);
  EXPECT_EQ(lastIndex, 2);
  EXPECT_EQ(beyond, "");
  EXPECT_EQ(initial, -1);
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(none, -1);
  EXPECT_EQ(countAfterClear, 0);
  EXPECT_EQ(selectionAfterClear, -1);
}

TYPED_TEST_P(DialogHostContract, ButtonsArriveAsCommandsWithTheirId) {
  for (int id : {111, 112, 1}) {
    ProbeDialog probe;
    this->env_.Press("DLG_yesno", id);
    EXPECT_EQ(this->host().RunModal("DLG_yesno", kNoWindow, probe), ProbeDialog::kCommand + id);
  }
}

TYPED_TEST_P(DialogHostContract, SystemMenuCloseIsNotACommand) {
  this->env_.Close("DLG_yesno");
  EXPECT_EQ(this->host().RunModal("DLG_yesno", kNoWindow, this->probe_), ProbeDialog::kClose);
}

TYPED_TEST_P(DialogHostContract, ClicksAndKeysInTheWindowItselfArrive) {
  this->env_.Click("DLG_yesno");
  EXPECT_EQ(this->host().RunModal("DLG_yesno", kNoWindow, this->probe_), ProbeDialog::kClickOrKey);
  // Escape too reaches the window as a key, not as the dialog manager's cancel command.
  ProbeDialog probe;
  this->env_.Escape("DLG_yesno");
  EXPECT_EQ(this->host().RunModal("DLG_yesno", kNoWindow, probe), ProbeDialog::kClickOrKey);
}

TYPED_TEST_P(DialogHostContract, OnlyRunningTimersElapse) {
  this->probe_.init = [](DialogView& view) {
    view.StartTimer(3, 10);
    view.StartTimer(7, 40);
    view.StopTimer(3);
  };
  this->env_.Wait("DLG_yesno");
  EXPECT_EQ(this->host().RunModal("DLG_yesno", kNoWindow, this->probe_), ProbeDialog::kTimer + 7);
}

TYPED_TEST_P(DialogHostContract, ModelessWindowLivesUntilDestroyed) {
  std::string text;
  this->probe_.init = [&](DialogView& view) {
    view.SetText(603, "copying");
    text = view.Text(603);
  };
  const WindowRef window = this->host().CreateModeless("DLG_info", kNoWindow, this->probe_);
  ASSERT_NE(window, kNoWindow);
  EXPECT_EQ(this->probe_.window, window);
  EXPECT_EQ(text, "copying");
  EXPECT_EQ(this->probe_.destroyed, 0);
  this->host().DestroyModeless(window);
  EXPECT_EQ(this->probe_.destroyed, 1);
}

TYPED_TEST_P(DialogHostContract, ModelessWindowEndingItselfIsDestroyed) {
  this->probe_.init = [](DialogView& view) { view.StartTimer(5, 20); };
  const WindowRef window = this->host().CreateModeless("DLG_info", kNoWindow, this->probe_);
  ASSERT_NE(window, kNoWindow);
  this->env_.PumpUntil(window, [this] { return this->probe_.destroyed > 0; });
  EXPECT_EQ(this->probe_.destroyed, 1);
}

TYPED_TEST_P(DialogHostContract, FontsAndBackgroundOfTheProgramAreMade) {
  bool font = false;
  BackgroundResult background = BackgroundResult::NoBrush;
  this->RunEnding([&](DialogView& view) {
    font = view.SetFont(109, FontSpec{12, 700, "MS Sans Serif"});
    background = view.SetPatternBackground("velmarbmp");
    view.End(0);
  });
  EXPECT_TRUE(font);
  EXPECT_EQ(background, BackgroundResult::Painted);
}

REGISTER_TYPED_TEST_SUITE_P(DialogHostContract, EndGivesRunModalItsResultAndDestroysOnce,
                            TemplateThatDoesNotExistRunsNothing, TextsAndCaptionReadBackAsSet,
                            DropDownListKeepsItemsInOrderAndOneSelection,
                            ButtonsArriveAsCommandsWithTheirId, SystemMenuCloseIsNotACommand,
                            ClicksAndKeysInTheWindowItselfArrive, OnlyRunningTimersElapse,
                            ModelessWindowLivesUntilDestroyed,
                            ModelessWindowEndingItselfIsDestroyed,
                            FontsAndBackgroundOfTheProgramAreMade);

}  // namespace setup
