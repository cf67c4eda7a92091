#include "e2e/Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

// Bounded, so that a hung program fails a test instead of stopping the whole run.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)
             ? static_cast<LRESULT>(result)
             : -1;
}

std::string WindowText(HWND window) {
  const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
  return text;
}

std::string ClassOf(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

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

// The system box keeps its text in static 0xFFFF; the program's own templates all have a
// button 0.
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

std::string screenshotDirectory;

bool ProgramStillPaints(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  for (HWND top : WindowsOf(process, IsWindowVisible)) {
    std::vector<HWND> tree{top};
    EnumChildWindows(top, probe::CollectWindow, reinterpret_cast<LPARAM>(&tree));
    if (std::ranges::any_of(
            tree, [](HWND w) { return IsWindowVisible(w) && GetUpdateRect(w, nullptr, FALSE); }))
      return true;
  }
  return false;
}

// Wine's shell opens a folder window for each new program group whenever it gets to it, on
// top; a user would close it. True when one lay over `window`.
bool CloseFolderWindowsOver(HWND window) {
  RECT area{};
  GetWindowRect(window, &area);
  bool found = false;
  for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    RECT other{}, overlap{};
    if (ClassOf(above) == "ExplorerWClass" && IsWindowVisible(above) &&
        GetWindowRect(above, &other) && IntersectRect(&overlap, &area, &other)) {
      PostMessageA(above, WM_CLOSE, 0, 0);
      found = true;
    }
  }
  return found;
}

// Links are passed over: Wine's user folders lead into the Unix home, where others write.
void ListTree(const std::string& directory, std::map<std::string, long long>& entries) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == ".." || (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      continue;
    const std::string path = directory + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      entries[path + "\\"] = 0;
      ListTree(path, entries);
    } else {
      entries[path] = (static_cast<long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

bool Eventually(const std::function<bool()>& holds, Timeout timeout) {
  for (const auto deadline = Clock::now() + timeout; !holds(); Sleep(20))
    if (Clock::now() >= deadline) return false;
  return true;
}

std::vector<HWND> WindowsOf(DWORD process, const std::function<bool(HWND)>& keep) {
  std::vector<HWND> all, found;
  EnumWindows(probe::CollectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process && keep(window)) found.push_back(window);
  }
  return found;
}

bool IsDialog(HWND window) {
  return ClassOf(window) == "#32770";
}

SetupProcess::SetupProcess(const std::string& directory, const std::string& arguments) {
  const std::string program = directory + "\\SETUP.EXE";
  std::string commandLine = "SETUP.EXE " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &info_)) {
    const DWORD error = GetLastError();
    ADD_FAILURE() << "cannot start " << program << ", error " << error;
    info_ = {};
  }
}

