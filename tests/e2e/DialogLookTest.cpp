// The three-dimensional dialog look through the real program. Under Windows NT 3.51 the
// program draws the whole look itself; Windows NT 4.0 gives every dialog made from a template
// its own look (the dialog style bit 0x4), and the program then leaves the dialog alone.
#include <gtest/gtest.h>
#include <windows.h>

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
    Sleep(1000);  // the intro is gone and the main dialog painted
    SaveScreenshot(main, std::string("main-dialog-") + version);
    checkMain(main);
    ClickButton(main, kActionButton);
    HWND install = WaitForForm(setup, kDestinationField, kStepTimeout);
    ASSERT_NE(install, nullptr) << setup.Describe();
    Sleep(1000);
    SaveScreenshot(install, std::string("install-") + version);
    checkInstall(install);
    ClickButton(install, kCancel);
    EXPECT_TRUE(WaitUntilGone(install, kStepTimeout));
    ClickButton(main, kExitButton);
    AnswerUntilGone(setup, nullptr, {}, kStepTimeout);
    EXPECT_FALSE(setup.Running()) << setup.Describe();
  }
};

TEST_F(DialogLook, Nt351GetsTheWholeLookFromTheProgram) {
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
}

}  // namespace
}  // namespace e2e
