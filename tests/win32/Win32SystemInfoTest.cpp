#include <windows.h>

#include "support/contracts/SystemInfoContract.h"
#include "win32/Win32Files.h"
#include "win32/Win32SystemInfo.h"

namespace setup {
namespace {

class Win32Env {
 public:
  SystemInfo& system() { return system_; }
  Files& files() { return files_; }
  // The build puts the sample's DLL beside this program, where the system looks first.
  std::string capiDll() const { return "CAPI2032.DLL"; }
  std::string otherDll() const { return "lz32.dll"; }

 private:
  Win32SystemInfo system_;
  Win32Files files_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SystemInfoContract, Win32Env);

// The DLL belongs to the installed driver: the query must not keep it loaded (or in use).
TEST(Win32SystemInfo, CapiQueryFreesTheDll) {
  ASSERT_EQ(GetModuleHandleA("CAPI2032.DLL"), nullptr);
  ASSERT_TRUE(Win32SystemInfo().CapiDllVersion("CAPI2032.DLL"));
  EXPECT_EQ(GetModuleHandleA("CAPI2032.DLL"), nullptr);
}

}  // namespace
}  // namespace setup
