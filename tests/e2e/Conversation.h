#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/SetupProcess.h"

namespace e2e {

// Button ids of the program's message dialogs.
enum Button { kAbort = 1, kYes = 111, kNo = 112 };

// Waits for a dialog of the program's own that has control `id` and takes input; a failure
// names the windows up instead.
HWND WaitForForm(const SetupProcess& setup, int id, Timeout timeout);

// How a user answers a box whose text is `text`.
struct Reply {
  std::string text;
  int button;
};
// Answers every box the program shows (its message dialogs and the system's message box)
// until `form` has gone, or with `form` null until the program has ended: by the first reply
// for its text, else OK, Yes or Abort, whichever it offers. Returns the texts of the boxes in
// the order they came.
std::vector<std::string> AnswerUntilGone(const SetupProcess& setup, HWND form,
                                         const std::vector<Reply>& replies, Timeout timeout);

// When set, each window passed to SaveScreenshot is saved there once, numbered in order.
void SetScreenshotDirectory(const std::string& directory);
void SaveScreenshot(HWND window, const std::string& name);

}  // namespace e2e
