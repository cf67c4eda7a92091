#include <windows.h>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "state/ProgramState.h"
#include "ui/DialogPrompts.h"
#include "unattended/UnattendedRun.h"
#include "win32/Win32AdminFiles.h"
#include "win32/Win32DialogHost.h"
#include "win32/Win32Expander.h"
#include "win32/Win32Files.h"
#include "win32/Win32ProgramGroups.h"
#include "win32/Win32Registry.h"
#include "win32/Win32SystemInfo.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  using namespace setup;
  // Static: the catalogue alone is some 150 KB, too much for the stack of the only thread.
  static ProgramState state;
  Win32Files files;
  Win32Expander expander;
  Win32SystemInfo system;
  Win32Registry registry;
  Win32DialogHost host(instance);
  DialogPrompts prompts(host, state.Catalogue);
  Win32ProgramGroups programGroups;
  Services services{files, expander, system, registry, prompts, host, programGroups};
  const std::string_view arguments = commandLine ? commandLine : "";
  if (SilentRequested(arguments)) {
    Win32Profiles profiles;
    Win32LogWriter logWriter;
    AdminPorts admin{profiles, logWriter};
    return RunUnattended(services, admin, state, arguments);
  }
  return RunSetup(services, state, arguments);
}
