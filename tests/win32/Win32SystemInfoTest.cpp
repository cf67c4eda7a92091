#include "support/contracts/SystemInfoContract.h"
#include "win32/Win32Files.h"
#include "win32/Win32SystemInfo.h"

namespace setup {
namespace {

INSTANTIATE_TEST_SUITE_P(Win32, SystemInfoContract,
                         ::testing::Values(SystemInfoContractSubject{
                             "Win32",
                             [] {
                               return SystemInfoContractWorld{std::make_unique<Win32SystemInfo>(),
                                                              std::make_unique<Win32Files>()};
                             }}),
                         SystemInfoContractName);

}  // namespace
}  // namespace setup
