#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <string>

namespace setup {

// A user sitting in front of this thread's dialogs. A thread timer runs the steps from inside
// whatever message loop is waiting at the time (a modal dialog's, a message box's or a
// pump's), one step per tick, each retried until a dialog it can act on is up.
class ScriptedUser {
 public:
  ScriptedUser() : timer_(SetTimer(nullptr, 0, 30, OnTimer)) { current_ = this; }
  ~ScriptedUser() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

  // Clicks the button with this id in the frontmost visible dialog that has one.
  void Press(int id) { steps_.push_back({id, 0, 0, 0}); }
  // Posts to the frontmost visible dialog: WM_CLOSE as its system menu does, a click, a key.
  void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    steps_.push_back({0, message, wParam, lParam});
  }

  bool Done() const { return steps_.empty(); }
  // Text of the control with this id in the last dialog acted on.
  std::string LastText(int id) const {
    const auto found = last_.find(id);
    return found != last_.end() ? found->second : std::string();
  }
  bool LastHad(int id) const { return last_.count(id) != 0; }

 private:
  struct Step {
    int button;
    UINT message;  // 0: click `button`
    WPARAM wParam;
    LPARAM lParam;
  };

  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!current_ || current_->steps_.empty()) return;
    // This thread's visible, enabled dialogs, frontmost first.
    for (HWND dialog = GetTopWindow(nullptr); dialog; dialog = GetWindow(dialog, GW_HWNDNEXT)) {
      char name[16] = "";
      GetClassNameA(dialog, name, sizeof name);
      const Step step = current_->steps_.front();
      if (GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId() ||
          std::string(name) != "#32770" || !IsWindowVisible(dialog) || !IsWindowEnabled(dialog) ||
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
  UINT_PTR timer_;
  std::deque<Step> steps_;
  std::map<int, std::string> last_;
};

}  // namespace setup
