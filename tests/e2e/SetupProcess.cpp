#include "e2e/SetupProcess.h"

namespace e2e {
namespace {

constexpr Timeout kPollInterval{20};
// Bounds every cross-process message, so that a hung program fails a test instead of
// stopping the whole run.
constexpr UINT kMessageTimeoutMs = 5000;

bool IsDialogClass(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  return std::string(name) == "#32770";
}

// A message to the program under test that gives up, with -1, when it hangs. The ANSI or the
// wide form is chosen by the sender passed in.
template <class Sender>
LRESULT SendBounded(Sender sender, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!sender(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
    return -1;
  return static_cast<LRESULT>(result);
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendBounded(SendMessageTimeoutA, window, message, wParam, lParam);
}

LRESULT SendWide(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendBounded(SendMessageTimeoutW, window, message, wParam, lParam);
}

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window) && IsDialogClass(window)) {
    search->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

SetupProcess::SetupProcess(const std::string& mediumDirectory, const std::string& arguments) {
  const std::string program = mediumDirectory + "\\SETUP.EXE";
  std::string commandLine = "SETUP.EXE";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      mediumDirectory.c_str(), &startup, &info_)) {
    startError_ = "cannot start " + program + ", error " + std::to_string(GetLastError());
    info_ = {};
  }
}

SetupProcess::~SetupProcess() {
  if (!Started()) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

std::vector<HWND> SetupProcess::VisibleDialogs() const {
  WindowSearch search{info_.dwProcessId, {}};
  if (Started()) EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool SetupProcess::Running() const {
  return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND SetupProcess::FindWindowOf(Kind kind) const {
  for (HWND window : VisibleDialogs()) {
    const bool hasCaption = (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    const bool isMain = GetDlgItem(window, 9) != nullptr && GetDlgItem(window, 3) != nullptr;
    const bool hasChildren = GetWindow(window, GW_CHILD) != nullptr;
    switch (kind) {
      case Kind::kIntro:
        if (!hasCaption && !hasChildren) return window;
        break;
      case Kind::kMainDialog:
        if (isMain) return window;
        break;
    }
  }
  return nullptr;
}

HWND SetupProcess::WaitForWindow(Kind kind, Timeout timeout) const {
  if (!Started()) return nullptr;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (HWND window = FindWindowOf(kind)) return window;
    if (!Running() || std::chrono::steady_clock::now() >= deadline) return nullptr;
    Sleep(static_cast<DWORD>(kPollInterval.count()));
  }
}

HWND SetupProcess::WaitForIntro(Timeout timeout) const {
  return WaitForWindow(Kind::kIntro, timeout);
}

HWND SetupProcess::WaitForMainDialog(Timeout timeout) const {
  return WaitForWindow(Kind::kMainDialog, timeout);
}

std::optional<DWORD> SetupProcess::WaitForExit(Timeout timeout) const {
  if (!Started()) return std::nullopt;
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
  return code;
}

std::string SetupProcess::Describe() const {
  if (!Started()) return "not started: " + startError_;
  DWORD code = 0;
  if (!GetExitCodeProcess(info_.hProcess, &code) || code == STILL_ACTIVE) return "still running";
  return "ended with exit code " + std::to_string(code);
}

std::string WindowText(HWND window) {
  const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

std::string ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? WindowText(control) : std::string("<no control " + std::to_string(id) + ">");
}

// The ANSI list messages hand back UTF-16 across processes under Wine, so the items are read
// as wide text and converted like the program's own ANSI texts.
std::vector<std::string> ListItems(HWND control) {
  std::vector<std::string> items;
  const LRESULT count = SendWide(control, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendWide(control, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) break;
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    SendWide(control, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(static_cast<std::size_t>(length));
    std::string text(wide.size() * 2 + 1, '\0');
    const int written =
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    items.push_back(text);
  }
  return items;
}

void ClickButton(HWND dialog, int id) {
  if (HWND button = GetDlgItem(dialog, id)) PostMessageA(button, BM_CLICK, 0, 0);
}

bool WaitUntilGone(HWND window, Timeout timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(static_cast<DWORD>(kPollInterval.count()));
  }
  return true;
}

}  // namespace e2e
