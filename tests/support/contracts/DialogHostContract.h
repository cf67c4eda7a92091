#pragma once

// What every DialogHost and its views must do as the Win32 dialog manager does. `Env` acts
// on the next dialog of a template (Press, Close, Click, Escape) and serves a modeless
// window (PumpUntil); `directory()` is a directory in `files()`, what the views see.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "platform/Dialog.h"
#include "platform/Files.h"
#include "script/CaseFold.h"

namespace setup {

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
  // Only clicks end it: controls also report focus changes as commands.
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
  int Run(const char* name, std::function<void(DialogView&)> init) {
    probe_.init = std::move(init);
    return env_.host().RunModal(name, kNoWindow, probe_);
  }

  Env env_;
  ProbeDialog probe_;
};

TYPED_TEST_SUITE_P(DialogHostContract);

// Buttons are commands; the system menu's Close is not; clicks and keys in the window itself,
// Escape too, reach it as such (the intro closes on them). A modeless window lives until
// destroyed or ended, here by its timer. Listing a directory makes it current.
TYPED_TEST_P(DialogHostContract, EndsEachWayAndListsDirectories) {
  TypeParam& env = this->env_;
  const struct {
    void (TypeParam::*act)(const char*);
    int result;
  } cases[] = {
      {&TypeParam::Close, ProbeDialog::kClose},
      {&TypeParam::Click, ProbeDialog::kClickOrKey},
      {&TypeParam::Escape, ProbeDialog::kClickOrKey},
  };
  for (const auto& c : cases) {
    this->probe_ = ProbeDialog();
    (env.*c.act)("DLG_yesno");
    EXPECT_EQ(this->Run("DLG_yesno", nullptr), c.result);
    EXPECT_EQ(this->probe_.destroyed, 1) << c.result;
  }
  env.Press("DLG_yesno", 112);
  EXPECT_EQ(this->Run("DLG_yesno", nullptr), ProbeDialog::kCommand + 112);
  env.Missing("DLG_nonexistent");
  EXPECT_EQ(this->Run("DLG_nonexistent", nullptr), -1);
  EXPECT_EQ(env.host().CreateModeless("DLG_nonexistent", kNoWindow, this->probe_), kNoWindow);
  ProbeDialog ending;
  ending.init = [](DialogView& view) { view.StartTimer(5, 20); };
  const WindowRef second = env.host().CreateModeless("DLG_info", kNoWindow, ending);
  ASSERT_EQ(ending.window, second);
  env.PumpUntil(second, [&ending] { return ending.destroyed > 0; });
  EXPECT_EQ(ending.destroyed, 1);

  Files& files = env.files();
  const std::string directory = env.directory(), previous = files.CurrentDirectory();
  std::string shown;
  this->Run("DLG_fileversion", [&](DialogView& view) {
    EXPECT_TRUE(view.ListDirectory(104, directory));
    shown = view.Text(104) + "|" + files.CurrentDirectory();
    EXPECT_FALSE(view.ListDirectory(104, directory + "\\MISSING"));
    files.ChangeDirectory(previous);
    view.End(0);
  });
  EXPECT_TRUE(EqualIgnoringCase(shown, directory + "|" + directory)) << shown;
}

REGISTER_TYPED_TEST_SUITE_P(DialogHostContract, EndsEachWayAndListsDirectories);

}  // namespace setup
