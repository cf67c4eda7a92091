#include <string>
#include <vector>

#include "RecordingDdeServer.h"
#include "support/contracts/ProgramGroupsContract.h"
#include "win32/Win32ProgramGroups.h"

namespace setup {
namespace {

// Names no shell offers, so that a stray command never reaches the real one.
constexpr const char* kTestService = "KVXTESTPROGMAN";
constexpr const char* kNobody = "KVXNOBODY";

std::vector<std::string> Texts(const std::vector<std::string>& data) {
  std::vector<std::string> texts;
  for (const std::string& bytes : data) texts.push_back(CommandText(bytes));
  return texts;
}

class DdemlEnv {
 public:
  ProgramGroups& groups() { return groups_; }
  ProgramGroups& nowhere() { return nowhere_; }
  std::vector<std::string> Received(std::size_t count) { return Texts(server_.WaitForData(count)); }

 private:
  RecordingDdeServer server_{kTestService};
  Win32ProgramGroups groups_{kTestService};
  Win32ProgramGroups nowhere_{kNobody};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Ddeml, ProgramGroupsContract, DdemlEnv);

}  // namespace
}  // namespace setup
