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
  ScriptedUser();
  ~ScriptedUser();
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

  // Clicks the button with this id in the frontmost visible dialog that has one.
  void Press(int id);
  // Presses it in a dialog that has it while another dialog, with `shownId`, is up as well:
  // a button of a modeless window clicked while a question waits for its answer.
  void PressWhileShown(int id, int shownId);
  // Closes the frontmost visible dialog from its system menu.
  void Close();
  // Clicks the left mouse button into the frontmost visible dialog.
  void Click();
  // Presses a key with the frontmost visible dialog focused.
  void Key(WPARAM virtualKey);

  bool Done() const { return steps_.empty(); }
  // Text of static 109 of the dialog the last step acted on.
  const std::string& seenText() const { return seenText_; }
  // Text of the control with this id in the last dialog acted on that had one.
  std::string SeenTextOf(int id) const;
  // Whether that dialog had a control with this id.
  bool SawControl(int id) const;

 private:
  struct Step {
    std::function<bool(HWND dialog)> accepts;
    std::function<void(HWND dialog)> act;
  };
  void Add(
      std::function<void(HWND dialog)> act,
      std::function<bool(HWND dialog)> accepts = [](HWND) { return true; });
  void Tick();
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

  static ScriptedUser* current_;
  std::deque<Step> steps_;
  UINT_PTR timer_ = 0;
  std::string seenText_;
  std::vector<int> seenControls_;
  std::map<int, std::string> seenTexts_;
};

}  // namespace setup
