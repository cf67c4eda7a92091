// A complete life of the package on one machine, driven through the real dialogs: install
// from the medium, reconfigure and install again keeping the configuration as Windows NT 3.51
// (where the program draws the three-dimensional look itself), install replacing it, a
// deinstall that is stopped halfway, and the deinstall that finishes the job. Prints what the
// install made, so that the walk doubles as a demonstration. Then the same without a window,
// and installs and deinstalls killed anywhere.
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
#include "win32/WindowProbe.h"

namespace e2e {
namespace {

namespace text = setup::text;
using Names = std::vector<std::string>;

constexpr Timeout kStartTimeout{30000}, kStepTimeout{15000}, kRunTimeout{90000};
constexpr int kSourceField = 20, kDestinationField = 21, kInstall = 0;
constexpr int kDriverVersion = 17, kFileVersions = 170, kVersionList = 173;
constexpr int kDeinstallWarning = 28, kDeinstall = 0;
constexpr int kOk = 0, kReset = 174, kAdvancedButton = 43, kMaintenanceButton = 44, kProtocol = 40,
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

bool Contains(const Names& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
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
  Eventually(
      [&] {
        for (page = GetWindow(frame, GW_CHILD); page && !GetDlgItem(page, id);)
          page = GetWindow(page, GW_HWNDNEXT);
        return page != nullptr;
      },
      Timeout{10000});
  if (!page) ADD_FAILURE() << "no page has control " << id;
  return page;
}

void Choose(HWND page, int id, int index, bool listBox = false) {
  HWND list = GetDlgItem(page, id);
  SendMessageA(list, listBox ? LB_SETCURSEL : CB_SETCURSEL, index, 0);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, listBox ? LBN_SELCHANGE : CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

void TypeInto(HWND page, int id, const std::string& keys, const std::string& shown) {
  HWND edit = GetDlgItem(page, id);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  for (char c : keys) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
  EXPECT_TRUE(Eventually([&] { return ControlText(page, id) == shown; })) << ControlText(page, id);
}

void Close(HWND window, int button) {
  ClickButton(window, button);
  EXPECT_TRUE(WaitUntilGone(window, kStepTimeout));
}

void ShowPage(HWND frame, int button, HWND page, const std::string& name) {
  ClickButton(frame, button);
  Eventually([page] { return IsWindowVisible(page) != FALSE; });
  SaveScreenshot(frame, name);
}

bool Killed(const std::vector<std::string>& seen) {
  return !seen.empty() && seen.back().starts_with(kKilledAt);
}

class InstallWalk : public ::testing::Test {
 protected:
  HWND MainDialogOf(const SetupProcess& setup) {
    HWND intro = setup.WaitForWindow(IsIntro, kStartTimeout);
    EXPECT_NE(intro, nullptr) << setup.Describe();
    Screenshot(intro, "intro");
    HWND main = setup.WaitForWindow(IsMainDialog, kStepTimeout);
    EXPECT_NE(main, nullptr) << setup.Describe();
    Screenshot(main, "main-dialog");
    ExpectLook(main, {"#32770 0", "Static 10", "Static 12", "Static 11", "ComboBox 9", "Button 3",
                      "Button 7", "Button 8"});
    return main;
  }

  void Screenshot(HWND window, const std::string& name) {
    SaveScreenshot(window, nt351_ ? name + "-nt351" : name);
  }

  // Under Windows NT 3.51 the program gives these windows the look, a page once all its
  // controls are there; Windows NT 4.0 gives every template dialog its own look (the style
  // bit), and the program leaves the dialog alone.
  void ExpectLook(HWND dialog, const Names& subclassed) {
    Names seen = probe::SubclassedWindows(dialog);
    if (!nt351_) {
      EXPECT_NE(GetWindowLongA(dialog, GWL_STYLE) & DS_3DLOOK, 0);
      EXPECT_EQ(seen, Names{});
      return;
    }
    const auto all = [&] {
      seen = probe::SubclassedWindows(dialog);
      return std::all_of(subclassed.begin(), subclassed.end(),
                         [&](const std::string& name) { return Contains(seen, name); });
    };
    EXPECT_TRUE(Eventually(all)) << ::testing::PrintToString(seen);
  }

  std::string Text(int slot) const { return TheMedium().Text(slot); }

  using Configure = std::function<void(const SetupProcess&, HWND frame)>;

  // The boxes shown, those at exit marked. `configure` ends the configuration dialog that an
  // install writing a fresh configuration opens.
  std::vector<std::string> InstallFromMedium(const std::vector<Reply>& replies,
                                             bool checkVersions = false,
                                             const Configure& configure = {},
                                             const Until& killWhen = {}) {
    SetupProcess setup(TheMedium().directory, "/l" + language_);
    HWND main = MainDialogOf(setup);
    if (!main) return {};
    ClickButton(main, kActionButton);
    HWND install = WaitForForm(setup, kDestinationField, kStepTimeout);
    if (!install) return {};
    Screenshot(install, "install");
    EXPECT_EQ(ControlText(install, kSourceField), TheMedium().directory);
    EXPECT_EQ(ControlText(install, kDestinationField), installDir_);
    ClickButton(install, kInstall);
    std::vector<std::string> seen = AnswerUntilGone(setup, install, replies, kRunTimeout, killWhen);
    if (Killed(seen)) return seen;
    if (configure) ConfigureIn(setup, configure);
    EXPECT_EQ(ControlText(main, kActionButton), Text(text::DLG_MAIN_CONFIG));
    if (checkVersions) CheckVersions(setup, main);
    ClickButton(main, kExitButton);
    for (const std::string& text : AnswerUntilGone(setup, nullptr, {}, kStepTimeout))
      seen.push_back("at exit: " + text);
    return seen;
  }

  // Closing the frame gives the activation back to the main dialog, not to another program.
  void ConfigureIn(const SetupProcess& setup, const Configure& configure) {
    HWND frame = WaitForForm(setup, kReset, kStepTimeout);
    if (!frame) return;
    HWND main = GetWindow(frame, GW_OWNER);
    PageWith(frame, kDosVectorList);  // the page made after the adapter page
    Screenshot(frame, "config-adapter");
    ExpectLook(frame, {"Button 41", "Button 174", "ComboBox 40", "Edit 57", "Button 64",
                       "Button 61", "Button 67"});
    configure(setup, frame);
    EXPECT_TRUE(WaitUntilGone(frame, kStepTimeout));
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
    ShowPage(frame, kAdvancedButton, advanced, "config-advanced");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(frame, kMaintenanceButton)));
    ClickButton(advanced, kMaintenanceSwitch);
    ShowPage(frame, kMaintenanceButton, maintenance, "config-maintenance");
    TypeInto(maintenance, kCalledNumber, "123,45", "12345");
    Choose(maintenance, kCalling, 0, true);
    ClickButton(maintenance, kEditCalling);
    if (HWND party = WaitForForm(setup, kSubaddress, kStepTimeout)) {
      SendMessageA(GetDlgItem(party, kSubaddress), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("77"));
      Close(party, kOk);
    }
    ClickButton(frame, kOk);
  }

