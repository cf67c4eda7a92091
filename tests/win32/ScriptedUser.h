#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <string>

namespace setup {

// A user at this thread's dialogs: a thread timer runs one step per tick from whatever message
// loop waits, each retried until a dialog it can act on is up.
class ScriptedUser {
 public:
  ScriptedUser() { current_ = this; }
  // Killing the timer also drops its pending ticks.
  ~ScriptedUser() { KillTimer(nullptr, timer_); }

  // Clicks a button, or posts a message, in the frontmost visible dialog (that has the button).
  void Press(int id) { steps_.push_back({id, 0, 0, 0}); }
  void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    steps_.push_back({0, message, wParam, lParam});
  }
  bool Done() const { return steps_.empty(); }
  std::string LastText(int id) const { return LastHad(id) ? last_.at(id) : ""; }
  bool LastHad(int id) const { return last_.contains(id); }

 private:
  struct Step {
    int button;
    UINT message;  // 0: click `button`
    WPARAM wParam;
    LPARAM lParam;
  };

  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!current_ || current_->steps_.empty()) return;
    // The thread's only visible top-level windows are its dialogs.
    for (HWND dialog = GetTopWindow(nullptr); dialog; dialog = GetWindow(dialog, GW_HWNDNEXT)) {
      const Step step = current_->steps_.front();
      if (GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId() ||
          !IsWindowVisible(dialog) || !IsWindowEnabled(dialog) ||
          (!step.message && !IsWindowVisible(GetDlgItem(dialog, step.button))))
        continue;
      // Taken off before it acts: acting may run a nested loop in which the next tick comes.
      current_->steps_.pop_front();
      current_->last_.clear();
      for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[512] = "";
        GetWindowTextA(child, text, sizeof text);
        current_->last_[GetDlgCtrlID(child)] = text;
      }
      if (step.message)
        PostMessageA(dialog, step.message, step.wParam, step.lParam);
      else
        SendMessageA(GetDlgItem(dialog, step.button), BM_CLICK, 0, 0);
      return;
    }
  }

  static inline ScriptedUser* current_ = nullptr;
  UINT_PTR timer_ = SetTimer(nullptr, 0, 30, OnTimer);
  std::deque<Step> steps_;
  std::map<int, std::string> last_;
};

}  // namespace setup
