// The about box of SETUP.EXE on the medium: the CAPI driver's version, before and after the
// system can find a CAPI DLL. The version list runs under Wine in the adapter tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "e2e/SetupProcess.h"
#include "e2e/TheMedium.h"

namespace e2e {
namespace {

constexpr Timeout kStartTimeout{30000};
constexpr Timeout kStepTimeout{10000};

constexpr int kAboutOk = 0, kDriverVersion = 17;
constexpr int kFileVersionsButton = 170;

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
    // The build puts it beside this driver.
    char driver[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, driver, MAX_PATH);
    std::string dll(driver);
    dll.replace(dll.find_last_of('\\') + 1, std::string::npos, "CAPI2032.DLL");
    ok_ = CopyFileA(dll.c_str(), target_.c_str(), FALSE) != 0;
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

  // The about box is the one dialog with a caption and controls beside the main dialog.
  HWND OpenAbout() {
    ClickButton(main_, kAboutButton);
    HWND about = setup_.WaitForMessageBox(kStepTimeout);
    EXPECT_TRUE(about && GetDlgItem(about, kFileVersionsButton)) << setup_.Describe();
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
  EXPECT_EQ(ControlText(about, kDriverVersion), language_.Text("[TEXT_NOCAPIINSTALLED]"));
  ClickButton(about, kAboutOk);
  ASSERT_TRUE(WaitUntilGone(about, kStepTimeout));

  {
    InstalledCapiDll dll;
    ASSERT_TRUE(dll.Ok());
    about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(ControlText(about, kDriverVersion), "v2.1 (rev.05)");
    PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntilGone(about, kStepTimeout));
  }
  Exit();
}

}  // namespace
}  // namespace e2e
