#include "e2e/WindowCapture.h"

#include <cstdint>
#include <memory>
#include <type_traits>

#include "e2e/MediumTexts.h"

namespace e2e {
namespace {

struct ScreenDcRelease {
  void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DcDelete {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDelete {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, ScreenDcRelease>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDelete>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDelete>;

template <typename T>
void Append(std::string& out, T value) {
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    out += static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
  }
}

}  // namespace

bool SaveWindowImage(HWND window, const std::string& path) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) return false;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  if (width <= 0 || height <= 0) return false;

  ScreenDc screen(GetDC(nullptr));
  MemoryDc memory(CreateCompatibleDC(screen.get()));
  if (!screen || !memory) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up rows, as BMP files store them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return false;
  HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  const bool copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), frame.left, frame.top,
                             SRCCOPY | CAPTUREBLT) != 0;
  GdiFlush();
  SelectObject(memory.get(), previous);
  if (!copied) return false;

  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
  const std::uint32_t headersSize = 14 + sizeof(BITMAPINFOHEADER);
  std::string file;
  file += "BM";
  Append<std::uint32_t>(file, headersSize + imageSize);
  Append<std::uint32_t>(file, 0);
  Append<std::uint32_t>(file, headersSize);
  Append<std::uint32_t>(file, sizeof(BITMAPINFOHEADER));
  Append<std::int32_t>(file, width);
  Append<std::int32_t>(file, height);
  Append<std::uint16_t>(file, 1);
  Append<std::uint16_t>(file, 24);
  Append<std::uint32_t>(file, BI_RGB);
  Append<std::uint32_t>(file, imageSize);
  Append<std::int32_t>(file, 2835);  // 72 dots per inch
  Append<std::int32_t>(file, 2835);
  Append<std::uint32_t>(file, 0);
  Append<std::uint32_t>(file, 0);
  file.append(static_cast<const char*>(bits), imageSize);
  return WriteFileBytes(path, file);
}

}  // namespace e2e
