// The test doubles against the contracts the Win32 adapters pass too.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/AppWorld.h"
#include "support/PortContracts.h"

namespace setup {
namespace {

// The doubles of AppWorld, acted on as a user would through the real ones.
class DoublesEnv {
 public:
  DoublesEnv() {
    w_.files.MakeDirectories(scratch());
    w_.files.PutFile(w_.system.modulePath, "MZ");
    w_.system.capiDlls["CAPI2032.DLL"] = {2, 0, 2, 105};
    unreachable_.BeUnreachable();
  }

  Files& files() { return w_.files; }
  std::string scratch() const { return "C:\\Scratch"; }
  void SetLastWriteTime(const std::string& path, std::uint64_t time) {
    w_.files.SetLastWriteTime(path, time);
  }

  Expander& expander() { return w_.expander; }
  // A copy of the build tree's SZDD files.
  std::string fixtures() {
    for (const auto& entry : std::filesystem::directory_iterator(SETUP_SZDD_DIR)) {
      std::ostringstream bytes;
      bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
      w_.files.PutFile("C:\\Fixtures\\" + entry.path().filename().string(), bytes.str());
    }
    return "C:\\Fixtures";
  }

  SystemInfo& system() { return w_.system; }
  std::string capiDll() const { return "capi2032.dll"; }
  std::string otherDll() const { return "LZ32.DLL"; }

  DialogHost& host() { return w_.host; }
  void Press(const char* name, int id) {
    w_.host.OnShow(name, [id](FakeDialogView& view, Dialog& d) { d.OnCommand(view, id, 0); });
  }
  void Close(const char* name) { Act(name, &Dialog::OnClose); }
  void Click(const char* name) { Act(name, &Dialog::OnClickOrKey); }
  void Escape(const char* name) { Click(name); }
  void Wait(const char* name) { w_.host.OnShow(name, FakeDialogHost::ElapseTimers); }
  void Missing(const char* name) { w_.host.MissingTemplate(name); }
  // One round of timers ends the window the contract pumps.
  void PumpUntil(WindowRef window, const std::function<bool()>&) {
    if (FakeDialogView* view = w_.host.Modeless(window))
      FakeDialogHost::ElapseTimers(*view, view->dialog());
  }
  bool Visible(WindowRef window) const {
    for (const auto& view : w_.host.views())
      if (view->Window() == window) return view->visible();
    return false;
  }

  Prompts& prompts() { return w_.prompts; }
  void WillAnswer(Asked asked, int result) {
    if (asked == Asked::Message)
      w_.prompts.AnswerMessage(result);
    else
      w_.prompts.Answer(result);
  }
  void WillClose(Asked asked) { WillAnswer(asked, -1); }
  void WillCancelProgress(Confirm confirm) {
    w_.prompts.CancelProgressAfter(0, confirm != Confirm::No);
  }
  bool UserDone() const { return !w_.prompts.cancelPending(); }
  std::string ShownText() const { return w_.prompts.shown().back().text; }
  bool OfferedAll() const {
    return w_.prompts.shown().back().kind == FakePrompts::Kind::QuestionWithAll;
  }

  ProgramGroups& groups() { return w_.programGroups; }
  ProgramGroups& nowhere() { return unreachable_; }
  std::vector<std::string> Received(std::size_t) const { return w_.programGroups.commands; }

 private:
  void Act(const char* name, void (Dialog::*event)(DialogView&)) {
    w_.host.OnShow(name, [event](FakeDialogView& view, Dialog& d) { (d.*event)(view); });
  }

  AppWorld w_;
  RecordingProgramGroups unreachable_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Doubles, FilesContract, DoublesEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Doubles, ExpanderContract, DoublesEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Doubles, SystemInfoContract, DoublesEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Doubles, DialogHostContract, DoublesEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Doubles, PromptsContract, DoublesEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Doubles, ProgramGroupsContract, DoublesEnv);

class MemoryEnv {
 public:
  MemoryEnv() { registry_.AddKey("SOFTWARE"); }
  Registry& registry() { return registry_; }
  std::string scratch() const { return "SOFTWARE\\KVXContract"; }
  std::string ClassOf(const std::string& path) const { return registry_.ClassOf(path); }

 private:
  MemoryRegistry registry_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryEnv);

}  // namespace
}  // namespace setup
