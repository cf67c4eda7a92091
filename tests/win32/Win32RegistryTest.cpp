#include "support/contracts/RegistryContract.h"
#include "win32/Win32Registry.h"

namespace setup {
namespace {

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryContractSubject{
                             "Win32", [] { return std::make_unique<Win32Registry>(); }}),
                         RegistryContractName);

}  // namespace
}  // namespace setup
