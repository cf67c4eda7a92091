#include "win32/Win32Files.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <string_view>

namespace setup {
namespace {

HANDLE ToHandle(Files::Handle file) {
  return reinterpret_cast<HANDLE>(file);
}

Files::Handle FromHandle(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? Files::kInvalid : reinterpret_cast<Files::Handle>(handle);
}

// Wine run by root writes over a read-only file where Windows refuses with access denied;
// asking first keeps the program meeting Windows' rules wherever it runs.
bool ReadOnlyFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
      !(attributes & FILE_ATTRIBUTE_READONLY))
    return false;
  SetLastError(ERROR_ACCESS_DENIED);
  return true;
}

// The byte counts of the port are signed 32-bit.
DWORD Clamp(std::uint32_t count) {
  return std::min<std::uint32_t>(count, INT32_MAX);
}

}  // namespace

// Readers share with everyone, as the old _lopen compatibility mode did, so a script or log
// that is open for reading never blocks another reader or writer.
Files::Handle Win32Files::OpenRead(const std::string& path) {
  return FromHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

Files::Handle Win32Files::OpenReadWrite(const std::string& path) {
  if (ReadOnlyFile(path)) return kInvalid;
  return FromHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

Files::Handle Win32Files::Create(const std::string& path) {
  if (ReadOnlyFile(path)) return kInvalid;
  return FromHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::int32_t Win32Files::Read(Handle file, void* buffer, std::uint32_t count) {
  DWORD done = 0;
  if (!ReadFile(ToHandle(file), buffer, Clamp(count), &done, nullptr)) return -1;
  return static_cast<std::int32_t>(done);
}

std::int32_t Win32Files::Write(Handle file, const void* buffer, std::uint32_t count) {
  DWORD done = 0;
  if (!WriteFile(ToHandle(file), buffer, Clamp(count), &done, nullptr)) return -1;
  return static_cast<std::int32_t>(done);
}

std::int32_t Win32Files::Seek(Handle file, std::int32_t offset, Origin origin) {
  const DWORD method = origin == Origin::Begin     ? FILE_BEGIN
                       : origin == Origin::Current ? FILE_CURRENT
                                                   : FILE_END;
  // Without a high part the offset is taken as signed; 0xFFFFFFFF is only an error together
  // with a last-error code, since it is also a valid position.
  SetLastError(NO_ERROR);
  const DWORD position = SetFilePointer(ToHandle(file), offset, nullptr, method);
  if (position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
  if (position > INT32_MAX) return -1;
  return static_cast<std::int32_t>(position);
}

void Win32Files::Close(Handle file) {
  CloseHandle(ToHandle(file));
}

bool Win32Files::Delete(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

std::string Win32Files::CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return std::string();
  std::string path(needed, '\0');
  const DWORD n = GetCurrentDirectoryA(needed, path.data());
  path.resize(n < needed ? n : 0);
  return path;
}

bool Win32Files::ChangeDirectory(const std::string& path) {
  return SetCurrentDirectoryA(path.c_str()) != 0;
}

std::optional<std::uint32_t> Win32Files::Attributes(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

bool Win32Files::SetAttributes(const std::string& path, std::uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

// Through the attribute data, so a file that another program holds open is still dated.
std::optional<std::uint64_t> Win32Files::LastWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

bool Win32Files::Copy(const std::string& source, const std::string& target) {
  return !ReadOnlyFile(target) && CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
}

bool Win32Files::Replace(const std::string& source, const std::string& target) {
  return !ReadOnlyFile(target) &&
         MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::optional<std::string> Win32Files::CreateTemporaryFile(const std::string& directory) {
  // Checked here, the same on every system: Windows refuses a longer one.
  if (directory.size() > kTemporaryDirectoryMax) return std::nullopt;
  char path[MAX_PATH];
  if (GetTempFileNameA(directory.c_str(), "KVX", 0, path) == 0) return std::nullopt;
  return std::string(path);
}

bool Win32Files::MakeDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32Files::DeleteDirectory(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != 0;
}

namespace {

// The volume and index that identify a file, whatever path (short names, other drive
// letters, "..") leads to it; nothing when it cannot be opened.
std::optional<std::pair<DWORD, ULONGLONG>> FileIdentity(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const BOOL known = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!known) return std::nullopt;
  return std::make_pair(info.dwVolumeSerialNumber,
                        (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
}

}  // namespace

bool Win32Files::SameFile(const std::string& a, const std::string& b) {
  const auto first = FileIdentity(a);
  return first && first == FileIdentity(b);
}

std::vector<std::string> Win32Files::Subdirectories(const std::string& path) {
  std::string pattern = path;
  if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
  pattern += '*';
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  constexpr DWORD kUnseen = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    const std::string_view name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(found.dwFileAttributes & kUnseen) && name != "." && name != "..")
      names.emplace_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string Win32Files::DriveLetters() {
  const DWORD drives = GetLogicalDrives();
  std::string letters;
  for (int i = 0; i < 26; ++i)
    if (drives & (DWORD{1} << i)) letters += static_cast<char>('A' + i);
  return letters;
}

}  // namespace setup
