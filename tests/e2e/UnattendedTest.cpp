// The administrator's way: install with a configuration other than the defaults, configure
// it back and deinstall, each run with /s from an answer file. No run may show a window; each
// ends with its exit code, leaves the registry as the same choices made in the dialogs leave
// it (the install walk's fixtures), and logs every change it made.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/Harness.h"

namespace e2e {
namespace {

constexpr Timeout kRunTimeout{90000};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

struct WindowSearch {
  DWORD process;
  std::vector<std::string> seen;
};

// A dialog of the process, shown or not, or any window it shows.
BOOL CALLBACK NoteWindow(HWND window, LPARAM search) {
  auto& s = *reinterpret_cast<WindowSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner == s.process && (IsWindowVisible(window) || std::string(name) == "#32770"))
    s.seen.push_back(name);
  return TRUE;
}

class Unattended : public ::testing::Test {
 protected:
  // Runs SETUP.EXE with /s and `switches` from `directory`, watching for windows until it
  // ends; its exit code.
  DWORD RunSilently(const std::string& directory, const std::string& switches,
                    const std::string& answers) {
    const std::string answerFile = BesideThisProgram("answers.ini");
    std::ofstream(answerFile, std::ios::binary) << answers;
    SetupProcess setup(directory, "/s " + switches + " /a" + answerFile);
    WindowSearch search{setup.ProcessId(), {}};
    while (setup.Running()) {
      EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&search));
      Sleep(20);
    }
    EXPECT_EQ(search.seen, std::vector<std::string>{}) << switches;
    return setup.WaitForExit(kRunTimeout);
  }

  // What the run changed, each path or key named in its lines of the log.
  void ExpectLogged(const MachineState& before, const std::string& from) {
    const std::string log = Lower(ReadFileBytes(log_));
    const std::string lines = log.substr(std::min(log.size(), Lower(from).size()));
    for (std::string change : Differences(before, Survey(windows_))) {
      change = Lower(change.substr(change.find(' ') + 1));
      if (change.back() == '\\') change.pop_back();
      if (change == Lower(installDir_) || change == Lower(log_)) continue;
      // The shell makes the group's folder when the program asks for the group.
      if (change.starts_with(Lower(programs_))) change = change.substr(programs_.size() + 1);
      EXPECT_NE(lines.find(change), std::string::npos) << change << "\n" << lines;
    }
    EXPECT_NE(lines.find("outcome: "), std::string::npos) << lines;
  }

  // The shell opens a folder window for a new program group when it gets to it, and on top:
  // it is closed, as a user would, before it can take a later test's keys.
  static void CloseGroupFolderWindow() {
    for (int tries = 0; tries < 50; ++tries, Sleep(100)) {
      HWND folder = FindWindowA("ExplorerWClass", nullptr);
      if (!folder || !IsWindowVisible(folder)) continue;
      PostMessageA(folder, WM_CLOSE, 0, 0);
      return;
    }
  }

  std::string Registry() { return WithoutBackupDate(Exported(kCapi) + Exported(kVelmar)); }
  static std::string Fixture(const char* name) {
    return ReadFileBytes(BesideThisProgram(std::string("fixtures\\") + name));
  }

  static std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
  }

  const std::string windows_ = Folder(CSIDL_WINDOWS);
  const std::string programs_ = Folder(CSIDL_PROGRAMS);
  const std::string installDir_ = windows_.substr(0, 3) + "Velmar";
  const std::string log_ = installDir_ + "\\SETUP.LOG";
  // A machine without a CAPI 2.0 DLL, as in the install walk: Wine's placeholder is newer
  // than the package's, and the policy would keep it.
  const std::string systemDll_ = windows_ + "\\system32\\CAPI2032.DLL";
  const std::string asideDll_ = windows_ + "\\system32\\CAPI2032.E2E";
  const bool movedAside_ = MoveFileExA(systemDll_.c_str(), asideDll_.c_str(), 0) != 0;

  // What the runs leave goes, so that the next test finds the machine as it was.
  ~Unattended() override {
    DeleteFileA((installDir_ + "\\SETUP.EXE").c_str());
    DeleteFileA(log_.c_str());
    RemoveDirectoryA(installDir_.c_str());
    if (movedAside_) MoveFileExA(asideDll_.c_str(), systemDll_.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
};

TEST_F(Unattended, InstallsConfiguresAndDeinstallsWithoutAWindow) {
  MachineState machine = Survey(windows_);
  // The install walk's choices: another protocol, start on demand, a second adapter, remote
  // maintenance on, another called number and a calling party's subaddress.
  EXPECT_EQ(RunSilently(TheMedium().directory, "/lEnglish",
                        "[Driver]\r\nProtocol=NI-1 (North American National ISDN-1)\r\nStart=3\r\n"
                        "Adapters=2\r\n[Maintenance]\r\nSwitch=1\r\nCalledNumber=12345\r\n"
                        "Calling1=5550199,77\r\nCalling2=5550142,7\r\n"),
            1u);
  EXPECT_EQ(Registry(), Fixture("velmar-configured.reg"));
  ExpectLogged(machine, "");
  CloseGroupFolderWindow();

  // Back to what Reset and OK give in the dialogs.
  const MachineState installed = Survey(windows_);
  const std::string logSoFar = ReadFileBytes(log_);
  EXPECT_EQ(RunSilently(installDir_, "/c",
                        "[Setup]\r\nLanguage=Deutsch\r\n[Driver]\r\nProtocol=DSS1 (Euro-ISDN)\r\n"
                        "Start=1\r\nAdapters=1\r\n[Maintenance]\r\nSwitch=0\r\n"
                        "CalledNumber=5550100\r\nCalledSubaddress=1\r\nCalling1=5550199,\r\n"
                        "Calling2=5550142,7\r\n"),
            1u);
  EXPECT_EQ(Registry(), Fixture("velmar-installed.reg"));
  ExpectLogged(installed, logSoFar);
  EXPECT_EQ(ReadFileBytes(log_).substr(0, logSoFar.size()), logSoFar);

  const std::string logBeforeRemoval = ReadFileBytes(log_);
  EXPECT_EQ(RunSilently(installDir_, "/d", ""), 0u);
  ExpectLogged(installed, logBeforeRemoval);
  // The log stays, and so does its directory. Windows may keep the running program, here
  // or in an earlier run.
  MachineState after = Survey(windows_);
  for (MachineState* state : {&machine, &after})
    for (const std::string& kept : {installDir_ + "\\SETUP.EXE", installDir_ + "\\"})
      state->files.erase(kept);
  EXPECT_EQ(Differences(machine, after), std::vector<std::string>{"new: " + log_});
}

}  // namespace
}  // namespace e2e
