#pragma once

// Windows and what the screen shows of them, seen from outside: by the Wine-run tests in the
// program's own process and by the end-to-end driver in another.

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace probe {

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

// The windows of `root`'s tree (itself first, then its descendants in order) that the look
// subclassed, as "class id" lines.
inline std::vector<std::string> SubclassedWindows(HWND root) {
  std::vector<HWND> tree{root};
  EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&tree));
  std::vector<std::string> found;
  for (HWND window : tree) {
    if (!GetPropA(window, "C3dNew")) continue;
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    found.push_back(std::string(name) + " " + std::to_string(GetDlgCtrlID(window)));
  }
  return found;
}

// What the screen shows of a window's rectangle.
class ScreenImage {
 public:
  explicit ScreenImage(HWND window) {
    GetWindowRect(window, &area_);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width(), -Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (bits && BitBlt(memory, 0, 0, Width(), Height(), screen, area_.left, area_.top, SRCCOPY)) {
      GdiFlush();
      const auto* first = static_cast<const std::uint32_t*>(bits);
      pixels_.assign(first, first + static_cast<std::size_t>(Width()) * Height());
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }

  bool Read() const { return !pixels_.empty(); }
  bool operator==(const ScreenImage& other) const { return pixels_ == other.pixels_; }

  // As a 32-bit BMP file with its rows from the top.
  bool SaveBmp(const std::string& path) const {
    if (!Read()) return false;
    const BITMAPINFOHEADER header{sizeof header, Width(), -Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD bytes = static_cast<DWORD>(pixels_.size() * sizeof pixels_[0]);
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof file + sizeof header};  // "BM"
    file.bfSize = file.bfOffBits + bytes;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(pixels_.data()), bytes);
    return static_cast<bool>(out);
  }

 private:
  int Width() const { return area_.right - area_.left; }
  int Height() const { return area_.bottom - area_.top; }

  RECT area_{};
  std::vector<std::uint32_t> pixels_;
};

// Makes Wine tell `program` ("SETUP.EXE") it runs on `version` ("nt351", "nt40", ...) while
// the object lives; the program sees it when it is started meanwhile.
class WineVersionFor {
 public:
  WineVersionFor(const std::string& program, const char* version)
      : key_("Software\\Wine\\AppDefaults\\" + program) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key_.c_str(), "Version", REG_SZ, version,
                    static_cast<DWORD>(std::string(version).size() + 1));
  }
  ~WineVersionFor() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
  WineVersionFor(const WineVersionFor&) = delete;
  WineVersionFor& operator=(const WineVersionFor&) = delete;

 private:
  std::string key_;
};

}  // namespace probe
