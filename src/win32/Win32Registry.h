#pragma once

#include "platform/Registry.h"

namespace setup {

// HKEY_LOCAL_MACHINE through advapi32; a key handle travels as the HKEY's full bits.
class Win32Registry : public Registry {
 public:
  std::int32_t OpenKey(const std::string& path, Access access, Key& key) override;
  void CloseKey(Key key) override;
};

}  // namespace setup
