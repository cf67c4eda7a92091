#pragma once

// What every SystemInfo must report as Windows NT does. `Env` gives `SystemInfo& system()`,
// `Files& files()`, the file system it describes, `capiDll()`, the name of the sample
// package's CAPI DLL (CAPI 2.0, manufacturer version 2.105) where the system finds it, and
// `otherDll()`, a DLL that loads but has no CAPI_GET_VERSION.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/Files.h"
#include "platform/SystemInfo.h"

namespace setup {

template <class Env>
class SystemInfoContract : public ::testing::Test {
 protected:
  Env env_;
};

TYPED_TEST_SUITE_P(SystemInfoContract);

// The rights check creates its probe file in the system directory; the CAPI DLL answers
// only when it loads and exports the query.
TYPED_TEST_P(SystemInfoContract, NtWithItsDirectoriesProgramAndCapiDll) {
  SystemInfo& system = this->env_.system();
  Files& files = this->env_.files();
  EXPECT_EQ(system.PlatformId(), 2u);
  const std::string windows = system.WindowsDirectory(), program = system.ModulePath();
  EXPECT_TRUE(IsDirectory(files, windows)) << windows;
  const std::string probe = system.SystemDirectory() + "\\KVXContract.$$$";
  EXPECT_TRUE(OpenFile(files, files.Create(probe)).valid()) << probe;
  EXPECT_TRUE(files.Delete(probe));
  EXPECT_TRUE(OpenForReading(files, program).valid()) << program;

  EXPECT_EQ(system.CapiDllVersion(this->env_.capiDll()), (CapiVersion{2, 0, 2, 105}));
  EXPECT_FALSE(system.CapiDllVersion("NOCAPI32.DLL"));
  EXPECT_FALSE(system.CapiDllVersion(this->env_.otherDll()));
}

REGISTER_TYPED_TEST_SUITE_P(SystemInfoContract, NtWithItsDirectoriesProgramAndCapiDll);

}  // namespace setup
