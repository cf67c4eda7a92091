#pragma once

// What every DialogHost and its views must do as the Win32 dialog manager does. `Env` gives
// `DialogHost& host()`; lets a user act on the next dialog shown from a template once it is
// up: `Press(name, id)`, `Close(name)` (system menu), `Click(name)`, `Escape(name)` (the key
// pressed in the window itself), `Wait(name)` (only time passes); makes sure a template
// does not exist (`Missing(name)`); and serves a modeless window with
// `PumpUntil(window, condition)`; `Visible(window)` tells whether a window is shown;
// `files()` is the file system the host's views see and `scratch()` the absolute path of a
// directory in it. Template "DLG_yesno" has static 109
// and buttons 111, 112 and 1, "DLG_test_combo" the drop-down list 9, "DLG_info" static 603,
// "DLG_fileversion" the list box 173 and static 104, "DLG_partynumber" the edits 86 and 88,
// "DLG_cfg_advanced_mntsw" the drop-down list 48 and the check boxes 61 and 67.

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
  std::vector<int> editsChanged;

  void OnInit(DialogView& view) override {
    window = view.Window();
    if (init) init(view);
  }
  // Only clicks end it: a combo box also reports focus changes as commands.
  void OnCommand(DialogView& view, int id, int notification) override {
    if (notification == 0) view.End(kCommand + id);
    if (notification == 0x300) editsChanged.push_back(id);
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
// Escape too, reach it as such (the intro closes on them); only running timers elapse. A
// modeless window lives until destroyed or ended.
TYPED_TEST_P(DialogHostContract, EachWayOfEndingGivesItsResultAndDestroysOnce) {
  TypeParam& env = this->env_;
  const struct {
    void (TypeParam::*act)(const char*);
    int result;
  } cases[] = {
      {&TypeParam::Close, ProbeDialog::kClose},
      {&TypeParam::Click, ProbeDialog::kClickOrKey},
      {&TypeParam::Escape, ProbeDialog::kClickOrKey},
      {&TypeParam::Wait, ProbeDialog::kTimer + 7},
  };
  const auto timers = [](DialogView& v) {
    v.StartTimer(3, 10);
    v.StartTimer(7, 40);
    v.StopTimer(3);
  };
  for (const auto& c : cases) {
    this->probe_ = ProbeDialog();
    (env.*c.act)("DLG_yesno");
    const bool wait = c.act == &TypeParam::Wait;
    EXPECT_EQ(this->Run("DLG_yesno", wait ? std::function<void(DialogView&)>(timers) : nullptr),
              c.result);
    EXPECT_EQ(this->probe_.destroyed, 1) << c.result;
  }
  env.Press("DLG_yesno", 112);
  EXPECT_EQ(this->Run("DLG_yesno", nullptr), ProbeDialog::kCommand + 112);
  EXPECT_EQ(this->Run("DLG_yesno", [](DialogView& v) { v.End(-3); }), -3);
  env.Missing("DLG_nonexistent");
  EXPECT_EQ(this->Run("DLG_nonexistent", nullptr), -1);
  EXPECT_EQ(env.host().CreateModeless("DLG_nonexistent", kNoWindow, this->probe_), kNoWindow);

  ProbeDialog ending;
  ending.init = [](DialogView& view) { view.StartTimer(5, 20); };
  const WindowRef second = env.host().CreateModeless("DLG_info", kNoWindow, ending);
  ASSERT_EQ(ending.window, second);
  env.PumpUntil(second, [&ending] { return ending.destroyed > 0; });
  EXPECT_EQ(ending.destroyed, 1);
}

// The language box relies on an unsorted list whose indexes are the language table's; the
// version list keeps lines in order, and a directory is resolved through the system's
// directory listing, which makes it current.
TYPED_TEST_P(DialogHostContract, ListsKeepTheirOrderAndDirectoryListingMakesItCurrent) {
  Files& files = this->env_.files();
  const std::string directory = this->env_.scratch(), previous = files.CurrentDirectory();
  std::vector<std::string> seen;
  std::vector<int> numbers;
  this->Run("DLG_test_combo", [&](DialogView& view) {
    for (const char* name : {"Deutsch", "English", "Arabic"}) view.ComboAdd(9, name);
    seen.push_back(view.ComboItemText(9, 0) + view.ComboItemText(9, 2));
    view.ComboSelect(9, 1);
    numbers = {view.ComboCount(9), view.ComboSelection(9)};
    view.ComboClear(9);
    numbers.push_back(view.ComboCount(9));
    view.End(0);
  });
  this->Run("DLG_fileversion", [&](DialogView& view) {
    for (const char* line : {"z.sys\tv2.1", "a.sys\tunknown"}) view.ListAdd(173, line);
    seen.push_back(view.ListItemText(173, 0) + view.ListItemText(173, 1));
    numbers.push_back(view.ListSelection(173));
    EXPECT_TRUE(view.ListDirectory(104, directory));
    seen.push_back(view.Text(104));
    seen.push_back(files.CurrentDirectory());
    EXPECT_FALSE(view.ListDirectory(104, directory + "\\MISSING"));
    files.ChangeDirectory(previous);
    view.End(0);
  });
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], "DeutschArabic");
  EXPECT_EQ(seen[1], "z.sys\tv2.1a.sys\tunknown");
  for (const std::string& shown : {seen[2], seen[3]})
    EXPECT_TRUE(EqualIgnoringCase(shown, directory)) << shown;
  EXPECT_EQ(numbers, (std::vector<int>{3, 1, 0, -1}));
}

