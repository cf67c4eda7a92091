#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/RegistryWorld.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceGroupOrder.h"
#include "win32/Win32Registry.h"

namespace setup {
namespace {

const std::string kKey(kServiceGroupOrderKeyPath);

// The group order of the test prefix, seeded with the list of Windows NT 4.0, edited through
// advapi32 and written back as it was, whatever the test did to it.
class ServiceGroupOrderWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = List();
    ASSERT_NE(original_.find(std::string("\0NDIS\0", 6)), std::string::npos)
        << "the prefix holds no Windows NT 4.0 group order";
  }
  void TearDown() override {
    const CreatedKey key(registry_, kKey);
    EXPECT_EQ(registry_.SetValue(key.key(), "List", REG_MULTI_SZ, original_.data(),
                                 static_cast<std::uint32_t>(original_.size())),
              ERROR_SUCCESS);
  }

  // The stored bytes, read apart from the code under test.
  static std::string List() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return "(no key)";
    std::string bytes(65536, '\0');
    DWORD size = static_cast<DWORD>(bytes.size()), type = 0;
    const LONG status =
        RegQueryValueExA(key, "List", nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_MULTI_SZ) return "(no list)";
    bytes.resize(size);
    return bytes;
  }

  RegistryWorld world_;
  Win32Registry registry_;
  Services services_{world_.files,   world_.expander, world_.system,       registry_,
                     world_.prompts, world_.host,     world_.programGroups};
  std::string original_;
};

TEST_F(ServiceGroupOrderWin32Test, InsertsBeforeNdisOnceAndRemovesAgain) {
  std::string inserted = original_;
  inserted.insert(original_.find(std::string("\0NDIS\0", 6)) + 1, std::string("CAPI20\0", 7));

  EXPECT_EQ(InsertGroupIntoServiceOrder(services_, *world_.state), 1);
  EXPECT_EQ(List(), inserted);
  EXPECT_EQ(InsertGroupIntoServiceOrder(services_, *world_.state), 1);
  EXPECT_EQ(List(), inserted);
  EXPECT_EQ(RemoveGroupFromServiceOrder(services_, *world_.state), 1);
  EXPECT_EQ(List(), original_);
  EXPECT_TRUE(world_.Messages().empty());
}

}  // namespace
}  // namespace setup
