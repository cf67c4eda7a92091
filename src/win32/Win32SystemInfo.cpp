#include "win32/Win32SystemInfo.h"

#include <windows.h>

#include <memory>
#include <type_traits>

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

namespace {

struct LibraryFree {
  void operator()(HMODULE library) const { FreeLibrary(library); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFree>;

// WINAPI matters on i686: the function pops its own arguments, and a caller of the wrong
// convention would leave them on the stack.
using CapiGetVersion = DWORD(WINAPI*)(DWORD*, DWORD*, DWORD*, DWORD*);

}  // namespace

std::optional<CapiVersion> Win32SystemInfo::CapiDllVersion(const std::string& dllName) {
  // A DLL that is there but misses one of its own imports would otherwise bring up a system
  // box; the caller reports such a DLL like a missing one.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const Library library(LoadLibraryA(dllName.c_str()));
  SetErrorMode(previousMode);
  if (!library) return std::nullopt;
  // Through void*: a direct cast between function pointer types draws -Wcast-function-type.
  const auto query = reinterpret_cast<CapiGetVersion>(
      reinterpret_cast<void*>(GetProcAddress(library.get(), "CAPI_GET_VERSION")));
  if (!query) return std::nullopt;
  DWORD capiMajor = 0, capiMinor = 0, manufacturerMajor = 0, manufacturerMinor = 0;
  query(&capiMajor, &capiMinor, &manufacturerMajor, &manufacturerMinor);
  return CapiVersion{capiMajor, capiMinor, manufacturerMajor, manufacturerMinor};
}

}  // namespace setup
