// SETUP.EXE from the medium, as a user meets it: intro, main dialog, language box, start
// modes, a script for another platform, and Exit.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "e2e/SetupProcess.h"
#include "e2e/TheMedium.h"

namespace e2e {
namespace {

// The first start in a fresh Wine prefix brings up the Wine desktop too.
constexpr Timeout kStartTimeout{30000};
constexpr Timeout kStepTimeout{10000};
// The intro closes by itself after 2.5 s; well before that counts as closed early.
constexpr Timeout kEarlyClose{1000};
constexpr auto kIntroMinimum = std::chrono::milliseconds(1500);

// The labels whose text does not depend on the start mode.
constexpr std::pair<int, const char*> kFixedLabels[] = {{kAboutButton, "[DLG_MAIN_ABOUT]"},
                                                        {kExitButton, "[DLG_MAIN_EXIT]"},
                                                        {kTitle, "[DLG_MAIN_INTRO]"},
                                                        {kLanguageLabel, "[DLG_MAIN_LANGUAGE]"},
                                                        {kVersionLine, "[DLG_MAIN_VERSION]"}};

std::vector<std::string> DisplayNames(const Medium& medium) {
  std::vector<std::string> names;
  for (const Language& language : medium.languages) names.push_back(language.displayName);
  return names;
}

void ExpectLabelsIn(HWND dialog, const Language& language, const char* actionKey) {
  SCOPED_TRACE("labels in " + language.displayName);
  EXPECT_EQ(WindowText(dialog), language.Text("[DLG_MAIN_CAPTION]"));
  EXPECT_EQ(ControlText(dialog, kActionButton), language.Text(actionKey));
  for (auto [id, key] : kFixedLabels) EXPECT_EQ(ControlText(dialog, id), language.Text(key)) << id;
}

// Waits through the intro for the main dialog; nullptr after reporting what was missing.
HWND MainDialogOf(const SetupProcess& setup) {
  if (!setup.Started()) {
    ADD_FAILURE() << setup.StartError();
    return nullptr;
  }
  if (!setup.WaitForIntro(kStartTimeout)) {
    ADD_FAILURE() << "no intro window appeared; the program is " << setup.Describe();
    return nullptr;
  }
  HWND dialog = setup.WaitForMainDialog(kStepTimeout);
  if (!dialog) {
    ADD_FAILURE() << "no main dialog appeared after the intro; the program is " << setup.Describe();
  }
  return dialog;
}

void ExpectEndsWithZero(const SetupProcess& setup) {
  const auto code = setup.WaitForExit(kStepTimeout);
  ASSERT_TRUE(code.has_value()) << "the program is " << setup.Describe();
  EXPECT_EQ(*code, 0u);
}

class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GE(medium_.languages.size(), 2u) << "the sample medium offers two languages";
  }

  const Medium& medium_ = TheMedium();
};

class StartLanguageTest : public MainDialogTest, public ::testing::WithParamInterface<int> {};

// Starts in one language, then chooses the next in the box: every label follows, the list
// stays as it is.
TEST_P(StartLanguageTest, MainDialogSpeaksTheLanguageOfTheCommandLineOrTheBox) {
  const int count = static_cast<int>(medium_.languages.size());
  const Language& language = medium_.languages[static_cast<std::size_t>(GetParam())];
  SetupProcess setup(medium_.directory, "/l" + language.displayName);
  HWND dialog = MainDialogOf(setup);
  ASSERT_NE(dialog, nullptr);
  HWND box = GetDlgItem(dialog, kLanguageBox);
  ExpectLabelsIn(dialog, language, "[DLG_MAIN_INSTALL]");
  EXPECT_EQ(ComboSelection(box), GetParam());

  const int next = (GetParam() + 1) % count;
  ASSERT_TRUE(SelectComboItem(dialog, kLanguageBox, next));
  ExpectLabelsIn(dialog, medium_.languages[static_cast<std::size_t>(next)], "[DLG_MAIN_INSTALL]");
  EXPECT_EQ(ComboItems(box), DisplayNames(medium_));
  EXPECT_EQ(ComboSelection(box), next);

  ClickButton(dialog, kExitButton);
  ExpectEndsWithZero(setup);
}

