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
  // Runs template `name` with `init` as its opening; its result.
  int Run(const char* name, std::function<void(DialogView&)> init) {
    probe_.init = std::move(init);
    return env_.host().RunModal(name, kNoWindow, probe_);
  }

  Env env_;
  ProbeDialog probe_;
};

TYPED_TEST_SUITE_P(DialogHostContract);

// Buttons are commands; the system menu's Close is not; clicks and keys in the window itself,
// Escape too, reach it as such (the intro closes on them); only running timers elapse.
TYPED_TEST_P(DialogHostContract, EachWayOfEndingGivesRunModalItsResultAndDestroysOnce) {
  const auto end = [](int result) { return [result](DialogView& v) { v.End(result); }; };
  const auto none = [](TypeParam&) {};
  const struct {
    std::function<void(TypeParam&)> act;
    std::function<void(DialogView&)> init;
    int result;
  } cases[] = {
      {none, end(0), 0},
      {none, end(42), 42},
      {none, end(-3), -3},
      {[](TypeParam& e) { e.Press("DLG_yesno", 111); }, nullptr, ProbeDialog::kCommand + 111},
      {[](TypeParam& e) { e.Press("DLG_yesno", 1); }, nullptr, ProbeDialog::kCommand + 1},
      {[](TypeParam& e) { e.Close("DLG_yesno"); }, nullptr, ProbeDialog::kClose},
      {[](TypeParam& e) { e.Click("DLG_yesno"); }, nullptr, ProbeDialog::kClickOrKey},
      {[](TypeParam& e) { e.Escape("DLG_yesno"); }, nullptr, ProbeDialog::kClickOrKey},
      {[](TypeParam& e) { e.Wait("DLG_yesno"); },
       [](DialogView& v) {
         v.StartTimer(3, 10);
         v.StartTimer(7, 40);
         v.StopTimer(3);
       },
       ProbeDialog::kTimer + 7},
  };
  for (const auto& c : cases) {
    this->probe_ = ProbeDialog();
    c.act(this->env_);
    EXPECT_EQ(this->Run("DLG_yesno", c.init), c.result);
    EXPECT_NE(this->probe_.window, kNoWindow) << c.result;
    EXPECT_EQ(this->probe_.destroyed, 1) << c.result;
  }
  this->probe_ = ProbeDialog();
  this->env_.Missing("DLG_nonexistent");
  EXPECT_EQ(this->Run("DLG_nonexistent", nullptr), -1);
  EXPECT_EQ(this->env_.host().CreateModeless("DLG_nonexistent", kNoWindow, this->probe_),
            kNoWindow);
  EXPECT_EQ(this->probe_.window, kNoWindow);
}

// The language box relies on an unsorted list whose indexes are the language table's; the
// version list keeps lines in order, and a directory is resolved through the system's
// directory listing, which makes it current.
TYPED_TEST_P(DialogHostContract, ListsKeepTheirOrderAndDirectoryListingMakesItCurrent) {
  std::vector<std::string> items;
  std::vector<int> selections;
  this->Run("DLG_test_combo", [&](DialogView& view) {
    for (const char* name : {"Deutsch", "English", "Arabic"}) view.ComboAdd(9, name);
    for (int i = 0; i <= view.ComboCount(9); ++i) items.push_back(view.ComboItemText(9, i));
    selections.push_back(view.ComboSelection(9));
    for (int index : {1, -1, 2}) {
      view.ComboSelect(9, index);
      selections.push_back(view.ComboSelection(9));
    }
    view.ComboClear(9);
    selections.push_back(view.ComboSelection(9));
    selections.push_back(view.ComboCount(9));
    view.End(0);
  });
  EXPECT_EQ(items, (std::vector<std::string>{"Deutsch", "English", "Arabic", ""}));
  EXPECT_EQ(selections, (std::vector<int>{-1, 1, -1, 2, -1, 0}));

  Files& files = this->env_.files();
  const std::string directory = this->env_.directory(), previous = files.CurrentDirectory();
  std::vector<std::string> lines, seen;
  std::pair<int, int> selectionAndCountAfterClear;
  this->Run("DLG_fileversion", [&](DialogView& view) {
    for (const char* line : {"z.sys\tv2.1 (rev.05)", "a.sys\tunknown"}) view.ListAdd(173, line);
    view.SetTabStops(173, std::vector<int>{0, 130});
    for (int i = 0; i <= view.ListCount(173); ++i) lines.push_back(view.ListItemText(173, i));
    const int selection = view.ListSelection(173);
    view.ListClear(173);
    selectionAndCountAfterClear = {selection, view.ListCount(173)};
    for (const std::string& path : {directory, directory + "\\MISSING"}) {
      seen.push_back(view.ListDirectory(104, path) ? "listed" : "not listed");
      seen.push_back(view.Text(104));
      seen.push_back(files.CurrentDirectory());
    }
    files.ChangeDirectory(previous);
    view.End(0);
  });
  EXPECT_EQ(lines, (std::vector<std::string>{"z.sys\tv2.1 (rev.05)", "a.sys\tunknown", ""}));
  EXPECT_EQ(selectionAndCountAfterClear, std::make_pair(-1, 0));
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[0] + seen[3], "listednot listed");
  for (const std::string& shown : {seen[1], seen[2], seen[4], seen[5]})
    EXPECT_TRUE(EqualIgnoringCase(shown, directory)) << shown;
  EXPECT_EQ(files.CurrentDirectory(), previous);
}

TYPED_TEST_P(DialogHostContract, ModelessWindowLivesUntilDestroyedOrEnded) {
  std::string text;
  this->probe_.init = [&](DialogView& view) {
    view.SetText(603, "copying");
    text = view.Text(603);
  };
  const WindowRef window = this->env_.host().CreateModeless("DLG_info", kNoWindow, this->probe_);
  ASSERT_NE(window, kNoWindow);
  EXPECT_EQ(this->probe_.window, window);
  EXPECT_EQ(text, "copying");
  EXPECT_EQ(this->probe_.destroyed, 0);
  this->env_.host().DestroyModeless(window);
  EXPECT_EQ(this->probe_.destroyed, 1);

  ProbeDialog ending;
  ending.init = [](DialogView& view) { view.StartTimer(5, 20); };
  const WindowRef second = this->env_.host().CreateModeless("DLG_info", kNoWindow, ending);
  ASSERT_NE(second, kNoWindow);
  this->env_.PumpUntil(second, [&ending] { return ending.destroyed > 0; });
  EXPECT_EQ(ending.destroyed, 1);
}

REGISTER_TYPED_TEST_SUITE_P(DialogHostContract,
                            EachWayOfEndingGivesRunModalItsResultAndDestroysOnce,
                            ListsKeepTheirOrderAndDirectoryListingMakesItCurrent,
                            ModelessWindowLivesUntilDestroyedOrEnded);

}  // namespace setup
