#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using Timeout = std::chrono::milliseconds;

// One run of SETUP.EXE, started as a user starts it from the medium; a run still going when
// the object dies is ended, so that no test leaves a program behind.
class SetupProcess {
 public:
  SetupProcess(const std::string& directory, const std::string& arguments);
  ~SetupProcess();
  SetupProcess(const SetupProcess&) = delete;
  SetupProcess& operator=(const SetupProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  bool Running() const;
  std::vector<HWND> VisibleDialogs() const;
  // The first visible dialog that `is` accepts; nullptr when none came in time or the program
  // ended first.
  HWND WaitForWindow(const std::function<bool(HWND)>& is, Timeout timeout) const;
  std::optional<DWORD> WaitForExit(Timeout timeout) const;
  // How the program ended, or "still running", for failure messages.
  std::string Describe() const;

 private:
  PROCESS_INFORMATION info_{};
  std::string startError_;
};

bool IsIntro(HWND window);
bool IsMainDialog(HWND window);

// Texts of another process's windows, read with messages that give up when it hangs.
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
std::vector<std::string> ListItems(HWND list);
// Posts a click; does not wait for what it starts.
void ClickButton(HWND dialog, int id);
bool WaitUntilGone(HWND window, Timeout timeout);

// Button ids of the program's message dialogs.
enum Button { kAbort = 1, kYes = 111, kNo = 112 };

// A dialog of the program's own that has control `id` and takes input; a failure names the
// windows up instead.
HWND WaitForForm(const SetupProcess& setup, int id, Timeout timeout);

struct Reply {
  std::string text;  // of the box
  int button;
};
// Answers every box the program shows (its message dialogs and the system's message box)
// until `form` has gone, or with `form` null until the program has ended: by the first reply
// for its text, else OK, Yes or Abort, whichever it offers. Returns the boxes' texts in order.
std::vector<std::string> AnswerUntilGone(const SetupProcess& setup, HWND form,
                                         const std::vector<Reply>& replies, Timeout timeout);

// Once a directory is set, each window passed to SaveScreenshot is saved there once as a BMP,
// numbered in order.
void SetScreenshotDirectory(const std::string& directory);
void SaveScreenshot(HWND window, const std::string& name);

}  // namespace e2e
