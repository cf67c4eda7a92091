#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "script/LanguageTable.h"
#include "script/StringCatalogue.h"
#include "win32/Scratch.h"

namespace e2e {

std::string ReadFileBytes(const std::string& path);
using setup::BesideThisProgram;
using setup::kNotStarted;
using setup::RunAndWait;

// The medium's languages as the program reads them, with what the reading reported.
struct Medium {
  std::string directory;  // a Windows path
  setup::LanguageTable languages;
  std::vector<setup::StringCatalogue> catalogues;  // one per language
  std::vector<std::string> complaints;

  std::string Text(int language, int slot) const {
    return std::string(catalogues.at(static_cast<std::size_t>(language)).Text(slot));
  }
};

const Medium& TheMedium();

enum MainControl { kActionButton = 3, kAboutButton = 7, kExitButton = 8 };

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
  DWORD ProcessId() const { return info_.dwProcessId; }
  std::vector<HWND> VisibleDialogs() const;
  // The first visible dialog that `is` accepts; nullptr when none came in time.
  HWND WaitForWindow(const std::function<bool(HWND)>& is, Timeout timeout) const;
  DWORD WaitForExit(Timeout timeout) const;  // ~0u when it did not end in time
  // Ends the program at once, as a power cut would.
  void Kill() const;
  // For failure messages.
  std::string Describe() const;

 private:
  PROCESS_INFORMATION info_{};
  std::string startError_;
};

bool IsIntro(HWND window);
bool IsMainDialog(HWND window);

// Texts of another process's windows, read with messages that give up when it hangs.
std::string ControlText(HWND dialog, int id);
std::vector<std::string> ListItems(HWND list);
void ClickButton(HWND dialog, int id);
bool WaitUntilGone(HWND window, Timeout timeout);

enum Button { kAbort = 1, kYes = 111, kNo = 112 };

// A dialog of the program's own with control `id` that takes input.
HWND WaitForForm(const SetupProcess& setup, int id, Timeout timeout);

struct Reply {
  std::string text;  // of the box
  int button;
};
using Until = std::function<bool()>;
inline const std::string kKilledAt = "killed at: ";
// Answers every box the program shows (its message dialogs and the system's message box)
// until `form` has gone, or with `form` null until the program has ended: by the first reply
// for its text, else OK, Yes or Abort, whichever it offers. Returns the boxes' texts in order.
// With `killWhen`, it looks at that every millisecond or so and, once it holds, kills the
// program; the last text is then kKilledAt and what its box or progress window said.
std::vector<std::string> AnswerUntilGone(const SetupProcess& setup, HWND form,
                                         const std::vector<Reply>& replies, Timeout timeout,
                                         const Until& killWhen = {});

// Waits until the screen shows what the program that owns `window` has drawn: none of its
// windows waits for WM_PAINT, no folder window of the shell covers `window` (it is closed),
// and `window` looks the same a moment later. Gives up after ten seconds.
void WaitUntilDrawn(HWND window);

// Once a directory is set, each window passed to SaveScreenshot is saved there once under
// each name, as BMP, when it is drawn.
void SetScreenshotDirectory(const std::string& directory);
void SaveScreenshot(HWND window, const std::string& name);

// The keys the package writes, below HKEY_LOCAL_MACHINE.
inline constexpr const char* kVelmar = "SYSTEM\\CurrentControlSet\\Services\\Velmar";
inline constexpr const char* kCapi = "SOFTWARE\\CAPI20";
inline constexpr const char* kGroupOrder = "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";

// A key as the system's reg tool exports it, carriage returns dropped; "(none)" when there is
// no such key.
std::string Exported(const std::string& key);
// An export with the integrity backup's date masked, as the fixtures hold it.
std::string WithoutBackupDate(std::string exported);

// The files and directories of a drive (with their sizes) and the package's keys.
struct MachineState {
  std::map<std::string, long long> files;
  std::map<std::string, std::string> keys;
};
MachineState Survey(const std::string& drive);
// "gone: ", "new: " and "changed: " lines.
std::vector<std::string> Differences(const MachineState& before, const MachineState& after);

}  // namespace e2e
