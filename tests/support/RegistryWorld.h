#pragma once

#include <string>
#include <vector>

#include "support/AppWorld.h"

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

  std::vector<std::string> Messages() const { return prompts.Texts(FakePrompts::Kind::Message); }
};

}  // namespace setup
