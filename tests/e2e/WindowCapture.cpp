#include <cstdio>
#include <fstream>
#include <set>

#include "e2e/SetupProcess.h"

namespace e2e {
namespace {

std::string screenshotDirectory;

// What the screen shows of `window`, frame included, as a 24-bit BMP file.
bool SaveWindowImage(HWND window, const std::string& path) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) return false;
  BITMAPINFO info{};
  BITMAPINFOHEADER& header = info.bmiHeader;
  header.biSize = sizeof header;
  header.biWidth = frame.right - frame.left;
  header.biHeight = frame.bottom - frame.top;  // positive: bottom-up rows, as BMP files store
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = ((header.biWidth * 3 + 3) & ~3) * header.biHeight;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  bool saved = bits && BitBlt(memory, 0, 0, header.biWidth, header.biHeight, screen, frame.left,
                              frame.top, SRCCOPY | CAPTUREBLT);
  GdiFlush();
  if (saved) {
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(static_cast<const char*>(bits), header.biSizeImage);
    saved = static_cast<bool>(out);
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

}  // namespace

void SetScreenshotDirectory(const std::string& directory) {
  screenshotDirectory = directory;
}

void SaveScreenshot(HWND window, const std::string& name) {
  static std::set<HWND> saved;
  static int number = 0;
  if (!window || screenshotDirectory.empty() || !saved.insert(window).second) return;
  Sleep(600);  // time to finish painting after it became visible
  char prefix[8];
  std::snprintf(prefix, sizeof prefix, "\\%02d-", ++number);
  std::string path = screenshotDirectory + prefix;
  path += name + ".bmp";
  if (SaveWindowImage(window, path)) std::printf("saved %s\n", path.c_str());
}

}  // namespace e2e
