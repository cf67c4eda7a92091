// The three-dimensional dialog look through the real program. Under Windows NT 3.51 the
// program draws the whole look itself; Windows NT 4.0 gives every dialog made from a template
// its own look (the dialog style bit 0x4), and the program then leaves the dialog alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "e2e/Harness.h"
#include "win32/WindowProbe.h"

namespace e2e {
namespace {

using namespace probe;
using C = LookColours;
using Names = std::vector<std::string>;

constexpr Timeout kStartTimeout{30000}, kStepTimeout{15000};
constexpr int kCombo = 9, kSourceField = 20, kDestinationField = 21, kCancel = 1;
constexpr int kReset = 174, kProtocol = 40;

bool Contains(const Names& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

class DialogLook : public ::testing::Test {
 protected:
  // Runs SETUP.EXE as Windows `version` up to its main dialog and its install dialog, hands
  // both to the checks, and ends the program.
  void Walk(const char* version, const std::function<void(HWND)>& checkMain,
            const std::function<void(HWND)>& checkInstall) {
    WineVersionFor pretend("SETUP.EXE", version);
    SetupProcess setup(TheMedium().directory, "");
    HWND main = setup.WaitForWindow(IsMainDialog, kStartTimeout);
    ASSERT_NE(main, nullptr) << setup.Describe();
    WaitUntilDrawn(main);
    SaveScreenshot(main, std::string("main-dialog-") + version);
    checkMain(main);
    ClickButton(main, kActionButton);
    HWND install = WaitForForm(setup, kDestinationField, kStepTimeout);
    ASSERT_NE(install, nullptr) << setup.Describe();
    WaitUntilDrawn(install);
    SaveScreenshot(install, std::string("install-") + version);
    checkInstall(install);
    ClickButton(install, kCancel);
    EXPECT_TRUE(WaitUntilGone(install, kStepTimeout));
    ClickButton(main, kExitButton);
    AnswerUntilGone(setup, nullptr, {}, kStepTimeout);
    EXPECT_FALSE(setup.Running()) << setup.Describe();
  }

  // With the installed package's registry, opens the configuration dialog in configure mode
  // as Windows `version`, hands its frame to the check, cancels and leaves the registry as it
  // was.
  void ConfigPages(const char* version, const std::function<void(HWND)>& check) {
    RunAndWait("reg.exe import " + BesideThisProgram("fixtures\\velmar-installed.reg"));
    // reg.exe takes an expandable text of a narrow file as narrow bytes, which cuts it.
    const char image[] = "\\SystemRoot\\System32\\drivers\\vmdss1.sys";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Velmar", "ImagePath",
                    REG_EXPAND_SZ, image, sizeof image);
    {
      WineVersionFor pretend("SETUP.EXE", version);
      SetupProcess setup(TheMedium().directory, "/c");
      HWND main = setup.WaitForWindow(IsMainDialog, kStartTimeout);
      ASSERT_NE(main, nullptr) << setup.Describe();
      ClickButton(main, kActionButton);
      HWND frame = WaitForForm(setup, kReset, kStepTimeout);
      ASSERT_NE(frame, nullptr) << setup.Describe();
      WaitUntilDrawn(frame);
      SaveScreenshot(frame, std::string("config-adapter-") + version);
      check(frame);
      ClickButton(frame, kCancel);
      EXPECT_TRUE(WaitUntilGone(frame, kStepTimeout));
      ClickButton(main, kExitButton);
      AnswerUntilGone(setup, nullptr, {}, kStepTimeout);
    }
    RunAndWait("reg.exe delete HKLM\\SYSTEM\\CurrentControlSet\\Services\\Velmar /f");
    RunAndWait("reg.exe delete HKLM\\SOFTWARE\\CAPI20 /f");
  }
};

TEST_F(DialogLook, Nt351GetsTheWholeLookFromTheProgram) {
  ConfigPages("nt351", [](HWND frame) {
    const Names subclassed = SubclassedWindows(frame);
    for (const char* control : {"Button 41", "Button 174", "ComboBox 40", "Edit 57", "Button 64",
                                "Button 61", "Button 67", "ListBox 80", "Edit 72"})
      EXPECT_TRUE(Contains(subclassed, control)) << control;
    HWND protocol = nullptr;
    for (HWND page = GetWindow(frame, GW_CHILD); page && !protocol;
         page = GetWindow(page, GW_HWNDNEXT))
      protocol = GetDlgItem(page, kProtocol);
    ASSERT_NE(protocol, nullptr);
    EXPECT_EQ(WrongPixels(protocol, "protocol list", SunkenBorder(protocol)), Names{});
  });
  Walk(
      "nt351",
      [](HWND main) {
        EXPECT_EQ(SubclassedWindows(main),
                  (Names{"#32770 0", "Static 10", "Static 12", "Static 11", "ComboBox 9",
                         "Button 3", "Button 7", "Button 8"}));
        HWND exit = GetDlgItem(main, kExitButton);
        const SIZE e = SizeOf(exit);
        EXPECT_EQ(WrongPixels(exit, "raised button",
                              {{1, 0, &C::frame},
                               {0, 1, &C::frame},
                               {1, 1, &C::highlight},
                               {2, 2, &C::highlight},
                               {e.cx - 2, e.cy - 2, &C::shadow},
                               {e.cx - 3, e.cy - 3, &C::shadow},
                               {3, e.cy / 2, &C::face}}),
                  Names{});
        HWND combo = GetDlgItem(main, kCombo);
        std::vector<Probe> border = SunkenBorder(combo);
        border.push_back({SizeOf(combo).cx - 1, 2, &C::frame});  // the drop button's edge
        EXPECT_EQ(WrongPixels(combo, "drop-down list", border), Names{});
      },
      [](HWND install) {
        EXPECT_EQ(SubclassedWindows(install),
                  (Names{"#32770 0", "Static 24", "Edit 20", "Button 22", "Static 25", "Edit 21",
                         "Button 23", "Button 0", "Button 1"}));
        for (int id : {kSourceField, kDestinationField}) {
          HWND edit = GetDlgItem(install, id);
          EXPECT_EQ(WrongPixels(edit, "edit", SunkenBorder(edit)), Names{});
        }
        const SIZE s = SizeOf(install);
        EXPECT_EQ(WrongPixels(install, "dialog frame",
                              {{0, s.cy / 2, &C::shadow},
                               {1, s.cy / 2, &C::highlight},
                               {s.cx - 1, s.cy / 2, &C::frame},
                               {s.cx - 2, s.cy / 2, &C::shadow}}),
                  Names{});
      });
}

TEST_F(DialogLook, Nt40DrawsItsOwnLook) {
  const auto checkPlain = [](HWND dialog) {
    EXPECT_NE(GetWindowLongA(dialog, GWL_STYLE) & DS_3DLOOK, 0);
    EXPECT_EQ(SubclassedWindows(dialog), Names{});
  };
  Walk(
      "nt40",
      [&](HWND main) {
        checkPlain(main);
        EXPECT_NE(ScreenImage(GetDlgItem(main, kExitButton)).At(1, 0), C().frame);
      },
      checkPlain);
  ConfigPages("nt40", checkPlain);
}

}  // namespace
}  // namespace e2e
