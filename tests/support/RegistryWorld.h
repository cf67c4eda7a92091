#pragma once

#include <string>
#include <vector>

#include "support/AppWorld.h"
#include "sysconfig/RegistryAccess.h"

namespace setup {

// The doubles of AppWorld with English texts, the registry reporters' texts being short
// formats that show their arguments.
struct RegistryWorld : AppWorld {
  RegistryWorld() {
    FillCatalogue(state->Catalogue, "EN");
    state->Catalogue.SetText(text::ERR_CFG_NOKEY, "no key %s");
    state->Catalogue.SetText(text::ERR_CFG_NOKEYMODIFY, "no change %s");
    state->Catalogue.SetText(text::ERR_CFG_NOVALMODIFY, "no value %s %s");
    state->Catalogue.SetText(text::ERR_CFG_NOVALQUERY, "no query %s");
    state->Catalogue.SetText(text::ERR_CFG_NOAUTOEXEC, "no file %s");
  }

  // What the install edits: AutoExec.NT and the service group list.
  void PutMachine() {
    files.PutFile("C:\\WINNT\\system32\\AutoExec.NT", "REM\r\n");
    registry.PutValue(std::string(kServiceGroupOrderKeyPath), "List", Registry::kMultiSz,
                      std::string("NDIS\0\0", 6));
  }

  std::vector<std::string> Messages() const { return prompts.Texts(FakePrompts::Kind::Message); }
};

}  // namespace setup
