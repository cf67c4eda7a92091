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
  Env env_;
};

TYPED_TEST_SUITE_P(ProgramGroupsContract);

// An instance is released once; Windows ANSI bytes pass unchanged; a command that
// would not fit the buffer never leaves; a name nobody serves means no conversation.
TYPED_TEST_P(ProgramGroupsContract, EachCommandArrivesWholeAndInOrder) {
  using Outcome = ProgramGroups::Outcome;
  ProgramGroups& groups = this->env_.groups();
  const ProgramGroups::Started dde = groups.Initialize();
  ASSERT_EQ(dde.error, ProgramGroups::kNoError);

  std::string longest = "[ShowGroup(\"";
  longest += std::string(259 - 17, 'g');
  longest += "\",1)]";
  EXPECT_EQ(groups.Execute(dde.instance, longest + "x").outcome, Outcome::Refused);
  const std::vector<std::string> commands = {
      "[AddItem(notepad.exe VMTRACE.INI,Einstellungen f\xFCr Velmar-Trace,C:\\Velmar\\tools\\"
      "trace\\vmtrace.exe,0,245,10,C:\\Velmar\\tools\\trace)]",
      longest};
  for (const std::string& command : commands)
    EXPECT_EQ(groups.Execute(dde.instance, command).outcome, Outcome::Accepted) << command;
  EXPECT_EQ(this->env_.Received(commands.size()), commands);
  EXPECT_TRUE(groups.Release(dde.instance));
  EXPECT_FALSE(groups.Release(dde.instance));

  ProgramGroups& nowhere = this->env_.nowhere();
  const ProgramGroups::Started none = nowhere.Initialize();
  const ProgramGroups::Sent sent = nowhere.Execute(none.instance, "[ShowGroup(\"Velmar\",1)]");
  EXPECT_EQ(sent.outcome, Outcome::NotConnected);
  EXPECT_EQ(sent.error, ProgramGroups::kNoConversation);
  EXPECT_TRUE(nowhere.Release(none.instance));
}

REGISTER_TYPED_TEST_SUITE_P(ProgramGroupsContract, EachCommandArrivesWholeAndInOrder);

}  // namespace setup
