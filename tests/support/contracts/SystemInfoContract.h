#pragma once

// What every SystemInfo must report as Windows NT does. Include once per test program and
// instantiate with INSTANTIATE_TEST_SUITE_P(Name, SystemInfoContract, Values(...)).

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>
#include <string>

#include "platform/Files.h"
#include "platform/SystemInfo.h"

namespace setup {

// A SystemInfo with the file system it describes.
struct SystemInfoContractWorld {
  std::unique_ptr<SystemInfo> system;
  std::unique_ptr<Files> files;
};

struct SystemInfoContractSubject {
  std::string name;
  std::function<SystemInfoContractWorld()> make;
};

class SystemInfoContract : public ::testing::TestWithParam<SystemInfoContractSubject> {
 protected:
  void SetUp() override {
    world_ = GetParam().make();
    system_ = world_.system.get();
  }

  static bool IsAbsolute(const std::string& path) {
    return path.size() > 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           path[2] == '\\';
  }

  SystemInfoContractWorld world_;
  SystemInfo* system_ = nullptr;
};

inline std::string SystemInfoContractName(
    const ::testing::TestParamInfo<SystemInfoContractSubject>& info) {
  return info.param.name;
}

TEST_P(SystemInfoContract, NtWithASystemDirectoryThatTakesAFile) {
  EXPECT_EQ(system_->PlatformId(), 2u);
  const std::string dir = system_->SystemDirectory();
  EXPECT_TRUE(IsAbsolute(dir)) << dir;
  EXPECT_NE(dir.back(), '\\') << dir;
  // The rights check creates its probe file there.
  const std::string probe = dir + "\\KVXContract.$$$";
  const Files::Handle file = world_.files->Create(probe);
  ASSERT_NE(file, Files::kInvalid) << probe;
  world_.files->Close(file);
  EXPECT_TRUE(world_.files->Delete(probe));
}

// The program's own file name is derived from it.
TEST_P(SystemInfoContract, ModulePathNamesAProgramFile) {
  const std::string path = system_->ModulePath();
  EXPECT_TRUE(IsAbsolute(path)) << path;
  ASSERT_GT(path.size(), 4u);
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(extension, ".exe") << path;
  EXPECT_TRUE(OpenForReading(*world_.files, path).valid()) << path;
}

}  // namespace setup
