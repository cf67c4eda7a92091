#include <windows.h>

#include "support/contracts/RegistryContract.h"
#include "win32/Win32Registry.h"

namespace setup {
namespace {

class Win32Env {
 public:
  Registry& registry() { return registry_; }
  // Two test programs at once never share a tree.
  std::string scratch() const {
    return "SOFTWARE\\KVXContract" + std::to_string(GetCurrentProcessId());
  }
  std::string ClassOf(const std::string& path) const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return "(no key)";
    char keyClass[64] = {};
    DWORD length = sizeof keyClass;
    const LONG status = RegQueryInfoKeyA(key, keyClass, &length, nullptr, nullptr, nullptr, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(keyClass, length) : "(no class)";
  }

 private:
  Win32Registry registry_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Env);

}  // namespace
}  // namespace setup
