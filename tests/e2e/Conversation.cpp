#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/SetupProcess.h"

namespace e2e {
namespace {

constexpr int kProgressText = 603, kMessageText = 109, kSystemBoxText = 0xFFFF;
constexpr int kOk = 0, kRetry = 114;

bool Has(HWND window, int id) {
  return GetDlgItem(window, id) != nullptr;
}

bool IsForm(HWND window) {
  return IsWindowEnabled(window) && !IsMainDialog(window) && !IsIntro(window) &&
         !Has(window, kProgressText);
}

struct Box {
  HWND window = nullptr;
  std::string text;
  int usualButton = kOk;
};

// The box that waits for the user now. The system box keeps its text in static 0xFFFF; the
// program's own templates all have a button 0.
Box BoxNow(const SetupProcess& setup) {
  for (HWND window : setup.VisibleDialogs()) {
    if (!IsForm(window)) continue;
    if (Has(window, kMessageText))
      return {window, ControlText(window, kMessageText),
              Has(window, kRetry) ? kAbort
              : Has(window, kYes) ? kYes
                                  : kOk};
    if (Has(window, kSystemBoxText) && !Has(window, kOk))
      return {window, ControlText(window, kSystemBoxText), Has(window, IDOK) ? IDOK : IDYES};
  }
  return {};
}

std::string Describe(const SetupProcess& setup) {
  std::string windows;
  for (HWND window : setup.VisibleDialogs()) {
    windows += " [";
    windows += WindowText(window);
    windows += IsWindowEnabled(window) ? "]" : "](disabled)";
  }
  return "the program is " + setup.Describe() + "; windows:" + windows;
}

}  // namespace

HWND WaitForForm(const SetupProcess& setup, int id, Timeout timeout) {
  HWND form =
      setup.WaitForWindow([id](HWND window) { return IsForm(window) && Has(window, id); }, timeout);
  if (!form) ADD_FAILURE() << "no dialog with control " << id << " came; " << Describe(setup);
  return form;
}

std::vector<std::string> AnswerUntilGone(const SetupProcess& setup, HWND form,
                                         const std::vector<Reply>& replies, Timeout timeout) {
  std::vector<std::string> seen;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (form ? IsWindow(form) && IsWindowVisible(form) : setup.Running()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      ADD_FAILURE() << "still waiting after the boxes " << ::testing::PrintToString(seen) << "; "
                    << Describe(setup);
      break;
    }
    const Box box = BoxNow(setup);
    if (!box.window) {
      Sleep(20);
      continue;
    }
    SaveScreenshot(box.window, "box");
    seen.push_back(box.text);
    const auto reply = std::find_if(replies.begin(), replies.end(),
                                    [&](const Reply& r) { return r.text == box.text; });
    const int button = reply != replies.end() ? reply->button : box.usualButton;
    ClickButton(box.window, button);
    if (!WaitUntilGone(box.window, Timeout{10000})) {
      ADD_FAILURE() << "the box \"" << box.text << "\" stayed after button " << button;
      break;
    }
  }
  return seen;
}

}  // namespace e2e
