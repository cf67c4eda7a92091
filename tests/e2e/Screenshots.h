#pragma once

#include <string>

#include "e2e/MediumTexts.h"

namespace e2e {

// Walks SETUP.EXE through its windows and saves an image of each into `directory`:
// intro.bmp, then main-dialog-<language>.bmp for every language, chosen in the language box
// as a user would. Returns the process exit status for the driver: 0 when every image was
// saved and the program ended normally.
int TakeScreenshots(const Medium& medium, const std::string& directory);

}  // namespace e2e
