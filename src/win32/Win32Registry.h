#pragma once

#include "platform/Registry.h"

namespace setup {

// HKEY_LOCAL_MACHINE through advapi32; a key handle travels as the HKEY's full bits.
class Win32Registry : public Registry {
 public:
  std::int32_t OpenKey(const std::string& path, Access access, Key& key) override;
  std::int32_t CreateKey(const std::string& path, const std::string& keyClass, Key& key) override;
  void CloseKey(Key key) override;
  std::int32_t SetValue(Key key, const std::string& name, std::uint32_t type, const void* data,
                        std::uint32_t size) override;
  std::int32_t QueryValue(Key key, const std::string& name, std::uint32_t& type, void* data,
                          std::uint32_t& size) override;
  std::int32_t DeleteValue(Key key, const std::string& name) override;
  std::int32_t DeleteKey(const std::string& path) override;
  std::int32_t CountSubkeys(Key key, std::uint32_t& count) override;
  std::int32_t EnumSubkey(Key key, std::uint32_t index, std::string& name) override;
};

}  // namespace setup
