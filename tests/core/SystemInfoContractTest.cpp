#include "support/FixedSystemInfo.h"
#include "support/SandboxFiles.h"
#include "support/contracts/SystemInfoContract.h"

namespace setup {
namespace {

SystemInfoContractWorld FixedWorld() {
  auto system = std::make_unique<FixedSystemInfo>();
  auto files = std::make_unique<SandboxFiles>();
  files->MakeDirectory(system->systemDirectory);
  files->PutFile(system->modulePath, "MZ");
  return {std::move(system), std::move(files)};
}

INSTANTIATE_TEST_SUITE_P(Fixed, SystemInfoContract,
                         ::testing::Values(SystemInfoContractSubject{"Fixed", FixedWorld}),
                         SystemInfoContractName);

}  // namespace
}  // namespace setup
