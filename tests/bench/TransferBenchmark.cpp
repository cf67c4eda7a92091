// Times the install's three batches on a medium, with the real LZ32 and the program's progress
// window. Prints "transfer_ms N". Used by scripts/bench-transfer.sh, which lays out the medium
// and times the same files with cp and msexpand.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "install/FileTransfer.h"
#include "support/AppWorld.h"
#include "ui/DialogPrompts.h"
#include "win32/Win32DialogHost.h"
#include "win32/Win32Expander.h"
#include "win32/Win32Files.h"

int main(int argc, char** argv) {
  using namespace setup;
  if (argc != 4) {
    std::fprintf(stderr, "usage: transfer_bench MEDIUM DESTINATION WINDOWS\n");
    return 2;
  }
  Win32Files files;
  Win32Expander expander;
  FixedSystemInfo system;
  system.windowsDirectory = argv[3];
  MemoryRegistry registry;
  auto state = std::make_unique<ProgramState>();
  FillCatalogue(state->Catalogue, "EN");
  state->SourceDir.Assign(argv[1]);
  state->InstallDestDir.Assign(argv[2]);
  Win32DialogHost host(GetModuleHandleA(nullptr));
  DialogPrompts prompts(host, state->Catalogue);
  RecordingProgramGroups programGroups;
  Services services{files, expander, system, registry, prompts, host, programGroups};

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const WindowRef progress = prompts.OpenProgressWindow(kNoWindow, true, true);
  const int results[] = {CopySetupFiles(services, *state, progress, kNoWindow, argv[1], argv[2]),
                         InstallAddFiles(services, *state, progress, kNoWindow, argv[1], argv[2]),
                         InstallCompFiles(services, *state, progress, kNoWindow, argv[1])};
  prompts.CloseProgressWindow(progress);
  QueryPerformanceCounter(&end);
  for (int result : results)
    if (result != 1) {
      std::fprintf(stderr, "a batch gave %d\n", result);
      return 1;
    }
  std::printf("transfer_ms %lld\n", (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
  return 0;
}
