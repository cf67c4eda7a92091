#include "support/contracts/SystemInfoContract.h"
#include "win32/Win32Files.h"
#include "win32/Win32SystemInfo.h"

namespace setup {
namespace {

class Win32Env {
 public:
  SystemInfo& system() { return system_; }
  Files& files() { return files_; }

 private:
  Win32SystemInfo system_;
  Win32Files files_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SystemInfoContract, Win32Env);

}  // namespace
}  // namespace setup
