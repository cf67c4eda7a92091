#pragma once

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "config/ControllerListDialog.h"
#include "support/AppWorld.h"
#include "sysconfig/RegistryAccess.h"
#include "sysconfig/ServiceConfig.h"

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

  // The sample package's script and language files on the medium in drive A.
  void PutSampleMedium() {
    for (const char* name : {"SETUP.KVX", "SETUPENG.TXT", "SETUPGER.TXT"}) {
      std::ifstream in(std::string(SETUP_PACKAGE_DIR) + "/" + name, std::ios::binary);
      files.PutFile(std::string("A:\\") + name,
                    std::string(std::istreambuf_iterator<char>(in), {}));
    }
  }
  // What the install edits: AutoExec.NT and the service group list.
  void PutMachine() {
    files.PutFile("C:\\WINNT\\system32\\AutoExec.NT", "REM\r\n");
    registry.PutValue(std::string(kServiceGroupOrderKeyPath), "List", Registry::kMultiSz,
                      std::string("NDIS\0\0", 6));
  }

  // The driver registered as number 1 with `adapters` adapters at their defaults, as an
  // install leaves it, changed by `adjust` before it is written.
  using Adjust = std::function<void(DriverServiceConfig&, AdapterTable&)>;
  void PutDriver(std::uint32_t adapters, const Adjust& adjust = {}) {
    ProgramState& s = *state;
    InitServiceConfigDefaults(services, s, 1, s.ServiceConfig);
    s.ServiceConfig.NumberOfControllers = adapters;
    InitAdapterDefaults(s.Adapters[0]);
    AssignNewAdapters(s.Adapters, adapters, 1);
    if (adjust) adjust(s.ServiceConfig, s.Adapters);
    ASSERT_TRUE(WriteServiceConfig(services, s, 1, s.ServiceConfig));
    for (std::uint32_t i = 0; i < adapters; ++i)
      WriteAdapterConfig(services, s, s.Adapters[i], static_cast<int>(i), 1);
  }

  std::vector<std::string> Messages() const { return prompts.Texts(FakePrompts::Kind::Message); }
};

}  // namespace setup
