#pragma once

// What every ProgramGroups must do as DDEML does it. `Env` gives `ProgramGroups& groups()`,
// which reaches a service that accepts every command, `std::vector<std::string>
// Received(n)`, the commands that service took once n have arrived (or it gave up waiting),
// and `ProgramGroups& nowhere()`, which names a service nobody offers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ProgramGroups.h"

namespace setup {

template <class Env>
class ProgramGroupsContract : public ::testing::Test {
 protected:
  using Outcome = ProgramGroups::Outcome;

  Env env_;
};

TYPED_TEST_SUITE_P(ProgramGroupsContract);

// Instances are distinct and released once; a name nobody serves means no conversation.
TYPED_TEST_P(ProgramGroupsContract, InstancesAreReleasedOnceAndNobodyServingMeansNoConnection) {
  ProgramGroups& groups = this->env_.groups();
  const ProgramGroups::Started first = groups.Initialize(), second = groups.Initialize();
  EXPECT_EQ(first.error, ProgramGroups::kNoError);
  EXPECT_EQ(second.error, ProgramGroups::kNoError);
  EXPECT_NE(first.instance, 0u);
  EXPECT_NE(first.instance, second.instance);
  EXPECT_TRUE(groups.Release(first.instance));
  EXPECT_FALSE(groups.Release(first.instance));
  EXPECT_TRUE(groups.Release(second.instance));

  ProgramGroups& nowhere = this->env_.nowhere();
  const ProgramGroups::Started dde = nowhere.Initialize();
  ASSERT_EQ(dde.error, ProgramGroups::kNoError);
  for (int i = 0; i < 2; ++i) {
    const ProgramGroups::Sent sent = nowhere.Execute(dde.instance, "[ShowGroup(\"Velmar\",1)]");
    EXPECT_EQ(sent.outcome, TestFixture::Outcome::NotConnected);
    EXPECT_EQ(sent.error, ProgramGroups::kNoConversation);
  }
  EXPECT_TRUE(nowhere.Release(dde.instance));
}

// Windows ANSI bytes pass unchanged; a command that would not fit the buffer never leaves.
TYPED_TEST_P(ProgramGroupsContract, EachCommandArrivesWholeAndInOrder) {
  ProgramGroups& groups = this->env_.groups();
  const ProgramGroups::Started dde = groups.Initialize();
  ASSERT_EQ(dde.error, ProgramGroups::kNoError);
  const std::string longest = "[ShowGroup(\"" + std::string(259 - 17, 'g') + "\",1)]";
  ASSERT_EQ(longest.size(), 259u);
  const ProgramGroups::Sent tooLong = groups.Execute(dde.instance, longest + "x");
  EXPECT_EQ(tooLong.outcome, TestFixture::Outcome::Refused);

  const std::vector<std::string> commands = {
      "[CreateGroup(\"Velmar CAPI 2.0\",0)]",
      "[AddItem(notepad.exe VMTRACE.INI,Einstellungen f\xFCr Velmar-Trace,C:\\Velmar\\tools\\"
      "trace\\vmtrace.exe,0,245,10,C:\\Velmar\\tools\\trace)]",
      longest};
  for (const std::string& command : commands) {
    const ProgramGroups::Sent sent = groups.Execute(dde.instance, command);
    EXPECT_EQ(sent.outcome, TestFixture::Outcome::Accepted) << command;
    EXPECT_EQ(sent.error, ProgramGroups::kNoError);
  }
  EXPECT_EQ(this->env_.Received(commands.size()), commands);
  EXPECT_TRUE(groups.Release(dde.instance));
}

REGISTER_TYPED_TEST_SUITE_P(ProgramGroupsContract,
                            InstancesAreReleasedOnceAndNobodyServingMeansNoConnection,
                            EachCommandArrivesWholeAndInOrder);

}  // namespace setup
