#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "Scratch.h"
#include "support/AppWorld.h"
#include "win32/Win32DialogHost.h"
#include "win32/Win32Expander.h"
#include "win32/Win32Files.h"

namespace setup {

// The real files, LZ32 and the program's own dialogs (asked through `PromptsT`), around a
// scratch folder, with the registry and the system information as doubles.
template <class PromptsT>
class Win32World : public ::testing::Test {
 protected:
  explicit Win32World(const char* purpose) : scratch_(purpose) {}

  ScratchFolder scratch_;
  Win32Files files_;
  Win32Expander expander_;
  FixedSystemInfo system_;
  MemoryRegistry registry_;
  std::unique_ptr<ProgramState> state_ = std::make_unique<ProgramState>();
  Win32DialogHost host_{GetModuleHandleA(nullptr)};
  PromptsT prompts_{host_, state_->Catalogue};
  RecordingProgramGroups groups_;
  Services services_{files_, expander_, system_, registry_, prompts_, host_, groups_};
};

}  // namespace setup