SetupProcess::~SetupProcess() {
  if (!Started()) return;
  Kill();
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

void SetupProcess::Kill() const {
  if (Running() && TerminateProcess(info_.hProcess, 1)) WaitForSingleObject(info_.hProcess, 5000);
}

bool SetupProcess::Running() const {
  return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> SetupProcess::VisibleDialogs() const {
  if (!Started()) return {};
  return WindowsOf(info_.dwProcessId, [](HWND w) { return IsWindowVisible(w) && IsDialog(w); });
}

HWND SetupProcess::WaitForWindow(const std::function<bool(HWND)>& is, Timeout timeout) const {
  HWND found = nullptr;
  const auto foundOrEnded = [&] {
    const std::vector<HWND> dialogs = VisibleDialogs();
    const auto match = std::ranges::find_if(dialogs, is);
    found = match != dialogs.end() ? *match : nullptr;
    return found || !Running();
  };
  Eventually(foundOrEnded, timeout);
  return found;
}

DWORD SetupProcess::WaitForExit(Timeout timeout) const {
  DWORD code = ~0u;
  if (Started() &&
      WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0)
    GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

std::string SetupProcess::Describe() const {
  if (!Started()) return "not started";
  std::string text = Running() ? "still running; windows:" : "ended; windows:";
  for (HWND window : VisibleDialogs())
    text += " [" + WindowText(window) + (IsWindowEnabled(window) ? "]" : "](disabled)");
  return text;
}

bool IsIntro(HWND window) {
  return (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION &&
         !GetWindow(window, GW_CHILD);
}

bool IsMainDialog(HWND window) {
  return GetDlgItem(window, 9) && GetDlgItem(window, 3);
}

std::string ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? WindowText(control) : "<no control " + std::to_string(id) + ">";
}

void ClickButton(HWND dialog, int id) {
  if (HWND button = GetDlgItem(dialog, id)) PostMessageA(button, BM_CLICK, 0, 0);
}

bool WaitUntilGone(HWND window, Timeout timeout) {
  return Eventually([window] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

HWND WaitForForm(const SetupProcess& setup, int id, Timeout timeout) {
  HWND form =
      setup.WaitForWindow([id](HWND window) { return IsForm(window) && Has(window, id); }, timeout);
  if (!form) ADD_FAILURE() << "no dialog with control " << id << " came; " << setup.Describe();
  return form;
}

std::vector<std::string> AnswerUntilGone(const SetupProcess& setup, HWND form,
                                         const std::vector<Reply>& replies, Timeout timeout,
                                         const Until& killWhen) {
  std::vector<std::string> seen;
  const auto deadline = Clock::now() + timeout;
  while (form ? IsWindow(form) && IsWindowVisible(form) : setup.Running()) {
    if (killWhen && killWhen()) {
      seen.push_back(kKilled);
      setup.Kill();
      break;
    }
    if (Clock::now() >= deadline) {
      ADD_FAILURE() << "still waiting after the boxes " << ::testing::PrintToString(seen) << "; "
                    << setup.Describe();
      break;
    }
    const Box box = BoxNow(setup);
    if (!box.window) {
      Sleep(killWhen ? 1 : 20);
      continue;
    }
    SaveScreenshot(box.window, "box");
    seen.push_back(box.text);
    const auto reply = std::ranges::find(replies, box.text, &Reply::first);
    const int button = reply != replies.end() ? reply->second : box.usualButton;
    ClickButton(box.window, button);
    if (!WaitUntilGone(box.window, Timeout{10000})) {
      ADD_FAILURE() << "the box \"" << box.text << "\" stayed after button " << button;
      break;
    }
  }
  return seen;
}

// Wine puts what a window painted on the screen a little after the painting.
probe::ScreenImage WaitUntilDrawn(HWND window) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  std::optional<probe::ScreenImage> last;
  for (;;) {
    Sleep(100);
    if (Clock::now() < deadline && (CloseFolderWindowsOver(window) || ProgramStillPaints(window)))
      continue;
    probe::ScreenImage now(window);
    if ((now.Read() && last && now == *last) || Clock::now() >= deadline) return now;
    last = std::move(now);
  }
}

void SetScreenshotDirectory(const std::string& directory) {
  CreateDirectoryA(directory.c_str(), nullptr);
  screenshotDirectory = directory;
}

void SaveScreenshot(HWND window, const std::string& name) {
  static std::set<std::pair<HWND, std::string>> saved;
  static int number = 0;
  if (!window || screenshotDirectory.empty() || !saved.insert({window, name}).second) return;
  char prefix[8];
  std::snprintf(prefix, sizeof prefix, "\\%02d-", ++number);
  const std::string path = screenshotDirectory + prefix + name + ".bmp";
  if (WaitUntilDrawn(window).SaveBmp(path)) std::printf("saved %s\n", path.c_str());
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Exported(const std::string& key) {
  // Asked first, so that the tool prints no error for a key that is not there.
  HKEY open = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &open) != ERROR_SUCCESS)
    return "(none)";
  RegCloseKey(open);
  const std::string file = BesideThisProgram("export.reg");
  DeleteFileA(file.c_str());
  if (setup::RunAndWait("reg.exe export HKLM\\" + key + " " + file + " /y") == setup::kNotStarted)
    return "(reg.exe did not start)";
  const std::string wide = ReadFileBytes(file);
  if (wide.empty()) return "(none)";
  std::string text;
  for (std::size_t i = 2; i + 1 < wide.size(); i += 2)
    if (wide[i] != '\r') text += wide[i];
  return text;
}

MachineState Survey(const std::string& drive) {
  MachineState state;
  ListTree(drive.substr(0, 2), state.files);
  for (const char* key : {kVelmar, kCapi, kGroupOrder}) state.keys[key] = Exported(key);
  return state;
}

std::vector<std::string> Differences(const MachineState& before, const MachineState& after) {
  std::vector<std::string> changes;
  for (const auto& [path, size] : before.files)
    if (!after.files.contains(path)) changes.push_back("gone: " + path);
  for (const auto& [path, size] : after.files)
    if (!before.files.contains(path)) changes.push_back("new: " + path);
  for (const auto& [key, text] : before.keys)
    if (after.keys.at(key) != text) changes.push_back("changed: " + key);
  return changes;
}

}  // namespace e2e
