#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Writes what the screen shows of `window`, frame included, as a 24-bit BMP file.
bool SaveWindowImage(HWND window, const std::string& path);

}  // namespace e2e