INSTANTIATE_TEST_SUITE_P(
    Medium, StartLanguageTest, ::testing::Range(0, static_cast<int>(TheMedium().languages.size())),
    [](const ::testing::TestParamInfo<int>& info) {
      std::string name = TheMedium().languages[static_cast<std::size_t>(info.param)].displayName;
      std::replace_if(
          name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
      return name;
    });

// The switches and the key of the action button's label.
using StartMode = std::pair<const char*, const char*>;
class StartModeTest : public MainDialogTest, public ::testing::WithParamInterface<StartMode> {};

// The action button follows the last of /c and /d, also after a change of language.
TEST_P(StartModeTest, ActionButtonNamesTheModeInEveryLanguage) {
  SetupProcess setup(medium_.directory,
                     std::string(GetParam().first) + " /l" + medium_.languages[0].displayName);
  HWND dialog = MainDialogOf(setup);
  ASSERT_NE(dialog, nullptr);
  ExpectLabelsIn(dialog, medium_.languages[0], GetParam().second);

  ASSERT_TRUE(SelectComboItem(dialog, kLanguageBox, 1));
  ExpectLabelsIn(dialog, medium_.languages[1], GetParam().second);

  ClickButton(dialog, kExitButton);
  ExpectEndsWithZero(setup);
}

INSTANTIATE_TEST_SUITE_P(Switches, StartModeTest,
                         ::testing::Values(StartMode{"/c", "[DLG_MAIN_CONFIG]"},
                                           StartMode{"/d", "[DLG_MAIN_DEINSTALL]"},
                                           StartMode{"/c -D", "[DLG_MAIN_DEINSTALL]"}));

// A copy of the medium whose script is written for another platform. Lives in the temporary
// directory and is removed again.
class ForeignMedium {
 public:
  ForeignMedium(const Medium& medium, const std::string& platform)
      : directory_(std::filesystem::temp_directory_path() /
                   ("velmar-e2e-" + std::to_string(GetCurrentProcessId()))) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directory(directory_, error);
    std::vector<std::string> files = {"SETUP.EXE"};
    for (const Language& language : medium.languages) files.push_back(language.fileName);
    for (const std::string& file : files)
      ok_ = fs::copy_file(fs::path(medium.directory) / file, directory_ / file,
                          fs::copy_options::overwrite_existing, error) &&
            ok_;
    ok_ = WriteFileBytes(Directory() + "\\" + kScriptName,
                         WithTargetPlatform(medium.script, platform)) &&
          ok_;
  }
  ~ForeignMedium() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

  bool Ok() const { return ok_; }
  std::string Directory() const { return directory_.string(); }

 private:
  std::filesystem::path directory_;
  bool ok_ = true;
};

// The intro comes first, then the platform message in the chosen language; the main
// dialog never shows and the run ends normally.
TEST_F(MainDialogTest, ForeignPlatformShowsTheInvalidSystemMessageAndEnds) {
  ForeignMedium foreign(medium_, "!OS_WINDOWS_95");
  ASSERT_TRUE(foreign.Ok()) << "could not lay out " << foreign.Directory();
  const Language& language = medium_.languages[1];
  SetupProcess setup(foreign.Directory(), "/l" + language.displayName);
  ASSERT_TRUE(setup.Started()) << setup.StartError();
  ASSERT_NE(setup.WaitForIntro(kStartTimeout), nullptr) << "no intro; " << setup.Describe();

  HWND box = setup.WaitForMessageBox(kStepTimeout);
  ASSERT_NE(box, nullptr) << "no message about the platform; " << setup.Describe();
  EXPECT_EQ(WindowText(box), language.Text("[MSG_CAPTION]"));
  const std::vector<std::string> texts = StaticTexts(box);
  EXPECT_NE(std::find(texts.begin(), texts.end(), language.Text("[ERR_INVALID_OS]")), texts.end())
      << "the message box shows: " << ::testing::PrintToString(texts);
  EXPECT_FALSE(setup.ShowsMainDialog());

  ClickButton(box, IDOK);
  ExpectEndsWithZero(setup);
  EXPECT_FALSE(setup.ShowsMainDialog());
}

// The intro comes first and closes by itself after its time, or early on a click or a key.
TEST_F(MainDialogTest, IntroClosesByItselfOrOnAClickOrKey) {
  enum class Way { kWait, kClick, kKey };
  for (Way way : {Way::kWait, Way::kClick, Way::kKey}) {
    SCOPED_TRACE(static_cast<int>(way));
    SetupProcess setup(medium_.directory, "");
    ASSERT_TRUE(setup.Started()) << setup.StartError();
    HWND intro = setup.WaitForIntro(kStartTimeout);
    ASSERT_NE(intro, nullptr) << "no intro; the program is " << setup.Describe();
    const auto shown = std::chrono::steady_clock::now();
    EXPECT_FALSE(setup.ShowsMainDialog());
    if (way == Way::kWait) {
      ASSERT_TRUE(WaitUntilGone(intro, kStepTimeout));
      EXPECT_GE(std::chrono::steady_clock::now() - shown, kIntroMinimum);
    } else {
      way == Way::kClick ? ClickInto(intro) : PressKey(intro, 'A');
      EXPECT_TRUE(WaitUntilGone(intro, kEarlyClose));
    }
    HWND dialog = setup.WaitForMainDialog(kStepTimeout);
    ASSERT_NE(dialog, nullptr) << "no main dialog; the program is " << setup.Describe();
    ClickButton(dialog, kExitButton);
    ExpectEndsWithZero(setup);
  }
}

}  // namespace
}  // namespace e2e
