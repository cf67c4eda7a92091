#pragma once

#include "platform/Dialog.h"
#include "platform/Expander.h"
#include "platform/Files.h"
#include "platform/ProgramGroups.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

namespace setup {

// The ports the program runs on, handed to every part that needs one of them.
struct Services {
  Files& files;
  Expander& expander;
  SystemInfo& system;
  Registry& registry;
  Prompts& prompts;
  DialogHost& host;
  ProgramGroups& programGroups;
};

}  // namespace setup
