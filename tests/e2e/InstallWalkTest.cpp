// A complete life of the package on one machine, driven through the real dialogs: install
// from the medium, reconfigure and install again keeping the configuration as Windows NT 3.51,
// install replacing it, a deinstall that is stopped halfway, and the deinstall that finishes
// the job. Prints what the install made, so that the walk doubles as a demonstration. Then the
// same without a window, and installs and deinstalls killed anywhere.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "e2e/Harness.h"
#include "script/SafeFormat.h"

namespace e2e {
namespace {

namespace text = setup::text;
using Names = std::vector<std::string>;

constexpr Timeout kStartTimeout{30000}, kStepTimeout{15000}, kRunTimeout{90000};
constexpr int kDestinationField = 21, kInstall = 0, kDeinstallWarning = 28, kDeinstall = 0, kOk = 0,
              kReset = 174, kAdvancedButton = 43, kMaintenanceButton = 44, kProtocol = 40,
              kStart = 47, kChange = 64, kAddAdapter = 91, kAdapterList = 93,
              kMaintenanceSwitch = 67, kDosVectorList = 48, kCalledNumber = 76, kCalling = 80,
              kEditCalling = 82, kSubaddress = 88, kApplyLive = 99;

bool HasValue(const std::string& key, const char* value) {
  return RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), value, RRF_RT_ANY, nullptr, nullptr,
                      nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> GroupOrder() {
  char list[4096] = {};
  DWORD size = sizeof list - 2;
  RegGetValueA(HKEY_LOCAL_MACHINE, kGroupOrder, "List", RRF_RT_REG_MULTI_SZ, nullptr, list, &size);
  std::vector<std::string> groups;
  for (const char* group = list; *group; group += groups.back().size() + 1) groups.push_back(group);
  return groups;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Folder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
  return path;
}

// The frame shows before its pages are made.
HWND PageWith(HWND frame, int id) {
  HWND page = nullptr;
  const auto found = [&] {
    for (page = GetWindow(frame, GW_CHILD); page && !GetDlgItem(page, id);)
      page = GetWindow(page, GW_HWNDNEXT);
    return page != nullptr;
  };
  EXPECT_TRUE(Eventually(found, Timeout{10000})) << "no page has control " << id;
  return page;
}

void Choose(HWND page, int id, int index, bool listBox = false) {
  HWND list = GetDlgItem(page, id);
  SendMessageA(list, listBox ? LB_SETCURSEL : CB_SETCURSEL, index, 0);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, listBox ? LBN_SELCHANGE : CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

void Close(HWND window, int button) {
  ClickButton(window, button);
  EXPECT_TRUE(WaitUntilGone(window, kStepTimeout));
}

class InstallWalk : public ::testing::Test {
 protected:
  HWND MainDialogOf(const SetupProcess& setup) {
    Screenshot(setup.WaitForWindow(IsIntro, kStartTimeout), "intro");
    HWND main = setup.WaitForWindow(IsMainDialog, kStepTimeout);
    EXPECT_NE(main, nullptr) << setup.Describe();
    Screenshot(main, "main-dialog");
    // Only under Windows NT 3.51 does the program draw the look itself.
    EXPECT_TRUE(
        Eventually([&] { return probe::SubclassedWindows(main).empty() != nt351_.has_value(); }));
    return main;
  }

  void Screenshot(HWND window, const std::string& name) {
    SaveScreenshot(window, nt351_ ? name + "-nt351" : name);
  }

  std::string Text(int slot) const { return std::string(TheMedium().first.Text(slot)); }

  using Configure = std::function<void(const SetupProcess&, HWND frame)>;

  // The boxes shown, those at exit marked. `configure` ends the configuration dialog that an
  // install writing a fresh configuration opens.
  std::vector<std::string> InstallFromMedium(const std::vector<Reply>& replies,
                                             const Configure& configure = {},
                                             const Until& killWhen = {}) {
    SetupProcess setup(TheMedium().directory, "/l" + language_);
    HWND main = MainDialogOf(setup);
    if (!main) return {};
    ClickButton(main, kActionButton);
    HWND install = WaitForForm(setup, kDestinationField, kStepTimeout);
    if (!install) return {};
    Screenshot(install, "install");
    ClickButton(install, kInstall);
    std::vector<std::string> seen = AnswerUntilGone(setup, install, replies, kRunTimeout, killWhen);
    if (std::ranges::count(seen, kKilled)) return seen;
    if (configure) ConfigureIn(setup, configure);
    EXPECT_EQ(ControlText(main, kActionButton), Text(text::DLG_MAIN_CONFIG));
    ClickButton(main, kExitButton);
    for (const std::string& text : AnswerUntilGone(setup, nullptr, {}, kStepTimeout))
      seen.push_back("at exit: " + text);
    return seen;
  }

  void ConfigureIn(const SetupProcess& setup, const Configure& configure) {
    HWND frame = WaitForForm(setup, kReset, kStepTimeout);
    if (!frame) return;
    HWND main = GetWindow(frame, GW_OWNER);
    PageWith(frame, kCalling);  // the last page made
    Screenshot(frame, "config-adapter");
    configure(setup, frame);
    EXPECT_TRUE(WaitUntilGone(frame, kStepTimeout));
    // The activation goes back to the main dialog, not to whatever window lies next.
    EXPECT_TRUE(Eventually([main] { return GetForegroundWindow() == main; }));
  }

  // Another protocol, start on demand, a second adapter, remote maintenance switched on, a
  // called number typed with a comma the field refuses, and a calling party's subaddress.
  static void ChangeEveryPage(const SetupProcess& setup, HWND frame) {
    HWND adapter = PageWith(frame, kProtocol), advanced = PageWith(frame, kDosVectorList);
    HWND maintenance = PageWith(frame, kCalling);
    Choose(adapter, kProtocol, 2);
    Choose(adapter, kStart, 3);
    ClickButton(adapter, kChange);
    if (HWND adapters = WaitForForm(setup, kAdapterList, kStepTimeout)) {
      ClickButton(adapters, kAddAdapter);
      Close(adapters, kOk);
    }
    ClickButton(frame, kAdvancedButton);
    SaveScreenshot(frame, "config-advanced");
    ClickButton(advanced, kMaintenanceSwitch);
    ClickButton(frame, kMaintenanceButton);
    SaveScreenshot(frame, "config-maintenance");
    HWND called = GetDlgItem(maintenance, kCalledNumber);
    SendMessageA(called, EM_SETSEL, 0, -1);
    for (char c : std::string("123,45")) PostMessageA(called, WM_CHAR, c, 1);
    EXPECT_TRUE(Eventually([&] { return ControlText(maintenance, kCalledNumber) == "12345"; }));
    Choose(maintenance, kCalling, 0, true);
    ClickButton(maintenance, kEditCalling);
    if (HWND party = WaitForForm(setup, kSubaddress, kStepTimeout)) {
      SendMessageA(GetDlgItem(party, kSubaddress), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("77"));
      Close(party, kOk);
    }
    ClickButton(frame, kOk);
  }

  // A run that does not end by itself is ended with Exit.
  std::vector<std::string> DeinstallFromInstalledCopy(const std::vector<Reply>& replies,
                                                      bool endsByItself,
                                                      const Until& killWhen = {}) {
    SetupProcess setup(installDir_, "/d /l" + language_);
    HWND main = MainDialogOf(setup);
    if (!main) return {};
    ClickButton(main, kActionButton);
    HWND dialog = WaitForForm(setup, kDeinstallWarning, kStepTimeout);
    if (!dialog) return {};
    SaveScreenshot(dialog, "deinstall");
    ClickButton(dialog, kDeinstall);
    std::vector<std::string> seen = AnswerUntilGone(setup, dialog, replies, kRunTimeout, killWhen);
    if (std::ranges::count(seen, kKilled)) return seen;
    if (!endsByItself) ClickButton(main, kExitButton);
    EXPECT_EQ(setup.WaitForExit(kStepTimeout), endsByItself ? 0u : 3u) << setup.Describe();
    return seen;
  }

  // The integrity check shows the hand change and keeps it; maintenance is switched off.
  void ReopenConfiguration() {
    SetupProcess setup(installDir_, "/c /l" + language_);
    HWND main = MainDialogOf(setup);
    if (!main) return;
    ClickButton(main, kActionButton);
    if (HWND check = WaitForForm(setup, kApplyLive, kStepTimeout)) {
      Screenshot(check, "integrity-check");
      Close(check, kApplyLive);
    }
    if (HWND question = WaitForForm(setup, kYes, kStepTimeout)) {
      EXPECT_EQ(AnswerUntilGone(setup, question, {}, kStepTimeout),
                Names{Text(text::QUEST_CCI_APPLYNEW)});
    }
    ConfigureIn(setup, [](const SetupProcess&, HWND frame) {
      HWND advanced = PageWith(frame, kDosVectorList);
      ClickButton(advanced, kMaintenanceSwitch);
      EXPECT_TRUE(
          Eventually([frame] { return !IsWindowVisible(GetDlgItem(frame, kMaintenanceButton)); }));
      // Enter in a page's list is the frame's OK, as in any dialog.
      PostMessageA(GetDlgItem(advanced, kDosVectorList), WM_KEYDOWN, VK_RETURN, 0);
    });
    ClickButton(main, kExitButton);
    EXPECT_EQ(AnswerUntilGone(setup, nullptr, {}, kStepTimeout),
              Names{Text(text::QUEST_RESTARTSYSTEM)});
    EXPECT_NE(Exported(kVelmar).find("\"Controller\"=dword:0000ffff"), std::string::npos);
  }

  // Reset asks, then OK writes the defaults with one adapter.
  static void ResetAndOk(const SetupProcess& setup, HWND frame) {
    ClickButton(frame, kReset);
    if (HWND box = WaitForForm(setup, IDYES, kStepTimeout)) Close(box, IDYES);
    ClickButton(frame, kOk);
  }

  std::vector<std::pair<std::string, std::string>> PackageFiles() const {
    const std::string medium = TheMedium().directory + "\\", trace = "\\tools\\trace\\";
    const std::string payload = BesideThisProgram("payload\\");
    std::vector<std::pair<std::string, std::string>> files = {
        {systemDll_, payload + "CAPI2032.DLL"},
        {installDir_ + "\\CAPI2032.DLL", payload + "CAPI2032.DLL"},
        {windows_ + "\\system\\isdntsr.exe", payload + "isdntsr.exe"},
        {installDir_ + "\\dos\\isdntsr.exe", payload + "isdntsr.exe"},
        {installDir_ + trace + "vmtrace.exe", payload + "vmtrace.exe"},
        {installDir_ + trace + "vmtrace.txt", payload + "vmtrace.txt"},
        {installDir_ + trace + "VMTRACE.INI", medium + "doc\\trace\\VMTRACE.INI"},
    };
    for (std::string name : {"vmdss1.sys", "vm1tr6.sys", "vmni1.sys"})
      files.emplace_back(windows_ + "\\system32\\drivers\\" + name, payload + name);
    for (std::string name : {"SETUP.EXE", "SETUP.KVX", "SETUPENG.TXT", "SETUPGER.TXT",
                             "doc\\README.TXT", "doc\\LIESMICH.TXT"})
      files.emplace_back(installDir_ + "\\" + name.substr(name.find('\\') + 1), medium + name);
    return files;
  }

  // With the integrity backup's date masked, as the fixtures hold it.
  static std::string Registry() {
    std::string exported = Exported(kCapi) + Exported(kVelmar);
    const std::string date = "\"BackupDate\"=\"";
    if (const auto at = exported.find(date); at != std::string::npos)
      exported.replace(at + date.size(), 8, "YYYYMMDD");
    return exported;
  }

  void ExpectInstalled(const char* registryFixture) {
    for (const auto& [installed, original] : PackageFiles()) {
      const std::string bytes = ReadFileBytes(original);
      EXPECT_FALSE(bytes.empty()) << original;
      EXPECT_TRUE(ReadFileBytes(installed) == bytes) << installed;
    }
    EXPECT_EQ(Registry(), ReadFileBytes(BesideThisProgram("fixtures\\") + registryFixture));
    EXPECT_EQ(ReadFileBytes(autoexec_), autoexecBefore_ +
                                            "\r\nREM --- KVX Setup for WindowsNT BEGIN ---\r\n"
                                            "lh %SystemRoot%\\system\\isdntsr.exe\r\n"
                                            "REM --- KVX Setup for WindowsNT END ---\r\n");
    const Names order = GroupOrder();
    EXPECT_LT(std::ranges::find(order, "CAPI20"), std::ranges::find(order, "NDIS"));
    EXPECT_NE(GetFileAttributesA(groupFolder_.c_str()), INVALID_FILE_ATTRIBUTES) << groupFolder_;
  }

  // SETUP.EXE may stay, or be there from an earlier test: Windows may refuse to delete the
  // running program. An install that follows puts its block after one more empty line.
  void ExpectRemoved() {
    MachineState before = before_, after = Survey(windows_);
    for (const char* leftOver : {"\\SETUP.EXE", "\\"})
      for (MachineState* state : {&before, &after}) state->files.erase(installDir_ + leftOver);
    EXPECT_EQ(Differences(before, after), Names{});
    EXPECT_EQ(ReadFileBytes(autoexec_), autoexecBefore_ + "\r\n");
    autoexecBefore_ += "\r\n";
  }

  // How many of the things an install makes are there, counted in the order it makes them:
  // the files, the script version, the group, the registration, the service, its parameters,
  // the group order, the AutoExec.NT block, the adapter and the integrity backup.
  int InPlace() const {
    int count = 0;
    for (const auto& [installed, original] : PackageFiles())
      count += GetFileAttributesA(installed.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string parameters = std::string(kVelmar) + "\\Parameters";
    const std::string integrity = parameters + "\\KVXVelmarSetupIntegrityCheck";
    return count + HasValue(integrity, "ScriptVersion") +
           (GetFileAttributesA(groupFolder_.c_str()) != INVALID_FILE_ATTRIBUTES) +
           HasValue(std::string(kCapi) + "\\1", "Manufacturer") + HasValue(kVelmar, "ImagePath") +
           HasValue(parameters, "DosVector") + (std::ranges::count(GroupOrder(), "CAPI20") > 0) +
           (ReadFileBytes(autoexec_).find("isdntsr") != std::string::npos) +
           HasValue(parameters + "\\Adapter01", "Interrupt") +
           HasValue(integrity, "RegistryBackup");
  }

  void PrintWhatTheInstallMade() {
    std::printf("== Registry ==\n%s%s\n== Files ==\n", Exported(kCapi).c_str(),
                Exported(kVelmar).c_str());
    for (const auto& [path, size] : Survey(windows_).files)
      if (!before_.files.contains(path)) std::printf("%s (%lld bytes)\n", path.c_str(), size);
    std::printf("== %s ==\n%s\n== Service group order ==\n", autoexec_.c_str(),
                ReadFileBytes(autoexec_).c_str());
    for (const std::string& group : GroupOrder()) std::printf("%s\n", group.c_str());
  }

  // With /s from `answers`: no window shows, the log only grows, and the lines the run adds
  // name each path or key it changed.
  DWORD RunSilently(const std::string& directory, const std::string& switches,
                    const std::string& answers) {
    const MachineState before = Survey(windows_);
    const std::string logBefore = ReadFileBytes(log_);
    const std::string answerFile = BesideThisProgram("answers.ini");
    std::ofstream(answerFile, std::ios::binary) << answers;
    SetupProcess setup(directory, "/s " + switches + " /a" + answerFile);
    const auto anyWindow = [](HWND w) { return IsWindowVisible(w) || IsDialog(w); };
    bool shown = false;
    const auto ended = [&] {
      shown = shown || !WindowsOf(setup.ProcessId(), anyWindow).empty();
      return !setup.Running();
    };
    Eventually(ended, kRunTimeout);
    EXPECT_FALSE(shown) << switches;
    const DWORD code = setup.WaitForExit(kStepTimeout);
    const std::string log = ReadFileBytes(log_);
    EXPECT_EQ(log.substr(0, logBefore.size()), logBefore);
    const std::string lines = Lower(log.substr(std::min(log.size(), logBefore.size())));
    const std::string programs = Lower(Folder(CSIDL_PROGRAMS)) + "\\";
    for (std::string change : Differences(before, Survey(windows_))) {
      change = Lower(change.substr(change.find(' ') + 1));
      if (change.back() == '\\') change.pop_back();
      if (change == Lower(installDir_) || change == Lower(log_)) continue;
      // The shell makes the group's folder when the program asks for the group.
      if (change.starts_with(programs)) change = change.substr(programs.size());
      EXPECT_NE(lines.find(change), std::string::npos) << change << "\n" << lines;
    }
    EXPECT_NE(lines.find("outcome: "), std::string::npos) << lines;
    return code;
  }

  const std::string language_{TheMedium().languages.displayNames[0].view()};
  const std::string windows_ = Folder(CSIDL_WINDOWS);
  const std::string installDir_ = windows_.substr(0, 3) + "Velmar";
  const std::string log_ = installDir_ + "\\SETUP.LOG";
  const std::string autoexec_ = windows_ + "\\system32\\autoexec.nt";
  std::string autoexecBefore_ = ReadFileBytes(autoexec_);
  const std::string groupFolder_ = Folder(CSIDL_PROGRAMS) + "\\Velmar CAPI 2.0";
  // A machine without a CAPI 2.0 DLL: Wine's placeholder is newer than the package's, and the
  // policy would keep it.
  const std::string systemDll_ = windows_ + "\\system32\\CAPI2032.DLL";
  const std::string asideDll_ = windows_ + "\\system32\\CAPI2032.E2E";
  const bool movedAside_ = MoveFileExA(systemDll_.c_str(), asideDll_.c_str(), 0) != 0;
  const MachineState before_ = Survey(windows_);
  std::optional<probe::WineVersionFor> nt351_;

  ~InstallWalk() override {
    if (movedAside_) MoveFileExA(asideDll_.c_str(), systemDll_.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
};

TEST_F(InstallWalk, InstallsReinstallsAndDeinstallsThePackage) {
  const std::string done = Text(text::INFO_INS_DONE), keep = Text(text::QUEST_APPLYOLD);
  const std::string restart = "at exit: " + Text(text::QUEST_RESTARTSYSTEM);
  EXPECT_EQ(InstallFromMedium({}, ChangeEveryPage), (Names{done, restart}));
  PrintWhatTheInstallMade();
  ExpectInstalled("velmar-configured.reg");

  // Again over the installed package, first as Windows NT 3.51: Yes keeps a hand change, No
  // brings the defaults back.
  const DWORD handChanged = 0x99;
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, (std::string(kVelmar) + "\\Parameters").c_str(),
                            "DosVector", REG_DWORD, &handChanged, sizeof handChanged),
            ERROR_SUCCESS);
  nt351_.emplace("SETUP.EXE", "nt351");
  ReopenConfiguration();
  EXPECT_EQ(InstallFromMedium({{keep, kYes}}), (Names{done, keep}));
  nt351_.reset();
  EXPECT_NE(Exported(kVelmar).find("\"DosVector\"=dword:00000099"), std::string::npos);
  EXPECT_EQ(InstallFromMedium({{keep, kNo}}, ResetAndOk), (Names{done, keep, restart}));
  ExpectInstalled("velmar-installed.reg");

  // A file in use stops the deinstall; after Abort and No the log stays and names what is gone.
  const std::string locked = installDir_ + "\\CAPI2032.DLL";
  HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  const std::string cantDelete = setup::FormatText(Text(text::ERR_DEI_CANTDELETE), {locked});
  const std::string failed = Text(text::ERR_DEI_NOSUCCESS);
  EXPECT_EQ(DeinstallFromInstalledCopy({{cantDelete, kAbort}, {failed, kNo}}, false),
            (Names{Text(text::DLG_DEI_AREYOUSURE), cantDelete, failed}));
  CloseHandle(lock);
  const std::string log = ReadFileBytes(installDir_ + "\\removed.kvx");
  EXPECT_NE(log.find(systemDll_ + "\r\n"), std::string::npos) << log;

  // The next run passes over what the log lists and ends by itself.
  EXPECT_EQ(DeinstallFromInstalledCopy({}, true),
            (Names{Text(text::DLG_DEI_AREYOUSURE), Text(text::INFO_DEI_DONE)}));
  ExpectRemoved();
}

// The administrator's way, each run with /s from an answer file: the main walk's choices, back
// to what Reset and OK give, and the deinstall. No run may show a window; each leaves what
// the dialogs leave and logs every change it made.
TEST_F(InstallWalk, InstallsConfiguresAndDeinstallsUnattended) {
  EXPECT_EQ(RunSilently(TheMedium().directory, "/lEnglish",
                        "[Driver]\r\nProtocol=NI-1 (North American National ISDN-1)\r\nStart=3\r\n"
                        "Adapters=2\r\n[Maintenance]\r\nSwitch=1\r\nCalledNumber=12345\r\n"
                        "Calling1=5550199,77\r\nCalling2=5550142,7\r\n"),
            1u);
  ExpectInstalled("velmar-configured.reg");
  EXPECT_EQ(RunSilently(installDir_, "/c",
                        "[Setup]\r\nLanguage=Deutsch\r\n[Driver]\r\nProtocol=DSS1 (Euro-ISDN)\r\n"
                        "Start=1\r\nAdapters=1\r\n[Maintenance]\r\nSwitch=0\r\n"
                        "CalledNumber=5550100\r\nCalledSubaddress=1\r\nCalling1=5550199,\r\n"
                        "Calling2=5550142,7\r\n"),
            1u);
  EXPECT_EQ(Registry(), ReadFileBytes(BesideThisProgram("fixtures\\velmar-installed.reg")));
  EXPECT_EQ(RunSilently(installDir_, "/d", ""), 0u);
  // The log stays, and so does its directory.
  EXPECT_TRUE(DeleteFileA(log_.c_str()));
  ExpectRemoved();
}

// Killed at points spread over installs and deinstalls, each time once the driver sees that
// many things in place (or gone), then run again to the end as a user would: every case must
// end as an uninterrupted run ends.
TEST_F(InstallWalk, KilledAnywhereTheNextRunFinishes) {
  const Configure ok = [](const SetupProcess&, HWND frame) {
    WaitUntilDrawn(frame);  // the shell's window for the new group closed
    ClickButton(frame, kOk);
  };
  // A user asked to keep a configuration a broken-off run left starts afresh.
  const std::function install = [&](const Until& killWhen) {
    return InstallFromMedium({{Text(text::QUEST_APPLYOLD), kNo}}, ok, killWhen);
  };
  // A run killed after its last message has left nothing to do.
  const std::function deinstall = [&](const Until& killWhen) {
    if (GetFileAttributesA((installDir_ + "\\SETUP.KVX").c_str()) == INVALID_FILE_ATTRIBUTES)
      return Names{};
    return DeinstallFromInstalledCopy({}, true, killWhen);
  };
  install({});
  const MachineState installed = Survey(windows_);
  const int all = InPlace();
  const auto sweep = [&](const std::string& name, bool installs, const Until& killWhen) {
    const auto& run = installs ? install : deinstall;
    SCOPED_TRACE(name);
    run(killWhen);
    run({});
    if (!installs) return ExpectRemoved();
    ExpectInstalled("velmar-installed.reg");
    EXPECT_EQ(Differences(installed, Survey(windows_)), Names{});
  };
  // Things gone from the installed package; things made from what a deinstall leaves (the
  // program it ran from), or with 0 the registration, which the registry writes start with.
  // It is looked for again and again: all of them take less than one round of the driver.
  const int gone[] = {1, 7, 14, 16, 0, 0}, made[] = {1, 5, 11, 16, 17, 0};
  const Until registered = [] {
    for (int i = 0; i < 500; ++i)
      if (HasValue(std::string(kCapi) + "\\1", "Manufacturer")) return true;
    return false;
  };
  for (std::size_t i = 0; i < std::size(made); ++i) {
    if (gone[i]) {
      sweep(std::to_string(gone[i]) + " gone", false, [&] { return InPlace() <= all - gone[i]; });
    } else {
      deinstall({});
      ExpectRemoved();
    }
    const int start = InPlace();
    if (made[i])
      sweep(std::to_string(made[i]) + " made", true, [&] { return InPlace() >= start + made[i]; });
    else
      sweep("registered", true, registered);
  }
  deinstall({});
  ExpectRemoved();
}

}  // namespace
}  // namespace e2e
