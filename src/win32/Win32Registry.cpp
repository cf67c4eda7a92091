#include "win32/Win32Registry.h"

#include <windows.h>

namespace setup {

std::int32_t Win32Registry::OpenKey(const std::string& path, Access access, Key& key) {
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0,
                                    access == Access::All ? KEY_ALL_ACCESS : KEY_READ, &opened);
  if (status == ERROR_SUCCESS) key = reinterpret_cast<Key>(opened);
  return status;
}

void Win32Registry::CloseKey(Key key) {
  RegCloseKey(reinterpret_cast<HKEY>(key));
}

}  // namespace setup
