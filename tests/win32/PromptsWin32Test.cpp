#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "ScriptedUser.h"
#include "support/AppWorld.h"
#include "support/contracts/PromptsContract.h"
#include "ui/DialogPrompts.h"
#include "win32/Win32DialogHost.h"

namespace setup {
namespace {

// The button of the templates that gives `result`, as a user finds it.
int ButtonFor(Asked asked, int result) {
  if (asked == Asked::Message) return 0;
  static const std::map<int, int> buttons = {{Prompts::kYes, 111},   {Prompts::kAll, 113},
                                             {Prompts::kNo, 112},    {Prompts::kCancel, 1},
                                             {Prompts::kRetry, 114}, {Prompts::kIgnore, 115}};
  return buttons.at(result);
}

class Win32PromptsEnv {
 public:
  Win32PromptsEnv() { FillCatalogue(catalogue_, "EN"); }

  Prompts& prompts() { return prompts_; }

  void WillAnswer(Asked asked, int result) { user_.Press(ButtonFor(asked, result)); }
  void WillClose(Asked) { user_.Close(); }
  void WillCancelProgress(Confirm confirm) {
    user_.Press(1);
    if (confirm != Confirm::NotAsked) user_.Press(confirm == Confirm::Yes ? IDYES : IDNO);
  }
  bool UserDone() const { return user_.Done(); }
  std::string ShownText() const { return user_.seenText(); }
  bool OfferedAll() const { return user_.SawControl(113); }
  void Pump(WindowRef window) { prompts_.PumpMessages(window); }

 private:
  StringCatalogue catalogue_;
  Win32DialogHost host_{GetModuleHandleA(nullptr)};
  DialogPrompts prompts_{host_, catalogue_};
  ScriptedUser user_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, PromptsContract, Win32PromptsEnv);

std::vector<std::string> sentTexts;
WNDPROC staticProcedure = nullptr;

LRESULT CALLBACK RecordTexts(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) sentTexts.emplace_back(reinterpret_cast<const char*>(lParam));
  return CallWindowProcA(staticProcedure, window, message, wParam, lParam);
}

TEST(DialogPromptsWin32, ProgressTextIsSentAgainEvenWhenUnchanged) {
  StringCatalogue catalogue;
  Win32DialogHost host(GetModuleHandleA(nullptr));
  DialogPrompts prompts(host, catalogue);
  const WindowRef window = prompts.OpenProgressWindow(kNoWindow, false, false);
  HWND dialog = reinterpret_cast<HWND>(window);
  HWND text = GetDlgItem(dialog, 603);
  ASSERT_NE(text, nullptr);
  sentTexts.clear();
  staticProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(text, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordTexts)));

  prompts.SetProgressText(window, "Copying VELMAR.SYS");
  prompts.SetProgressText(window, "Copying VELMAR.SYS");
  // Each text is preceded by an empty one, so that the static repaints every time.
  EXPECT_EQ(sentTexts,
            (std::vector<std::string>{"", "Copying VELMAR.SYS", "", "Copying VELMAR.SYS"}));
  char shown[64] = "";
  GetWindowTextA(text, shown, sizeof shown);
  EXPECT_STREQ(shown, "Copying VELMAR.SYS");

  prompts.CloseProgressWindow(window);
  EXPECT_FALSE(IsWindow(dialog));
}

}  // namespace
}  // namespace setup
