#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "script/LanguageTable.h"
#include "script/StringCatalogue.h"
#include "win32/Scratch.h"
#include "win32/WindowProbe.h"

namespace e2e {

std::string ReadFileBytes(const std::string& path);
using setup::BesideThisProgram;

// The medium's languages and the first one's texts, as the program reads them.
struct Medium {
  std::string directory;  // a Windows path
  setup::LanguageTable languages;
  setup::StringCatalogue first;
};

const Medium& TheMedium();

enum MainControl { kActionButton = 3, kExitButton = 8 };
enum Button { kAbort = 1, kYes = 111, kNo = 112 };

using Timeout = std::chrono::milliseconds;

bool Eventually(const std::function<bool()>& holds, Timeout timeout = Timeout{5000});

std::vector<HWND> WindowsOf(DWORD process, const std::function<bool(HWND)>& keep);
bool IsDialog(HWND window);

// A run still going when the object dies is ended, so that no test leaves a program behind.
class SetupProcess {
 public:
  SetupProcess(const std::string& directory, const std::string& arguments);
  ~SetupProcess();
  SetupProcess(const SetupProcess&) = delete;
  SetupProcess& operator=(const SetupProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  bool Running() const;
  DWORD ProcessId() const { return info_.dwProcessId; }
  std::vector<HWND> VisibleDialogs() const;
  HWND WaitForWindow(const std::function<bool(HWND)>& is, Timeout timeout) const;
  DWORD WaitForExit(Timeout timeout) const;  // ~0u when it did not end in time
  void Kill() const;                         // at once, as a power cut would
  std::string Describe() const;

 private:
  PROCESS_INFORMATION info_{};
};

bool IsIntro(HWND window);
bool IsMainDialog(HWND window);

// Another process's windows are read with messages that give up when it hangs.
std::string ControlText(HWND dialog, int id);
void ClickButton(HWND dialog, int id);
bool WaitUntilGone(HWND window, Timeout timeout);

// A dialog of the program's own with control `id` that takes input.
HWND WaitForForm(const SetupProcess& setup, int id, Timeout timeout);

using Reply = std::pair<std::string, int>;  // a box's text and the button that answers it
using Until = std::function<bool()>;
inline const std::string kKilled = "(killed)";
// Answers every box the program shows until `form` has gone (with `form` null: until the
// program has ended), by the first reply for its text, else OK, Yes or Abort, whichever it
// offers; the boxes' texts in order. Once `killWhen` holds, looked at every millisecond or so,
// it kills the program; the last text is then kKilled.
std::vector<std::string> AnswerUntilGone(const SetupProcess& setup, HWND form,
                                         const std::vector<Reply>& replies, Timeout timeout,
                                         const Until& killWhen = {});

// Waits (ten seconds at most) until no window of the program that owns `window` has a part to
// paint, no folder window of the shell covers `window` (it is closed), and `window` looks the
// same a moment later; what the screen then shows of it.
probe::ScreenImage WaitUntilDrawn(HWND window);

// Once a directory is set, each window is saved there once under each name, when drawn.
void SetScreenshotDirectory(const std::string& directory);
void SaveScreenshot(HWND window, const std::string& name);

// The keys the package writes, below HKEY_LOCAL_MACHINE.
inline constexpr const char* kVelmar = "SYSTEM\\CurrentControlSet\\Services\\Velmar";
inline constexpr const char* kCapi = "SOFTWARE\\CAPI20";
inline constexpr const char* kGroupOrder = "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";

// As the system's reg tool exports it, carriage returns dropped; "(none)" for no key.
std::string Exported(const std::string& key);

struct MachineState {
  std::map<std::string, long long> files;
  std::map<std::string, std::string> keys;
};
MachineState Survey(const std::string& drive);
std::vector<std::string> Differences(const MachineState& before, const MachineState& after);

}  // namespace e2e
