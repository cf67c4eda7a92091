#include "support/RecordingProgramGroups.h"
#include "support/contracts/ProgramGroupsContract.h"

namespace setup {
namespace {

class RecordingEnv {
 public:
  RecordingEnv() { nowhere_.BeUnreachable(); }
  ProgramGroups& groups() { return groups_; }
  ProgramGroups& nowhere() { return nowhere_; }
  std::vector<std::string> Received(std::size_t) const { return groups_.commands; }

 private:
  RecordingProgramGroups groups_;
  RecordingProgramGroups nowhere_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Recording, ProgramGroupsContract, RecordingEnv);

}  // namespace
}  // namespace setup