  // The installed files' versions; the list shows directories as the system resolves them.
  void CheckVersions(const SetupProcess& setup, HWND main) {
    const std::string drivers = Lower(windows_) + "\\system32\\drivers\\";
    const std::string trace = Lower(installDir_) + "\\tools\\trace\\";
    const Names lines = {
        drivers + "vmdss1.sys\tv2.10 (rev.07)",
        drivers + "vm1tr6.sys\tv2.10 (rev.05)",
        drivers + "vmni1.sys\tv2.2 (rev.1b)",
        Lower(windows_) + "\\system32\\CAPI2032.DLL\tv2.1 (rev.05)",
        trace + "vmtrace.exe\tv1.1 (rev.02)",
        trace + "vmtrace.txt\t" + Text(text::TEXT_UNKNOWNVERSION),
    };
    ClickButton(main, kAboutButton);
    HWND about = WaitForForm(setup, kFileVersions, kStepTimeout);
    if (!about) return;
    SaveScreenshot(about, "about");
    EXPECT_EQ(ControlText(about, kDriverVersion), "v2.1 (rev.05)");
    ClickButton(about, kFileVersions);
    if (HWND versions = WaitForForm(setup, kVersionList, kStepTimeout)) {
      Names shown;  // the list fills while the files are scanned
      Eventually([&] { return (shown = ListItems(GetDlgItem(versions, kVersionList))) == lines; },
                 kStepTimeout);
      EXPECT_EQ(shown, lines);
      SaveScreenshot(versions, "file-versions");
      PostMessageA(versions, WM_SYSCOMMAND, SC_CLOSE, 0);
      EXPECT_TRUE(WaitUntilGone(versions, kStepTimeout));
    }
    PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntilGone(about, kStepTimeout));
  }

