// Answer files the unattended run must refuse before it changes anything.
#include <gtest/gtest.h>

#include <string>

#include "state/ExitCodes.h"
#include "support/RegistryWorld.h"
#include "support/SandboxProfiles.h"
#include "unattended/UnattendedRun.h"

namespace setup {
namespace {

struct RecordingLog : LogWriter {
  bool Append(const std::string&, std::string_view line) override {
    (lines += line) += '\n';
    return true;
  }
  std::string lines;
};

TEST(UnattendedRun, RefusesABadAnswerFileWithItsKeyAndReasonAndChangesNothing) {
  const struct {
    const char* mode;
    std::string answers;
    const char* refusal;
  } rows[] = {
      {"", "[Setup]\nColour=blue\n", "Setup.Colour: no such key"},
      {"", "[Driver]\nStart=5\n", "Driver.Start: not a number below 5"},
      {"", "[Maintenance]\nCalledNumber=12,3\n", "Maintenance.CalledNumber: holds a separator"},
      {"",
       "[Maintenance]\nCalledNumber=1234567890123456789\nCalledSubaddress=12345678901234567890\n",
       "Maintenance.CalledNumber: number and subaddress are too long"},
      {"", "[Maintenance]\nCalling1=1\nCalling3=3\n",
       "Maintenance.Calling3: the calling numbers must follow on"},
      {"/d ", "[Setup]\nColour=blue\n", "Setup.Colour: no such key"},
  };
  for (const auto& row : rows) {
    RegistryWorld world;
    world.PutSampleMedium();
    world.files.PutFile("A:\\UNATTEND.INI", row.answers);
    const auto registry = world.registry.Contents();
    SandboxProfiles profiles(world.files);
    RecordingLog log;
    AdminPorts admin{profiles, log};
    EXPECT_EQ(RunUnattended(world.services, admin, *world.state, std::string(row.mode) + "/s"),
              kExitBadAnswerFile)
        << row.answers;
    EXPECT_NE(log.lines.find(std::string("answer file refused: ") + row.refusal), std::string::npos)
        << log.lines;
    EXPECT_EQ(world.registry.Contents(), registry) << row.answers;
    for (const char* change : {"set value", "created key", "copied", "expanded", "replaced",
                               "created directory", "changed file"})
      EXPECT_EQ(log.lines.find(change), std::string::npos) << log.lines;
    EXPECT_TRUE(world.prompts.shown().empty()) << row.answers;
  }
}

}  // namespace
}  // namespace setup
