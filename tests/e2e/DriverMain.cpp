// Runs SETUP.EXE from a medium (default: "medium" beside the driver) and checks what it shows,
// saving an image of each window it meets with --screenshots.  [--medium=DIR] [--screenshots=DIR]
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/Harness.h"
#include "support/FakePrompts.h"
#include "win32/Win32Files.h"

namespace e2e {

Medium theMedium;

const Medium& TheMedium() {
  return theMedium;
}

}  // namespace e2e

int main(int argc, char** argv) {
  e2e::Medium& medium = e2e::theMedium;
  medium.directory = e2e::BesideThisProgram("medium");
  std::vector<char*> testArguments;
  for (int i = 0; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with("--medium=")) {
      medium.directory = argument.substr(9);
    } else if (argument.starts_with("--screenshots=")) {
      e2e::SetScreenshotDirectory(std::string(argument.substr(14)));
    } else {
      testArguments.push_back(argv[i]);
    }
  }
  setup::Win32Files files;
  setup::FakePrompts prompts;
  setup::ReadLanguageTable(files, prompts, {medium.directory, "SETUP.KVX"}, medium.languages);
  if (medium.languages.count == 0) {
    std::fprintf(stderr, "no languages in %s\\SETUP.KVX\n", medium.directory.c_str());
    return 1;
  }
  setup::LoadStringCatalogue(files, prompts, medium.directory, medium.languages, 0, medium.first);
  int testArgc = static_cast<int>(testArguments.size());
  ::testing::InitGoogleTest(&testArgc, testArguments.data());
  return RUN_ALL_TESTS();
}
