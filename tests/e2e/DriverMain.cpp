// The end-to-end driver: runs SETUP.EXE from a medium and checks what it shows.
//   e2e_driver.exe [--medium=DIR] [GoogleTest options]   runs the tests
//   e2e_driver.exe [--medium=DIR] --screenshots=DIR [...]  runs them saving an image of each
//                                                          window they meet
// DIR of the medium defaults to "medium" beside the driver.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/Conversation.h"
#include "e2e/TheMedium.h"

namespace e2e {
namespace {

Medium theMedium;

std::string DefaultMediumDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path, length);
  directory.resize(directory.find_last_of('\\') + 1);
  return directory + "medium";
}

}  // namespace

const Medium& TheMedium() {
  return theMedium;
}

}  // namespace e2e

int main(int argc, char** argv) {
  std::string mediumDirectory = e2e::DefaultMediumDirectory();
  std::string screenshotDirectory;
  std::vector<char*> testArguments;
  for (int i = 0; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with("--medium=")) {
      mediumDirectory = argument.substr(9);
    } else if (argument.starts_with("--screenshots=")) {
      screenshotDirectory = argument.substr(14);
    } else {
      testArguments.push_back(argv[i]);
    }
  }

  e2e::theMedium = e2e::LoadMedium(mediumDirectory);
  if (e2e::theMedium.languages.empty()) {
    std::fprintf(stderr, "no languages in %s\\%s\n", mediumDirectory.c_str(), e2e::kScriptName);
    return 1;
  }
  if (!screenshotDirectory.empty()) {
    CreateDirectoryA(screenshotDirectory.c_str(), nullptr);
    e2e::SetScreenshotDirectory(screenshotDirectory);
  }
  int testArgc = static_cast<int>(testArguments.size());
  ::testing::InitGoogleTest(&testArgc, testArguments.data());
  return RUN_ALL_TESTS();
}
