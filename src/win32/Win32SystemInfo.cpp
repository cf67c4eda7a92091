#include "win32/Win32SystemInfo.h"

#include <windows.h>

namespace setup {

std::string Win32SystemInfo::WindowsDirectory() {
  char path[MAX_PATH] = {};
  const UINT n = GetWindowsDirectoryA(path, MAX_PATH);
  return n < MAX_PATH ? std::string(path, n) : std::string();
}

std::string Win32SystemInfo::SystemDirectory() {
  char path[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryA(path, MAX_PATH);
  return n < MAX_PATH ? std::string(path, n) : std::string();
}

std::uint32_t Win32SystemInfo::PlatformId() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return 0;
  return version.dwPlatformId;
}

std::string Win32SystemInfo::ModulePath() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return n < MAX_PATH ? std::string(path, n) : std::string();
}

LocalDate Win32SystemInfo::Today() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

void Win32SystemInfo::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

}  // namespace setup