  // A run that does not end by itself is ended with Exit.
  std::vector<std::string> DeinstallFromInstalledCopy(const std::vector<Reply>& replies,
                                                      bool endsByItself,
                                                      const Until& killWhen = {}) {
    SetupProcess setup(installDir_, "/d /l" + language_);
    HWND main = MainDialogOf(setup);
    if (!main) return {};
    EXPECT_EQ(ControlText(main, kActionButton), Text(text::DLG_MAIN_DEINSTALL));
    ClickButton(main, kActionButton);
    HWND dialog = WaitForForm(setup, kDeinstallWarning, kStepTimeout);
    if (!dialog) return {};
    SaveScreenshot(dialog, "deinstall");
    EXPECT_EQ(ControlText(dialog, kDeinstallWarning),
              setup::FormatText(Text(text::DLG_DEI_WARNING), {installDir_}));
    ClickButton(dialog, kDeinstall);
    std::vector<std::string> seen = AnswerUntilGone(setup, dialog, replies, kRunTimeout, killWhen);
    if (Killed(seen)) return seen;
    if (!endsByItself) ClickButton(main, kExitButton);
    EXPECT_EQ(setup.WaitForExit(kStepTimeout), endsByItself ? 0u : 3u) << setup.Describe();
    return seen;
  }

  // After the integrity check has shown the hand change, the configuration shows as the
  // registry holds it; maintenance is switched off.
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
      HWND adapter = PageWith(frame, kProtocol);
      EXPECT_EQ(SendMessageA(GetDlgItem(adapter, kProtocol), CB_GETCURSEL, 0, 0), 2);
      EXPECT_EQ(SendMessageA(GetDlgItem(adapter, 52), CB_GETCOUNT, 0, 0), 2);
      EXPECT_EQ(ListItems(GetDlgItem(PageWith(frame, kCalling), kCalling)).at(0), "5550199\t77");
      EXPECT_TRUE(IsWindowVisible(GetDlgItem(frame, kMaintenanceButton)));
      HWND advanced = PageWith(frame, kDosVectorList);
      ClickButton(advanced, kMaintenanceSwitch);
      Sleep(500);
      EXPECT_FALSE(IsWindowVisible(GetDlgItem(frame, kMaintenanceButton)));
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

  // Each installed file with its original.
  std::vector<std::pair<std::string, std::string>> PackageFiles() const {
    const std::string medium = TheMedium().directory + "\\";
    const std::string payload = BesideThisProgram("payload\\");
    const std::string drivers = windows_ + "\\system32\\drivers\\";
    std::vector<std::pair<std::string, std::string>> files = {
        {drivers + "vmdss1.sys", payload + "vmdss1.sys"},
        {drivers + "vm1tr6.sys", payload + "vm1tr6.sys"},
        {drivers + "vmni1.sys", payload + "vmni1.sys"},
        {systemDll_, payload + "CAPI2032.DLL"},
        {installDir_ + "\\CAPI2032.DLL", payload + "CAPI2032.DLL"},
        {windows_ + "\\system\\isdntsr.exe", payload + "isdntsr.exe"},
        {installDir_ + "\\dos\\isdntsr.exe", payload + "isdntsr.exe"},
        {installDir_ + "\\tools\\trace\\vmtrace.exe", payload + "vmtrace.exe"},
        {installDir_ + "\\tools\\trace\\vmtrace.txt", payload + "vmtrace.txt"},
        {installDir_ + "\\README.TXT", medium + "doc\\README.TXT"},
        {installDir_ + "\\LIESMICH.TXT", medium + "doc\\LIESMICH.TXT"},
        {installDir_ + "\\tools\\trace\\VMTRACE.INI", medium + "doc\\trace\\VMTRACE.INI"},
    };
    for (std::string name : {"SETUP.EXE", "SETUP.KVX", "SETUPENG.TXT", "SETUPGER.TXT"})
      files.emplace_back(installDir_ + "\\" + name, medium + name);
    return files;
  }

  static std::string Registry() { return WithoutBackupDate(Exported(kCapi) + Exported(kVelmar)); }
  static std::string Fixture(const std::string& name) {
    return ReadFileBytes(BesideThisProgram("fixtures\\" + name));
  }

