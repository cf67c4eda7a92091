#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>: CSIDL_PROGRAMS.
#include <shlobj.h>

#include <fstream>
#include <string>

#include "Scratch.h"
#include "progman/ProgmanClient.h"
#include "support/AppWorld.h"
#include "win32/Win32Files.h"
#include "win32/Win32ProgramGroups.h"
#include "win32/Win32SystemInfo.h"

namespace setup {
namespace {

// The program group client to the shell of the Wine desktop, on the real files and DDEML.
// The shell makes a group a folder under the Start Menu's Programs. It refuses items that
// carry arguments, so the group is made from a block without items; the language table is
// the medium's. The desktop, and with it the shell's DDE service, starts with the first
// window of the session and takes a while to offer the service; deleting the group first is
// what the client does anyway.
TEST(ProgramGroupsWin32, ShellGroupAppearsUnderProgramsAndGoesAwayAgain) {
  AppWorld world;
  Win32Files files;
  Win32SystemInfo system;  // the client pauses between items, as the shell needs
  Win32ProgramGroups shell("PROGMAN");
  Services services{files,         world.expander, system, world.registry,
                    world.prompts, world.host,     shell};
  world.state->SourceDir.Assign(BesideThisProgram("medium"));
  ReadLanguageTable(files, world.prompts, world.state->Script(), world.state->Languages);
  GetDesktopWindow();
  const ProgramGroups::Started dde = shell.Initialize();
  bool serving = false;
  for (int waited = 0; !serving && waited < 30000; waited += 250, Sleep(250))
    serving = shell.Execute(dde.instance, "[DeleteGroup(\"Velmar CAPI 2.0\")]").outcome ==
              ProgramGroups::Outcome::Accepted;
  shell.Release(dde.instance);
  ASSERT_TRUE(serving) << "the shell offers no PROGMAN service";

  char programs[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs), S_OK);
  const std::string folder = std::string(programs) + "\\Velmar CAPI 2.0";
  const auto becomes = [&folder](bool exists) {
    for (int waited = 0; waited < 20000; waited += 100, Sleep(100)) {
      const DWORD attributes = GetFileAttributesA(folder.c_str());
      if ((attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) ==
          exists)
        return true;
    }
    return false;
  };
  ScratchFolder scratch("shell-group");
  std::ofstream(scratch.path() + "\\SETUP.KVX", std::ios::binary)
      << "[PROGMAN]\r\nVelmar CAPI 2.0\r\nEnglish\r\n0\r\n";
  CreateProgramGroup(services, *world.state, kNoWindow, scratch.path(), scratch.path());
  EXPECT_TRUE(becomes(true)) << folder;
  DeleteProgramGroup(services, *world.state, kNoWindow, scratch.path());
  EXPECT_TRUE(becomes(false)) << folder;
  for (const auto& shown : world.prompts.shown()) ADD_FAILURE() << shown.text;
}

}  // namespace
}  // namespace setup
