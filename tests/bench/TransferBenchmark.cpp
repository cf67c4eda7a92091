// Times the install's three batches on a medium with the real LZ32: as the dialogs run them,
// behind the progress window, or with "unattended" as /s runs them, every change logged.
// Prints "transfer_ms N" for scripts/bench-transfer.sh.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "install/FileTransfer.h"
#include "support/AppWorld.h"
#include "ui/DialogPrompts.h"
#include "unattended/ChangeLog.h"
#include "unattended/Policy.h"
#include "win32/Win32AdminFiles.h"
#include "win32/Win32DialogHost.h"
#include "win32/Win32Expander.h"
#include "win32/Win32Files.h"

namespace {

using namespace setup;

// The three batches from `medium`; the milliseconds they took, or -1 when one failed.
long long TimeTransfer(Services& services, ProgramState& state, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  Prompts& prompts = services.prompts;
  const WindowRef progress = prompts.OpenProgressWindow(kNoWindow, true, true);
  const int results[] = {CopySetupFiles(services, state, progress, kNoWindow, argv[1], argv[2]),
                         InstallAddFiles(services, state, progress, kNoWindow, argv[1], argv[2]),
                         InstallCompFiles(services, state, progress, kNoWindow, argv[1])};
  prompts.CloseProgressWindow(progress);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  for (int result : results)
    if (result != 1) {
      std::fprintf(stderr, "a batch gave %d\n", result);
      return -1;
    }
  return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

}  // namespace

int main(int argc, char** argv) {
  const bool unattended = argc == 5 && std::string(argv[4]) == "unattended";
  if (argc != 4 && !unattended) {
    std::fprintf(stderr, "usage: transfer_bench MEDIUM DESTINATION WINDOWS [unattended]\n");
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
  RecordingProgramGroups programGroups;
  long long milliseconds = -1;
  if (unattended) {
    Win32LogWriter logWriter;
    ChangeLog log(logWriter);
    log.SetPath(std::string(argv[2]) + ".log");
    Policy policy;
    PolicyPrompts prompts(policy, state->Catalogue, log);
    LoggedFiles loggedFiles(files, log);
    LoggedExpander loggedExpander(expander, loggedFiles);
    Services services{loggedFiles, loggedExpander, system,       registry,
                      prompts,     prompts,        programGroups};
    milliseconds = TimeTransfer(services, *state, argv);
  } else {
    Win32DialogHost host(GetModuleHandleA(nullptr));
    DialogPrompts prompts(host, state->Catalogue);
    Services services{files, expander, system, registry, prompts, host, programGroups};
    milliseconds = TimeTransfer(services, *state, argv);
  }
  if (milliseconds < 0) return 1;
  std::printf("transfer_ms %lld\n", milliseconds);
  return 0;
}
