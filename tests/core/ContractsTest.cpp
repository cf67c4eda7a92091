// The test doubles against the contracts the Win32 adapters pass too.
#include "support/AppWorld.h"
#include "support/contracts/FilesContract.h"
#include "support/contracts/RegistryContract.h"

namespace setup {
namespace {

// The doubles that keep state. The others record, answer and expand only as each test
// scripts them, so a contract walk on them would restate the script.
struct DoublesEnv {
  DoublesEnv() { w_.files.MakeDirectories(scratch()); }
  AppWorld w_;

  Files& files() { return w_.files; }
  std::string scratch() const { return "C:\\Scratch"; }
  void SetLastWriteTime(const std::string& path, std::uint64_t time) {
    w_.files.SetLastWriteTime(path, time);
  }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Doubles, FilesContract, DoublesEnv);

struct MemoryEnv {
  AppWorld w;
  Registry& registry() { return w.registry; }
  std::string scratch() const { return "SOFTWARE\\KVXContract"; }
  std::string ClassOf(const std::string& path) const { return w.registry.ClassOf(path); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryEnv);

}  // namespace
}  // namespace setup
