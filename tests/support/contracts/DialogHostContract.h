#pragma once

// What every DialogHost and its views must do as the Win32 dialog manager does. `Env` gives
// `DialogHost& host()`; lets a user act on the next dialog shown from a template once it is
// up: `Press(name, id)`, `Close(name)` (system menu), `Click(name)`, `Escape(name)` (the key
// pressed in the window itself), `Wait(name)` (only time passes); makes sure a template
// does not exist (`Missing(name)`); and serves a modeless window with
// `PumpUntil(window, condition)`; `files()` is the file system the host's views see and
// `directory()` the absolute path of a directory in it. Template "DLG_yesno" has static 109
// and buttons 111, 112 and 1, "DLG_test_combo" the drop-down list 9, "DLG_info" static 603,
// "DLG_fileversion" the list box 173 and static 104.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Files.h"
#include "script/CaseFold.h"

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
  this->env_.Missing("DLG_nonexistent");
  EXPECT_EQ(this->host().RunModal("DLG_nonexistent", kNoWindow, this->probe_), -1);
  EXPECT_EQ(this->host().CreateModeless("DLG_nonexistent", kNoWindow, this->probe_), kNoWindow);
  EXPECT_EQ(this->probe_.window, kNoWindow);
}

// The language box relies on an unsorted list whose indexes are the language table's.
TYPED_TEST_P(DialogHostContract, DropDownListKeepsItemsInOrderAndOneSelection) {
  std::vector<std::string> items;
  std::vector<int> selections;
  int countAfterClear = -9;
  this->probe_.init = [&](DialogView& view) {
    for (const char* name : {"Deutsch", "English", "Arabic"}) view.ComboAdd(9, name);
    for (int i = 0; i <= view.ComboCount(9); ++i) items.push_back(view.ComboItemText(9, i));
    selections.push_back(view.ComboSelection(9));
    view.ComboSelect(9, 1);
    selections.push_back(view.ComboSelection(9));
    view.ComboSelect(9, -1);
    selections.push_back(view.ComboSelection(9));
    view.ComboSelect(9, 2);
    view.ComboClear(9);
    countAfterClear = view.ComboCount(9);
    selections.push_back(view.ComboSelection(9));
    view.End(0);
  };
  EXPECT_EQ(this->host().RunModal("DLG_test_combo", kNoWindow, this->probe_), 0);
  EXPECT_EQ(items, (std::vector<std::string>{"Deutsch", "English", "Arabic", ""}));
  EXPECT_EQ(selections, (std::vector<int>{-1, 1, -1, -1}));
  EXPECT_EQ(countAfterClear, 0);
}

// The version list: lines keep the order they were added in, and a directory is resolved
// through the system's directory listing, which makes it current.
TYPED_TEST_P(DialogHostContract, ListKeepsItsOrderAndDirectoryListingMakesTheDirectoryCurrent) {
  Files& files = this->env_.files();
  const std::string directory = this->env_.directory();
  const std::string previous = files.CurrentDirectory();
  std::vector<std::string> items;
  bool listed = false, missingListed = true;
  int selection = -9, countAfterClear = -9;
  std::string shown, current, shownAfterMissing, currentAfterMissing;
  this->probe_.init = [&](DialogView& view) {
    for (const char* line : {"z.sys\tv2.1 (rev.05)", "a.sys\tunknown"}) view.ListAdd(173, line);
    view.SetTabStops(173, std::vector<int>{0, 130});
    for (int i = 0; i <= view.ListCount(173); ++i) items.push_back(view.ListItemText(173, i));
    selection = view.ListSelection(173);
    view.ListClear(173);
    countAfterClear = view.ListCount(173);
    listed = view.ListDirectory(104, directory);
    shown = view.Text(104);
    current = files.CurrentDirectory();
    missingListed = view.ListDirectory(104, directory + "\\MISSING");
    shownAfterMissing = view.Text(104);
    currentAfterMissing = files.CurrentDirectory();
    files.ChangeDirectory(previous);
    view.End(0);
  };
  EXPECT_EQ(this->host().RunModal("DLG_fileversion", kNoWindow, this->probe_), 0);
  EXPECT_EQ(items, (std::vector<std::string>{"z.sys\tv2.1 (rev.05)", "a.sys\tunknown", ""}));
  EXPECT_EQ(selection, -1);
  EXPECT_EQ(countAfterClear, 0);
  EXPECT_TRUE(listed);
  EXPECT_TRUE(EqualIgnoringCase(shown, directory)) << shown;
  EXPECT_TRUE(EqualIgnoringCase(current, directory)) << current;
  EXPECT_FALSE(missingListed);
  EXPECT_EQ(shownAfterMissing, shown);
  EXPECT_EQ(currentAfterMissing, current);
  EXPECT_EQ(files.CurrentDirectory(), previous);
}

// Buttons are commands; the system menu's Close is not; clicks and keys in the window itself,
// Escape too, reach it as such (the intro closes on them).
TYPED_TEST_P(DialogHostContract, UserActionsArriveAsTheirEvent) {
  const std::pair<std::function<void()>, int> cases[] = {
      {[this] { this->env_.Press("DLG_yesno", 111); }, ProbeDialog::kCommand + 111},
      {[this] { this->env_.Press("DLG_yesno", 1); }, ProbeDialog::kCommand + 1},
      {[this] { this->env_.Close("DLG_yesno"); }, ProbeDialog::kClose},
      {[this] { this->env_.Click("DLG_yesno"); }, ProbeDialog::kClickOrKey},
      {[this] { this->env_.Escape("DLG_yesno"); }, ProbeDialog::kClickOrKey},
  };
  for (const auto& [act, expected] : cases) {
    ProbeDialog probe;
    act();
    EXPECT_EQ(this->host().RunModal("DLG_yesno", kNoWindow, probe), expected);
  }
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

TYPED_TEST_P(DialogHostContract, ModelessWindowLivesUntilDestroyedOrEnded) {
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

  ProbeDialog ending;
  ending.init = [](DialogView& view) { view.StartTimer(5, 20); };
  const WindowRef second = this->host().CreateModeless("DLG_info", kNoWindow, ending);
  ASSERT_NE(second, kNoWindow);
  this->env_.PumpUntil(second, [&ending] { return ending.destroyed > 0; });
  EXPECT_EQ(ending.destroyed, 1);
}

REGISTER_TYPED_TEST_SUITE_P(DialogHostContract, EndGivesRunModalItsResultAndDestroysOnce,
                            DropDownListKeepsItemsInOrderAndOneSelection,
                            ListKeepsItsOrderAndDirectoryListingMakesTheDirectoryCurrent,
                            UserActionsArriveAsTheirEvent, OnlyRunningTimersElapse,
                            ModelessWindowLivesUntilDestroyedOrEnded);

}  // namespace setup
