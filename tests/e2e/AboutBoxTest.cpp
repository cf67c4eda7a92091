// The about box of SETUP.EXE on the medium: the CAPI driver's version, before and after the
// system can find a CAPI DLL, and the version list of the medium's files.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "e2e/SetupProcess.h"
#include "e2e/TheMedium.h"

namespace e2e {
namespace {

constexpr Timeout kStartTimeout{30000};
constexpr Timeout kStepTimeout{10000};

constexpr int kAboutOk = 0, kAboutText = 15, kDriverLabel = 16, kDriverVersion = 17;
constexpr int kFileVersionsButton = 170;
constexpr int kVersionList = 173;
constexpr int kProgressText = 603;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string BesideTheDriver(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path);
  return directory.substr(0, directory.find_last_of('\\') + 1) + name;
}

std::string SystemFolder(const char* name) {
  char path[MAX_PATH] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  return std::string(path) + "\\" + name;
}

// The package's CAPI DLL in the system directory, where the program finds it by name, for as
// long as the object lives; what was there before (Wine's placeholder) comes back afterwards.
class InstalledCapiDll {
 public:
  InstalledCapiDll() {
    MoveFileExA(target_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING);
    ok_ = CopyFileA(BesideTheDriver("CAPI2032.DLL").c_str(), target_.c_str(), FALSE) != 0;
  }
  ~InstalledCapiDll() {
    DeleteFileA(target_.c_str());
    MoveFileExA(saved_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  bool Ok() const { return ok_; }

 private:
  std::string target_ = SystemFolder("CAPI2032.DLL");
  std::string saved_ = SystemFolder("CAPI2032.E2E");
  bool ok_ = false;
};

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(setup_.Started()) << setup_.StartError();
    ASSERT_NE(setup_.WaitForIntro(kStartTimeout), nullptr) << "no intro; " << setup_.Describe();
    main_ = setup_.WaitForMainDialog(kStepTimeout);
    ASSERT_NE(main_, nullptr) << "no main dialog; " << setup_.Describe();
  }

  HWND OpenAbout() {
    ClickButton(main_, kAboutButton);
    HWND about = setup_.WaitForDialogWith(kFileVersionsButton, kStepTimeout);
    EXPECT_NE(about, nullptr) << "no about box; " << setup_.Describe();
    return about;
  }

  void Exit() {
    ClickButton(main_, kExitButton);
    const auto code = setup_.WaitForExit(kStepTimeout);
    ASSERT_TRUE(code.has_value()) << "the program is " << setup_.Describe();
    EXPECT_EQ(*code, 0u);
  }

  const Language& language_ = TheMedium().languages.at(0);
  SetupProcess setup_{TheMedium().directory, "/l" + language_.displayName};
  HWND main_ = nullptr;
};

TEST_F(AboutBoxTest, ShowsNoCapiUntilTheSystemFindsTheDllThenItsManufacturerVersion) {
  HWND about = OpenAbout();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(WindowText(about), language_.Text("[DLG_ABOUT_CAPTION]"));
  for (auto [id, key] : {std::pair{kAboutOk, "[BUTTON_OK]"},
                         {kAboutText, "[DLG_ABOUT_TEXT]"},
                         {kDriverLabel, "[DLG_ABOUT_DRIVERVERSION]"},
                         {kFileVersionsButton, "[DLG_ABOUT_FILEVERSION]"},
                         {kDriverVersion, "[TEXT_NOCAPIINSTALLED]"}})
    EXPECT_EQ(ControlText(about, id), language_.Text(key)) << id;
  ClickButton(about, kAboutOk);
  ASSERT_TRUE(WaitUntilGone(about, kStepTimeout));

  {
    InstalledCapiDll dll;
    ASSERT_TRUE(dll.Ok());
    about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(ControlText(about, kDriverVersion), "v2.1 (rev.05)");
    CloseFromSystemMenu(about);
    ASSERT_TRUE(WaitUntilGone(about, kStepTimeout));
  }
  Exit();
}

// The medium's compressed files, expanded one by one into VERTMP.$$$ below the Windows
// directory, which is gone again afterwards.
TEST_F(AboutBoxTest, VersionListShowsTheStampsOfTheMediumsFiles) {
  HWND about = OpenAbout();
  ASSERT_NE(about, nullptr);
  ClickButton(about, kFileVersionsButton);
  HWND versions = setup_.WaitForDialogWith(kVersionList, kStepTimeout);
  ASSERT_NE(versions, nullptr) << "no version list; " << setup_.Describe();
  // The list fills behind a progress window while the dialog is already up.
  HWND list = GetDlgItem(versions, kVersionList);
  std::vector<std::string> lines;
  for (int i = 0; i < 500; ++i, Sleep(20)) {
    lines = ListItems(list);
    if (lines.size() >= 6 && !setup_.ShowsDialogWith(kProgressText)) break;
  }

  EXPECT_EQ(WindowText(versions), language_.Text("[DLG_VER_CAPTION]"));
  EXPECT_EQ(ControlText(versions, 172), language_.Text("[DLG_VER_VERTEXT]"));
  const std::string medium = Lower(TheMedium().directory);
  const std::string unknown = language_.Text("[TEXT_UNKNOWNVERSION]");
  // The directory listing spells the directories in lower case.
  EXPECT_EQ(lines, (std::vector<std::string>{medium + "\\drivers\\VMDSS1.SY_\tv2.10 (rev.07)",
                                             medium + "\\drivers\\VM1TR6.SY_\tv2.10 (rev.05)",
                                             medium + "\\drivers\\VMNI1.SY_\tv2.2 (rev.1b)",
                                             medium + "\\capi\\win32\\CAPI2032.DL_\tv2.1 (rev.05)",
                                             medium + "\\VMTRACE.EX_\tv1.1 (rev.02)",
                                             medium + "\\VMTRACE.TX_\t" + unknown}));
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  EXPECT_EQ(GetFileAttributesA((std::string(windows) + "\\VERTMP.$$$").c_str()),
            INVALID_FILE_ATTRIBUTES);

  ClickButton(versions, 0);
  ASSERT_TRUE(WaitUntilGone(versions, kStepTimeout));
  EXPECT_TRUE(IsWindowVisible(about));
  ClickButton(about, kAboutOk);
  ASSERT_TRUE(WaitUntilGone(about, kStepTimeout));
  Exit();
}

}  // namespace
}  // namespace e2e
