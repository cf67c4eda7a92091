#include "e2e/SetupProcess.h"

#include <algorithm>

namespace e2e {
namespace {

constexpr DWORD kPollMs = 20;

// Bounded, so that a hung program fails a test instead of stopping the whole run.
template <class Sender>
LRESULT Send(Sender sender, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return sender(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)
             ? static_cast<LRESULT>(result)
             : -1;
}

using Search = std::pair<DWORD, std::vector<HWND>>;

BOOL CALLBACK CollectDialogOfProcess(HWND window, LPARAM context) {
  auto& [process, found] = *reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner == process && IsWindowVisible(window) && std::string(name) == "#32770")
    found.push_back(window);
  return TRUE;
}

}  // namespace

SetupProcess::SetupProcess(const std::string& directory, const std::string& arguments) {
  const std::string program = directory + "\\SETUP.EXE";
  std::string commandLine = "SETUP.EXE ";
  commandLine += arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &info_)) {
    startError_ = "cannot start " + program + ", error " + std::to_string(GetLastError());
    info_ = {};
  }
}

SetupProcess::~SetupProcess() {
  if (!Started()) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool SetupProcess::Running() const {
  return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> SetupProcess::VisibleDialogs() const {
  Search search{info_.dwProcessId, {}};
  if (Started()) EnumWindows(CollectDialogOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

HWND SetupProcess::WaitForWindow(const std::function<bool(HWND)>& is, Timeout timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;; Sleep(kPollMs)) {
    for (HWND window : VisibleDialogs())
      if (is(window)) return window;
    if (!Running() || std::chrono::steady_clock::now() >= deadline) return nullptr;
  }
}

std::optional<DWORD> SetupProcess::WaitForExit(Timeout timeout) const {
  DWORD code = 0;
  if (!Started() ||
      WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(info_.hProcess, &code))
    return std::nullopt;
  return code;
}

std::string SetupProcess::Describe() const {
  if (!Started()) return "not started: " + startError_;
  DWORD code = 0;
  if (!GetExitCodeProcess(info_.hProcess, &code) || code == STILL_ACTIVE) return "still running";
  return "ended with exit code " + std::to_string(code);
}

bool IsIntro(HWND window) {
  return (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION &&
         !GetWindow(window, GW_CHILD);
}

bool IsMainDialog(HWND window) {
  return GetDlgItem(window, 9) && GetDlgItem(window, 3);
}

std::string WindowText(HWND window) {
  const LRESULT length = Send(SendMessageTimeoutA, window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = Send(SendMessageTimeoutA, window, WM_GETTEXT, text.size(),
                              reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
  return text;
}

std::string ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? WindowText(control) : "<no control " + std::to_string(id) + ">";
}

// The ANSI list messages hand back UTF-16 across processes under Wine, so the items are read
// as wide text and converted like the program's own ANSI texts.
std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  const LRESULT count = Send(SendMessageTimeoutW, list, LB_GETCOUNT, 0, 0);
  for (WPARAM i = 0; static_cast<LRESULT>(i) < count; ++i) {
    const LRESULT length = Send(SendMessageTimeoutW, list, LB_GETTEXTLEN, i, 0);
    if (length < 0) break;
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    Send(SendMessageTimeoutW, list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
    std::string& text = items.emplace_back(wide.size() * 2, '\0');
    const int written =
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(length), text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<std::size_t>(std::max(written, 0)));
  }
  return items;
}

void ClickButton(HWND dialog, int id) {
  if (HWND button = GetDlgItem(dialog, id)) PostMessageA(button, BM_CLICK, 0, 0);
}

bool WaitUntilGone(HWND window, Timeout timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (; IsWindow(window) && IsWindowVisible(window); Sleep(kPollMs))
    if (std::chrono::steady_clock::now() >= deadline) return false;
  return true;
}

}  // namespace e2e
