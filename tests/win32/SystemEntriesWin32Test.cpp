// A full configuration written through advapi32 and kernel32 into the prefix's registry and
// AutoExec.NT (seeded as on Windows NT 4.0), exported by the system's own reg tool and compared
// with the export a reviewer checked once; then its entries taken out again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "Scratch.h"
#include "support/RegistryWorld.h"
#include "sysconfig/AutoexecNt.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceConfig.h"
#include "sysconfig/ServiceGroupOrder.h"
#include "win32/Win32Files.h"
#include "win32/Win32Registry.h"
#include "win32/Win32SystemInfo.h"

namespace setup {
namespace {

const std::string kGroups(kServiceGroupOrderKeyPath);
const std::string kNdis("\0NDIS\0", 6);

// The group order's stored bytes, read apart from the code under test.
std::string List() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kGroups.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "(no key)";
  std::string bytes(65536, '\0');
  DWORD size = static_cast<DWORD>(bytes.size()), type = 0;
  const LONG status =
      RegQueryValueExA(key, "List", nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS && type == REG_MULTI_SZ ? bytes.substr(0, size) : "(no list)";
}

// The key as "reg export" writes it, in plain text without carriage returns.
std::string Exported(std::string_view key, const std::string& file) {
  std::string command = "reg.exe export HKLM\\";
  ((command += key) += ' ') += file;
  command += " /y";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return "(reg.exe did not start)";
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  // UTF-16 with a byte order mark; the configuration is ASCII.
  const std::string wide = Bytes(file);
  std::string text;
  for (std::size_t i = 2; i + 1 < wide.size(); i += 2)
    if (wide[i] != '\r') text += wide[i];
  return text;
}

// Whatever the test did, the prefix gets its group order and AutoExec.NT back and loses the
// driver's keys.
class SystemEntriesWin32 : public ::testing::Test {
 protected:
  SystemEntriesWin32() {
    world_.state->Catalogue.SetText(text::ERR_CANTWRITE, "cannot write %s");
    world_.state->SourceDir.Assign(scratch_.path());
  }
  ~SystemEntriesWin32() override {
    if (autoexec_ != "(none)") std::ofstream(autoexecPath_, std::ios::binary) << autoexec_;
    for (std::string_view key : {kServiceKeyPath, kCapiKeyPath}) DeleteTree(std::string(key));
    if (list_.find(kNdis) == std::string::npos) return;
    const CreatedKey key(registry_, kGroups);
    registry_.SetValue(key.key(), "List", REG_MULTI_SZ, list_.data(),
                       static_cast<std::uint32_t>(list_.size()));
  }

  void DeleteTree(const std::string& path) {
    std::vector<std::string> names;
    {
      const OpenKey key(registry_, path, Registry::Access::Read);
      std::string name;
      for (std::uint32_t i = 0;
           key.ok() && registry_.EnumSubkey(key.key(), i, name) == Registry::kSuccess; ++i)
        names.push_back(name);
    }
    for (const std::string& name : names) DeleteTree(path + "\\" + name);
    registry_.DeleteKey(path);
  }

  ScratchFolder scratch_{"system-entries"};
  RegistryWorld world_;
  Win32Registry registry_;
  Win32Files files_;
  Win32SystemInfo system_;
  Services services_{files_,      world_.expander,     system_, registry_, world_.prompts,
                     world_.host, world_.programGroups};
  const std::string list_ = List();
  const std::string autoexecPath_ = system_.SystemDirectory() + "\\AutoExec.NT";
  const std::string autoexec_ = Bytes(autoexecPath_);
};

TEST_F(SystemEntriesWin32, ConfigurationExportsAsReviewedAndItsEntriesComeOutByteForByte) {
  ASSERT_NE(list_.find(kNdis), std::string::npos) << "the prefix holds no NT 4.0 group order";
  ASSERT_NE(autoexec_, "(none)") << autoexecPath_ << " was not seeded";
  std::string groups = list_, block = "\r\n";
  groups.insert(list_.find(kNdis) + 1, std::string("CAPI20\0", 7));
  for (std::string_view line : kAutoexecBlock) (block += line) += "\r\n";
  std::ofstream(scratch_.path() + "\\SETUP.KVX", std::ios::binary)
      << "[PROTOCOL]\r\n1\r\nX31\r\nvmx31.sys\r\n2\r\n[MAINTENANCE]\r\n!MAINTENANCE_FULL\r\n2\r\n"
         "0\r\nservice\r\nvelmar\r\n1\r\n5550100,1\r\n2\r\n5550199,\r\n5550142,7\r\n";

  ProgramState& state = *world_.state;
  int found = 0;
  ASSERT_EQ(FindCapiControllerNumber(services_, found), 1u);
  DriverServiceConfig config;
  InitServiceConfigDefaults(services_, state, 1, config);
  config.NumberOfControllers = 2;
  ASSERT_EQ(GetScriptNewImagePath(files_, world_.prompts, state.Script(), "X31", config.ImagePath),
            1);
  EXPECT_EQ(WriteServiceConfig(services_, state, 1, config), 1);
  for (std::uint32_t i = 0; i < 2; ++i)
    EXPECT_EQ(WriteAdapterConfig(services_, state, {2, 0x250u + 0x100u * i, 5u + i, {}},
                                 static_cast<int>(i), 0),
              1);
  EXPECT_EQ(Exported(kCapiKeyPath, scratch_.path() + "\\capi.reg") +
                Exported(kServiceKeyPath, scratch_.path() + "\\service.reg"),
            Bytes(BesideThisProgram("fixtures\\velmar-config.reg")));
  EXPECT_EQ(List(), groups);
  EXPECT_EQ(Bytes(autoexecPath_), autoexec_ + block);

  EXPECT_EQ(InsertGroupIntoServiceOrder(services_, state), 1);  // never twice
  EXPECT_EQ(List(), groups);
  EXPECT_EQ(RemoveGroupFromServiceOrder(services_, state), 1);
  EXPECT_EQ(List(), list_);
  {
    // Windows renames nothing over a file another handle holds open.
    OpenFile reader = OpenForReading(files_, autoexecPath_);
    EXPECT_EQ(RemoveAutoexecBlock(services_, state), 0);
  }
  EXPECT_EQ(Bytes(autoexecPath_), autoexec_ + block);
  EXPECT_EQ(RemoveAutoexecBlock(services_, state), 1);
  EXPECT_EQ(Bytes(autoexecPath_), autoexec_ + "\r\n");
  EXPECT_EQ(files_.Attributes(system_.SystemDirectory() + "\\AutoTmp.$$$"), std::nullopt);
  EXPECT_EQ(world_.Messages(), std::vector<std::string>{"cannot write " + autoexecPath_});
}

}  // namespace
}  // namespace setup
