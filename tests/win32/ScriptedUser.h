#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

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

  // Clicks the button with this id in the frontmost visible dialog that has one; with
  // `whileShown`, only while another dialog with that control is up as well: a button of a
  // modeless window clicked while a question waits for its answer.
  void Press(int id, int whileShown = 0) {
    steps_.push_back({[id, whileShown](HWND dialog) {
                        bool shown = !whileShown;
                        for (HWND other : VisibleDialogs())
                          shown = shown || (other != dialog &&
                                            IsWindowVisible(GetDlgItem(other, whileShown)));
                        return shown && IsWindowVisible(GetDlgItem(dialog, id));
                      },
                      [id](HWND dialog) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }});
  }
  // Posts to the frontmost visible dialog: WM_CLOSE as its system menu does, a click, a key.
  void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    steps_.push_back({[](HWND) { return true; },
                      [=](HWND dialog) { PostMessageA(dialog, message, wParam, lParam); }});
  }

  bool Done() const { return steps_.empty(); }
  // Text of the control with this id in the last dialog acted on, or in the last one that had
  // it at all.
  std::string LastText(int id) const { return Find(last_, id); }
  std::string SeenText(int id) const { return Find(seen_, id); }
  bool LastHad(int id) const { return last_.count(id) != 0; }

 private:
  struct Step {
    std::function<bool(HWND dialog)> accepts;
    std::function<void(HWND dialog)> act;
  };

  static std::string Find(const std::map<int, std::string>& texts, int id) {
    const auto found = texts.find(id);
    return found != texts.end() ? found->second : std::string();
  }

  // Visible dialogs of this thread, frontmost first.
  static std::vector<HWND> VisibleDialogs() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static BOOL CALLBACK Collect(HWND window, LPARAM list) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(window) && IsWindowEnabled(window))
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
  }

  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!current_ || current_->steps_.empty()) return;
    for (HWND dialog : VisibleDialogs()) {
      if (!current_->steps_.front().accepts(dialog)) continue;
      // Taken off before it acts: acting may run a nested loop in which the next tick comes.
      Step step = std::move(current_->steps_.front());
      current_->steps_.pop_front();
      current_->last_.clear();
      for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[512] = "";
        GetWindowTextA(child, text, sizeof text);
        current_->last_[GetDlgCtrlID(child)] = current_->seen_[GetDlgCtrlID(child)] = text;
      }
      step.act(dialog);
      return;
    }
  }

  static inline ScriptedUser* current_ = nullptr;
  UINT_PTR timer_;
  std::deque<Step> steps_;
  std::map<int, std::string> last_, seen_;
};

}  // namespace setup
