#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using Timeout = std::chrono::milliseconds;

// One run of SETUP.EXE, started as a user starts it from the medium: the medium as current
// directory, the arguments after the program name. A run still going when the object dies is
// ended, so that no test leaves a program behind.
class SetupProcess {
 public:
  SetupProcess(const std::string& mediumDirectory, const std::string& arguments);
  ~SetupProcess();
  SetupProcess(const SetupProcess&) = delete;
  SetupProcess& operator=(const SetupProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  // Why the start failed; empty after a start.
  const std::string& StartError() const { return startError_; }

  // The visible window of that kind, or nullptr when none appeared in time or the program
  // ended first.
  HWND WaitForIntro(Timeout timeout) const;
  HWND WaitForMainDialog(Timeout timeout) const;
  // Every visible dialog window of the program.
  std::vector<HWND> VisibleDialogs() const;
  bool Running() const;

  // "still running" or how the program ended, for failure messages.
  std::string Describe() const;

  // The exit code once the program has ended within `timeout`.
  std::optional<DWORD> WaitForExit(Timeout timeout) const;

 private:
  enum class Kind { kIntro, kMainDialog };
  HWND FindWindowOf(Kind kind) const;
  HWND WaitForWindow(Kind kind, Timeout timeout) const;

  PROCESS_INFORMATION info_{};
  std::string startError_;
};

// Texts of another process's windows, read with messages that cross process bounds.
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
std::vector<std::string> ListItems(HWND list);
// Presses a button the way a click does; does not wait for what the click starts.
void ClickButton(HWND dialog, int id);

// Whether `window` has gone within `timeout`.
bool WaitUntilGone(HWND window, Timeout timeout);

}  // namespace e2e
