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

Medium LoadMedium(const std::string& directory) {
  Medium medium{directory, {}, {}};
  setup::Win32Files files;
  setup::FakePrompts prompts;
  setup::ReadLanguageTable(files, prompts, {directory, "SETUP.KVX"}, medium.languages);
  if (medium.languages.count > 0)
    setup::LoadStringCatalogue(files, prompts, directory, medium.languages, 0, medium.first);
  return medium;
}

}  // namespace e2e

int main(int argc, char** argv) {
  std::string mediumDirectory = e2e::BesideThisProgram("medium");
  std::vector<char*> testArguments;
  for (int i = 0; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with("--medium=")) {
      mediumDirectory = argument.substr(9);
    } else if (argument.starts_with("--screenshots=")) {
      const std::string directory(argument.substr(14));
      CreateDirectoryA(directory.c_str(), nullptr);
      e2e::SetScreenshotDirectory(directory);
    } else {
      testArguments.push_back(argv[i]);
    }
  }
  e2e::theMedium = e2e::LoadMedium(mediumDirectory);
  if (e2e::theMedium.languages.count == 0) {
    std::fprintf(stderr, "no languages in %s\\SETUP.KVX\n", mediumDirectory.c_str());
    return 1;
  }
  int testArgc = static_cast<int>(testArguments.size());
  ::testing::InitGoogleTest(&testArgc, testArguments.data());
  return RUN_ALL_TESTS();
}