// The configuration pages tell the user's edits from their own by the modified state; a
// control they destroyed, or one the template lacks, must read back as nothing at all.
// Centring shows a window, unless the dialog hid it to fill it first.
TYPED_TEST_P(DialogHostContract, ControlsAnswerAsTheDialogManagerHasThem) {
  std::vector<std::string> seen;
  std::vector<bool> states;
  this->Run("DLG_partynumber", [&](DialogView& v) {
    v.SetText(86, "123");
    v.Enable(88, false);
    states = {v.IsModified(86), v.IsEnabled(86), v.IsEnabled(88), v.IsEnabled(4711)};
    v.DestroyControl(86);
    states.push_back(v.IsEnabled(86));
    for (bool hide : {false, true}) {
      if (hide) v.ShowWindow(false);
      v.Centre();
      states.push_back(this->env_.Visible(v.Window()));
    }
    seen.push_back(v.Text(86));
    v.End(0);
  });
  // A page lives on a frame, and goes with it.
  ProbeDialog frame, page;
  page.init = [&](DialogView& v) {
    v.SetCheck(67, true);
    v.ComboAdd(48, "00");
    v.ComboSelect(48, 0);
    states.insert(states.end(), {v.IsChecked(67), v.IsChecked(61)});
    v.DestroyControl(67);
    v.DestroyControl(48);
    states.push_back(v.IsChecked(67));
    seen.push_back(std::to_string(v.ComboSelection(48)));
  };
  DialogHost& host = this->env_.host();
  const WindowRef parent = host.CreateModeless("DLG_info", kNoWindow, frame);
  host.CreateModeless("DLG_cfg_advanced_mntsw", parent, page);
  host.DestroyModeless(parent);
  EXPECT_EQ(page.destroyed, 1);
  this->Run("DLG_fileversion", [&](DialogView& v) {
    for (const char* line : {"a", "c"}) v.ListAdd(173, line);
    v.ListInsert(173, 1, "b");
    v.ListDelete(173, 0);
    v.ListSelect(173, 1);
    seen.push_back(v.ListItemText(173, 0) + v.ListItemText(173, 1) +
                   std::to_string(v.ListSelection(173)));
    v.End(0);
  });
  EXPECT_EQ(this->probe_.editsChanged, std::vector<int>{86});
  EXPECT_EQ(states,
            (std::vector<bool>{false, true, false, false, false, true, false, true, false, false}));
  EXPECT_EQ(seen, (std::vector<std::string>{"", "-1", "bc1"}));
}

REGISTER_TYPED_TEST_SUITE_P(DialogHostContract, EachWayOfEndingGivesItsResultAndDestroysOnce,
                            ListsKeepTheirOrderAndDirectoryListingMakesItCurrent,
                            ControlsAnswerAsTheDialogManagerHasThem);

}  // namespace setup
