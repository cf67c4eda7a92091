// A full configuration written through advapi32, exported by the system's own reg tool and
// compared with the export a reviewer checked once.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Scratch.h"
#include "support/RegistryWorld.h"
#include "sysconfig/CapiRegistration.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceConfig.h"
#include "win32/Win32Files.h"
#include "win32/Win32Registry.h"

namespace setup {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The key as "reg export" writes it, in plain text without carriage returns.
std::string Exported(const std::string& key, const std::string& file) {
  std::string command = "reg.exe export HKLM\\" + key + " " + file + " /y";
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
  const std::string wide = ReadAll(file);
  std::string text;
  for (std::size_t i = 2; i + 1 < wide.size(); i += 2)
    if (wide[i] != '\r') text += wide[i];
  return text;
}

void DeleteTree(Registry& registry, const std::string& path) {
  std::vector<std::string> names;
  {
    OpenKey key(registry, path, Registry::Access::Read);
    if (!key.ok()) return;
    std::string name;
    for (std::uint32_t i = 0; registry.EnumSubkey(key.key(), i, name) == Registry::kSuccess; ++i)
      names.push_back(name);
  }
  for (const std::string& name : names) DeleteTree(registry, path + "\\" + name);
  registry.DeleteKey(path);
}

TEST(ServiceConfigWin32, AFullConfigurationExportsAsReviewed) {
  ScratchFolder scratch("service-config");
  RegistryWorld world;
  Win32Registry registry;
  Win32Files files;
  Services services{files,         world.expander, world.system,       registry,
                    world.prompts, world.host,     world.programGroups};
  ProgramState& state = *world.state;
  state.SourceDir.Assign(scratch.path());
  world.system.systemDirectory = scratch.path();
  std::ofstream(scratch.path() + "\\AutoExec.NT", std::ios::binary) << "REM\r\n";
  std::ofstream(scratch.path() + "\\SETUP.KVX", std::ios::binary)
      << "[PROTOCOL]\r\n1\r\nX31\r\nvmx31.sys\r\n2\r\n[MAINTENANCE]\r\n!MAINTENANCE_FULL\r\n2\r\n"
         "0\r\nservice\r\nvelmar\r\n1\r\n5550100,1\r\n2\r\n5550199,\r\n5550142,7\r\n";
  const std::string groups(kServiceGroupOrderKeyPath);
  std::uint32_t type = 0, size = 65536;
  std::string list(size, '\0');
  {
    OpenKey key(registry, groups, Registry::Access::Read);
    ASSERT_EQ(registry.QueryValue(key.key(), "List", type, list.data(), size), 0);
    list.resize(size);
  }

  int found = 0;
  ASSERT_EQ(FindCapiControllerNumber(services, found), 1u);
  DriverServiceConfig config;
  InitServiceConfigDefaults(services, state, 1, config);
  config.NumberOfControllers = 2;
  ASSERT_EQ(GetScriptNewImagePath(files, world.prompts, state.Script(), "X31", config.ImagePath),
            1);
  EXPECT_EQ(WriteServiceConfig(services, state, 1, config), 1);
  for (int i = 0; i < 2; ++i) {
    const AdapterConfig adapter{
        2, 0x250u + 0x100u * static_cast<std::uint32_t>(i), 5u + static_cast<std::uint32_t>(i), {}};
    EXPECT_EQ(WriteAdapterConfig(services, state, adapter, i, 0), 1);
  }
  const std::string exported =
      Exported(std::string(kCapiKeyPath), scratch.path() + "\\capi.reg") +
      Exported(std::string(kServiceKeyPath), scratch.path() + "\\service.reg");
  EXPECT_EQ(exported, ReadAll(BesideThisProgram("fixtures\\velmar-config.reg")));
  EXPECT_TRUE(world.Messages().empty());

  DeleteTree(registry, std::string(kServiceKeyPath));
  DeleteTree(registry, std::string(kCapiKeyPath));
  CreatedKey key(registry, groups);
  EXPECT_EQ(registry.SetValue(key.key(), "List", type, list.data(),
                              static_cast<std::uint32_t>(list.size())),
            0);
}

}  // namespace
}  // namespace setup
