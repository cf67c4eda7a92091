#include "e2e/Conversation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "e2e/WindowCapture.h"

namespace e2e {
namespace {

constexpr int kProgressText = 603, kMessageText = 109, kSystemBoxText = 0xFFFF;
constexpr int kOk = 0, kRetry = 114;
constexpr Timeout kPollInterval{20};

bool Has(HWND window, int id) {
  return GetDlgItem(window, id) != nullptr;
}

bool IsMainOrIntroOrProgress(HWND window) {
  const bool isMain = Has(window, 9) && Has(window, 3);
  const bool isIntro = GetWindow(window, GW_CHILD) == nullptr;
  return isMain || isIntro || Has(window, kProgressText);
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
    if (!IsWindowEnabled(window) || IsMainOrIntroOrProgress(window)) continue;
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
  for (HWND window : setup.VisibleDialogs())
    windows += " [" + WindowText(window) + (IsWindowEnabled(window) ? "]" : "](disabled)");
  return "the program is " + setup.Describe() + "; windows:" + windows;
}

std::string screenshotDirectory;

}  // namespace

HWND WaitForForm(const SetupProcess& setup, int id, Timeout timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (setup.Running() && std::chrono::steady_clock::now() < deadline) {
    for (HWND window : setup.VisibleDialogs())
      if (IsWindowEnabled(window) && Has(window, id) && !IsMainOrIntroOrProgress(window))
        return window;
    Sleep(static_cast<DWORD>(kPollInterval.count()));
  }
  ADD_FAILURE() << "no dialog with control " << id << " came; " << Describe(setup);
  return nullptr;
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
      Sleep(static_cast<DWORD>(kPollInterval.count()));
      continue;
    }
    SaveScreenshot(box.window, "box");
    seen.push_back(box.text);
    int button = box.usualButton;
    for (const Reply& reply : replies)
      if (reply.text == box.text) {
        button = reply.button;
        break;
      }
    ClickButton(box.window, button);
    if (!WaitUntilGone(box.window, Timeout{10000})) {
      ADD_FAILURE() << "the box \"" << box.text << "\" stayed after button " << button;
      break;
    }
  }
  return seen;
}

void SetScreenshotDirectory(const std::string& directory) {
  screenshotDirectory = directory;
}

void SaveScreenshot(HWND window, const std::string& name) {
  static std::set<HWND> saved;
  static int number = 0;
  if (!window || screenshotDirectory.empty() || !saved.insert(window).second) return;
  // Time for the window to finish painting after it became visible.
  Sleep(600);
  char prefix[8];
  std::snprintf(prefix, sizeof prefix, "%02d-", ++number);
  const std::string path = screenshotDirectory + "\\" + prefix + name + ".bmp";
  if (SaveWindowImage(window, path)) std::printf("saved %s\n", path.c_str());
}

}  // namespace e2e
