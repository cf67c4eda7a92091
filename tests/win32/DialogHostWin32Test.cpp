#include <windows.h>

#include <functional>

#include "ScriptedUser.h"
#include "support/contracts/DialogHostContract.h"
#include "win32/Win32DialogHost.h"

namespace setup {
namespace {

class Win32DialogEnv {
 public:
  DialogHost& host() { return host_; }

  void Press(const char*, int id) { user_.Press(id); }
  void Close(const char*) { user_.Close(); }
  void Click(const char*) { user_.Click(); }
  void Escape(const char*) { user_.Key(VK_ESCAPE); }
  void Wait(const char*) {}
  void Missing(const char* name) { ASSERT_EQ(FindResourceA(nullptr, name, RT_DIALOG), nullptr); }
  void PumpUntil(WindowRef window, const std::function<bool()>& done) {
    for (int i = 0; i < 50 && !done(); ++i) host_.PumpMessages(window);
  }

 private:
  Win32DialogHost host_{GetModuleHandleA(nullptr)};
  ScriptedUser user_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, DialogHostContract, Win32DialogEnv);

}  // namespace
}  // namespace setup
