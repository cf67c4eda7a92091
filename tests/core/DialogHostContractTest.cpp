#include <functional>

#include "support/FakeDialog.h"
#include "support/SandboxFiles.h"
#include "support/contracts/DialogHostContract.h"

namespace setup {
namespace {

class FakeDialogEnv {
 public:
  FakeDialogEnv() {
    host_.TemplateControls("DLG_yesno", {109, 111, 112, 1});
    host_.TemplateControls("DLG_test_combo", {9});
    host_.TemplateControls("DLG_info", {603});
    host_.TemplateControls("DLG_fileversion", {0, 104, 172, 173});
    files_.MakeDirectories(directory());
    host_.ListDirectoriesOf(files_);
  }

  DialogHost& host() { return host_; }
  Files& files() { return files_; }
  std::string directory() const { return "C:\\Velmar\\Drivers"; }

  void Press(const char* name, int id) {
    host_.OnShow(name,
                 [id](FakeDialogView& view, Dialog& dialog) { dialog.OnCommand(view, id, 0); });
  }
  void Close(const char* name) {
    host_.OnShow(name, [](FakeDialogView& view, Dialog& dialog) { dialog.OnClose(view); });
  }
  void Click(const char* name) {
    host_.OnShow(name, [](FakeDialogView& view, Dialog& dialog) { dialog.OnClickOrKey(view); });
  }
  void Escape(const char* name) { Click(name); }
  void Wait(const char* name) { host_.OnShow(name, FakeDialogHost::ElapseTimers); }
  void Missing(const char* name) { host_.MissingTemplate(name); }
  void PumpUntil(WindowRef window, const std::function<bool()>& done) {
    for (int i = 0; i < 5 && !done(); ++i) {
      host_.OnPump([this] { host_.ElapseModelessTimers(); });
      host_.PumpMessages(window);
    }
  }

 private:
  SandboxFiles files_;
  FakeDialogHost host_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, DialogHostContract, FakeDialogEnv);

}  // namespace
}  // namespace setup
