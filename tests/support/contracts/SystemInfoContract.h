#pragma once

// What every SystemInfo must report as Windows NT does. Include once per test program and
// instantiate with INSTANTIATE_TEST_SUITE_P(Name, SystemInfoContract, Values(...)).

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>
#include <string>

#include "platform/SystemInfo.h"

namespace setup {

struct SystemInfoContractSubject {
  std::string name;
  std::function<std::unique_ptr<SystemInfo>()> make;
};

class SystemInfoContract : public ::testing::TestWithParam<SystemInfoContractSubject> {
 protected:
  void SetUp() override { system_ = GetParam().make(); }

  static bool IsAbsolute(const std::string& path) {
    return path.size() > 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           path[2] == '\\';
  }

  std::unique_ptr<SystemInfo> system_;
};

inline std::string SystemInfoContractName(
    const ::testing::TestParamInfo<SystemInfoContractSubject>& info) {
  return info.param.name;
}

TEST_P(SystemInfoContract, SystemDirectoryIsAnAbsolutePathWithoutTrailingBackslash) {
  const std::string dir = system_->SystemDirectory();
  EXPECT_TRUE(IsAbsolute(dir)) << dir;
  EXPECT_NE(dir.back(), '\\') << dir;
}

TEST_P(SystemInfoContract, PlatformIsWindowsNt) {
  EXPECT_EQ(system_->PlatformId(), 2u);
}

TEST_P(SystemInfoContract, ModulePathNamesAProgramFile) {
  const std::string path = system_->ModulePath();
  EXPECT_TRUE(IsAbsolute(path)) << path;
  ASSERT_GT(path.size(), 4u);
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(extension, ".exe") << path;
}

}  // namespace setup
