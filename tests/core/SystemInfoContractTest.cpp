#include "support/FixedSystemInfo.h"
#include "support/contracts/SystemInfoContract.h"

namespace setup {
namespace {

INSTANTIATE_TEST_SUITE_P(Fixed, SystemInfoContract,
                         ::testing::Values(SystemInfoContractSubject{
                             "Fixed", [] { return std::make_unique<FixedSystemInfo>(); }}),
                         SystemInfoContractName);

}  // namespace
}  // namespace setup
