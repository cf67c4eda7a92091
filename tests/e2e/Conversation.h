#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/SetupProcess.h"

namespace e2e {

// What the program asks of the user, told apart by the controls its templates carry.
enum class PromptKind {
  kMessage,           // OK
  kQuestion,          // Yes, No, Cancel
  kQuestionWithAll,   // Yes, All, No, Cancel
  kAbortRetryIgnore,  // Abort, Retry, Ignore
  kSystemBox,         // the system's message box
  kForm,              // a dialog of the program's own: install, deinstall, about, ...
};

// Button ids of the program's message dialogs and of the system box.
enum Button {
  kOk = 0,
  kCancel = 1,
  kAbort = 1,
  kYes = 111,
  kNo = 112,
  kAll = 113,
  kRetry = 114,
  kIgnore = 115,
  kSystemOk = IDOK,
  kSystemYes = IDYES,
  kSystemNo = IDNO,
};

struct Prompt {
  HWND window = nullptr;
  PromptKind kind = PromptKind::kForm;
  // The message of a box, the caption of a form.
  std::string text;
};

// A box that waits for the user now (visible and enabled), or an empty prompt.
Prompt PromptNow(const SetupProcess& setup);
// Waits for a form that has control `id`; a failure names the windows up instead.
HWND WaitForForm(const SetupProcess& setup, int id, Timeout timeout);

// How a user answers a box whose text is `text`.
struct Reply {
  std::string text;
  int button;
};
// Answers every box the program shows until `form` has gone, or with `form` null until the
// program has ended: by the first reply for its text, else OK to a message and the first
// button of anything else. Returns the texts of the boxes in the order they came.
std::vector<std::string> AnswerUntilGone(const SetupProcess& setup, HWND form,
                                         const std::vector<Reply>& replies, Timeout timeout);

// When set, each window passed to SaveScreenshot is saved there once, numbered in order.
void SetScreenshotDirectory(const std::string& directory);
void SaveScreenshot(HWND window, const std::string& name);

}  // namespace e2e
