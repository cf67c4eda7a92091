#include "win32/Win32Registry.h"

#include <windows.h>

namespace setup {
namespace {

HKEY Handle(Registry::Key key) {
  return reinterpret_cast<HKEY>(key);
}

}  // namespace

std::int32_t Win32Registry::OpenKey(const std::string& path, Access access, Key& key) {
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0,
                                    access == Access::All ? KEY_ALL_ACCESS : KEY_READ, &opened);
  if (status == ERROR_SUCCESS) key = reinterpret_cast<Key>(opened);
  return status;
}

std::int32_t Win32Registry::CreateKey(const std::string& path, const std::string& keyClass,
                                      Key& key) {
  HKEY created = nullptr;
  // The headers take the class as LPSTR; advapi32 only reads it.
  const LONG status =
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, const_cast<char*>(keyClass.c_str()),
                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &created, nullptr);
  if (status == ERROR_SUCCESS) key = reinterpret_cast<Key>(created);
  return status;
}

void Win32Registry::CloseKey(Key key) {
  RegCloseKey(Handle(key));
}

std::int32_t Win32Registry::SetValue(Key key, const std::string& name, std::uint32_t type,
                                     const void* data, std::uint32_t size) {
  return RegSetValueExA(Handle(key), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

std::int32_t Win32Registry::QueryValue(Key key, const std::string& name, std::uint32_t& type,
                                       void* data, std::uint32_t& size) {
  DWORD storedType = 0;
  DWORD bytes = data ? size : 0;
  const LONG status = RegQueryValueExA(Handle(key), name.c_str(), nullptr, &storedType,
                                       static_cast<BYTE*>(data), &bytes);
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    type = storedType;
    size = bytes;
  }
  return status;
}

std::int32_t Win32Registry::DeleteValue(Key key, const std::string& name) {
  return RegDeleteValueA(Handle(key), name.c_str());
}

std::int32_t Win32Registry::DeleteKey(const std::string& path) {
  return RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

std::int32_t Win32Registry::CountSubkeys(Key key, std::uint32_t& count) {
  DWORD subkeys = 0;
  const LONG status = RegQueryInfoKeyA(Handle(key), nullptr, nullptr, nullptr, &subkeys, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) count = subkeys;
  return status;
}

std::int32_t Win32Registry::EnumSubkey(Key key, std::uint32_t index, std::string& name) {
  char buffer[256];  // a key name holds at most 255 characters
  DWORD length = sizeof buffer;
  const LONG status =
      RegEnumKeyExA(Handle(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) name.assign(buffer, length);
  return status;
}

}  // namespace setup