  void ExpectInstalled(const char* registryFixture) {
    for (const auto& [installed, original] : PackageFiles()) {
      const std::string bytes = ReadFileBytes(original);
      EXPECT_FALSE(bytes.empty()) << original;
      EXPECT_TRUE(ReadFileBytes(installed) == bytes) << installed;
    }
    EXPECT_EQ(Registry(), Fixture(registryFixture));
    EXPECT_EQ(ReadFileBytes(autoexec_), autoexecBefore_ +
                                            "\r\nREM --- KVX Setup for WindowsNT BEGIN ---\r\n"
                                            "lh %SystemRoot%\\system\\isdntsr.exe\r\n"
                                            "REM --- KVX Setup for WindowsNT END ---\r\n");
    const Names order = GroupOrder();
    const auto capi = std::find(order.begin(), order.end(), "CAPI20");
    EXPECT_LT(capi, std::find(order.begin(), order.end(), "NDIS"));
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
           HasValue(parameters, "DosVector") + Contains(GroupOrder(), "CAPI20") +
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

  DWORD RunSilently(const std::string& directory, const std::string& switches,
                    const std::string& answers) {
    const std::string answerFile = BesideThisProgram("answers.ini");
    std::ofstream(answerFile, std::ios::binary) << answers;
    SetupProcess setup(directory, "/s " + switches + " /a" + answerFile);
    const auto anyWindow = [](HWND w) { return IsWindowVisible(w) || IsDialog(w); };
    std::string shown;
    Eventually(
        [&] {
          if (!WindowsOf(setup.ProcessId(), anyWindow).empty()) shown = setup.Describe();
          return !setup.Running();
        },
        kRunTimeout);
    EXPECT_EQ(shown, "") << switches;
    return setup.WaitForExit(kStepTimeout);
  }

  // What the run changed, each path or key named in its lines of the log.
  void ExpectLogged(const MachineState& before, const std::string& from) {
    const std::string log = Lower(ReadFileBytes(log_));
    const std::string lines = log.substr(std::min(log.size(), from.size()));
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
  EXPECT_EQ(InstallFromMedium({}, true, ChangeEveryPage), (Names{done, restart}));
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
  EXPECT_EQ(InstallFromMedium({{keep, kNo}}, false, ResetAndOk), (Names{done, keep, restart}));
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
  ExpectLogged(before_, "");
  const MachineState installed = Survey(windows_);
  std::string logSoFar = ReadFileBytes(log_);
  EXPECT_EQ(RunSilently(installDir_, "/c",
                        "[Setup]\r\nLanguage=Deutsch\r\n[Driver]\r\nProtocol=DSS1 (Euro-ISDN)\r\n"
                        "Start=1\r\nAdapters=1\r\n[Maintenance]\r\nSwitch=0\r\n"
                        "CalledNumber=5550100\r\nCalledSubaddress=1\r\nCalling1=5550199,\r\n"
                        "Calling2=5550142,7\r\n"),
            1u);
  EXPECT_EQ(Registry(), Fixture("velmar-installed.reg"));
  ExpectLogged(installed, logSoFar);
  EXPECT_EQ(ReadFileBytes(log_).substr(0, logSoFar.size()), logSoFar);
  logSoFar = ReadFileBytes(log_);
  EXPECT_EQ(RunSilently(installDir_, "/d", ""), 0u);
  ExpectLogged(installed, logSoFar);
  // The log stays, and so does its directory.
  EXPECT_TRUE(DeleteFileA(log_.c_str()));
  ExpectRemoved();
}

// Killed at points spread over installs and deinstalls, each time once the driver sees that
// many things in place (or gone), then run again to the end as a user would: every case must
// end as an uninterrupted run ends. Prints a line for each case.
TEST_F(InstallWalk, KilledAnywhereTheNextRunFinishes) {
  const Configure ok = [](const SetupProcess&, HWND frame) {
    WaitUntilDrawn(frame);  // the shell's window for the new group closed
    ClickButton(frame, kOk);
  };
  // A user asked to keep a configuration a broken-off run left starts afresh.
  const std::function install = [&](const Until& killWhen) {
    return InstallFromMedium({{Text(text::QUEST_APPLYOLD), kNo}}, false, ok, killWhen);
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
    const Names killed = run(killWhen);
    std::string row = name + " | " + (killed.empty() ? "" : killed.back()) + " | " +
                      std::to_string(InPlace()) + "/" + std::to_string(all) + " |";
    for (const std::string& box : run({})) row += " [" + box.substr(0, 40) + "]";
    std::replace_if(
        row.begin(), row.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    std::printf("%s\n", row.c_str());
    SCOPED_TRACE(row);
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
