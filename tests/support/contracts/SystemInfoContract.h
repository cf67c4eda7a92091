#pragma once

// What every SystemInfo must report as Windows NT does. `Env` gives `SystemInfo& system()`,
// `Files& files()`, the file system it describes, `capiDll()`, the name of the sample
// package's CAPI DLL (CAPI 2.0, manufacturer version 2.105) where the system finds it, and
// `otherDll()`, a DLL that loads but has no CAPI_GET_VERSION.

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>

#include "platform/Files.h"
#include "platform/SystemInfo.h"

namespace setup {

template <class Env>
class SystemInfoContract : public ::testing::Test {
 protected:
  static bool IsAbsolute(const std::string& path) {
    return path.size() > 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           path[2] == '\\';
  }

  Env env_;
};

TYPED_TEST_SUITE_P(SystemInfoContract);

TYPED_TEST_P(SystemInfoContract, NtWithASystemDirectoryThatTakesAFile) {
  EXPECT_EQ(this->env_.system().PlatformId(), 2u);
  const std::string windows = this->env_.system().WindowsDirectory();
  EXPECT_TRUE(this->IsAbsolute(windows) && IsDirectory(this->env_.files(), windows)) << windows;
  const std::string dir = this->env_.system().SystemDirectory();
  EXPECT_TRUE(this->IsAbsolute(dir)) << dir;
  EXPECT_NE(dir.back(), '\\') << dir;
  // The rights check creates its probe file there.
  const std::string probe = dir + "\\KVXContract.$$$";
  const Files::Handle file = this->env_.files().Create(probe);
  ASSERT_NE(file, Files::kInvalid) << probe;
  this->env_.files().Close(file);
  EXPECT_TRUE(this->env_.files().Delete(probe));
}

// The program's own file name is derived from it.
TYPED_TEST_P(SystemInfoContract, ModulePathNamesAProgramFile) {
  const std::string path = this->env_.system().ModulePath();
  EXPECT_TRUE(this->IsAbsolute(path)) << path;
  ASSERT_GT(path.size(), 4u);
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(extension, ".exe") << path;
  EXPECT_TRUE(OpenForReading(this->env_.files(), path).valid()) << path;
}

TYPED_TEST_P(SystemInfoContract, CapiDllAnswersOnlyWhenItLoadsAndExportsTheQuery) {
  SystemInfo& system = this->env_.system();
  const std::optional<CapiVersion> sample = system.CapiDllVersion(this->env_.capiDll());
  EXPECT_TRUE(sample && *sample == (CapiVersion{2, 0, 2, 105}));
  EXPECT_FALSE(system.CapiDllVersion("NOCAPI32.DLL"));
  EXPECT_FALSE(system.CapiDllVersion(this->env_.otherDll()));
}

REGISTER_TYPED_TEST_SUITE_P(SystemInfoContract, NtWithASystemDirectoryThatTakesAFile,
                            ModulePathNamesAProgramFile,
                            CapiDllAnswersOnlyWhenItLoadsAndExportsTheQuery);

}  // namespace setup
