#include "ScriptedUser.h"

#include <algorithm>
#include <vector>

namespace setup {
namespace {

std::string TextOf(HWND window) {
  char text[512] = "";
  if (window) GetWindowTextA(window, text, sizeof text);
  return text;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770" && IsWindowVisible(window) && IsWindowEnabled(window))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Visible dialogs of this thread, frontmost first.
std::vector<HWND> VisibleDialogs() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

ScriptedUser* ScriptedUser::current_ = nullptr;

ScriptedUser::ScriptedUser() {
  current_ = this;
  timer_ = SetTimer(nullptr, 0, 30, OnTimer);
}

ScriptedUser::~ScriptedUser() {
  KillTimer(nullptr, timer_);
  current_ = nullptr;
}

void CALLBACK ScriptedUser::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (current_) current_->Tick();
}

void ScriptedUser::Add(std::function<void(HWND)> act, std::function<bool(HWND)> accepts) {
  steps_.push_back({std::move(accepts), std::move(act)});
}

void ScriptedUser::Tick() {
  if (steps_.empty()) return;
  for (HWND dialog : VisibleDialogs()) {
    if (!steps_.front().accepts(dialog)) continue;
    // Taken off before it acts: acting may run a nested loop in which the next tick comes.
    Step step = std::move(steps_.front());
    steps_.pop_front();
    seenText_ = TextOf(GetDlgItem(dialog, 109));
    seenControls_.clear();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      seenControls_.push_back(GetDlgCtrlID(child));
      seenTexts_[GetDlgCtrlID(child)] = TextOf(child);
    }
    step.act(dialog);
    return;
  }
}

std::string ScriptedUser::SeenTextOf(int id) const {
  const auto found = seenTexts_.find(id);
  return found != seenTexts_.end() ? found->second : std::string();
}

bool ScriptedUser::SawControl(int id) const {
  return std::find(seenControls_.begin(), seenControls_.end(), id) != seenControls_.end();
}

void ScriptedUser::Press(int id) {
  Add([id](HWND dialog) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); },
      [id](HWND dialog) { return IsWindowVisible(GetDlgItem(dialog, id)); });
}

void ScriptedUser::PressWhileShown(int id, int shownId) {
  Add([id](HWND dialog) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); },
      [id, shownId](HWND dialog) {
        const std::vector<HWND> shown = VisibleDialogs();
        return IsWindowVisible(GetDlgItem(dialog, id)) &&
               std::any_of(shown.begin(), shown.end(), [&](HWND other) {
                 return other != dialog && IsWindowVisible(GetDlgItem(other, shownId));
               });
      });
}

void ScriptedUser::Close() {
  Add([](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); });
}

void ScriptedUser::Click() {
  Add([](HWND dialog) { PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); });
}

void ScriptedUser::Key(WPARAM virtualKey) {
  Add([virtualKey](HWND dialog) { PostMessageA(dialog, WM_KEYDOWN, virtualKey, 1); });
}

}  // namespace setup
