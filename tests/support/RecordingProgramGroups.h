#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProgramGroups.h"

namespace setup {

// A shell that records the commands it accepts, or is not there at all; a command sent on an
// instance that is not live is a test failure.
class RecordingProgramGroups : public ProgramGroups {
 public:
  std::vector<std::string> commands;

  void BeUnreachable() { unreachable_ = true; }
  // The n-th command from now (1 = the next) is refused as the shell refuses one it cannot
  // carry out.
  void FailCommand(int n) { commandsBeforeFailure_ = n; }
  int commandsTried = 0;

  // The groups the accepted commands leave, each with its items' commands, as the shell
  // keeps them: creating a group that exists opens it, and items go to the group last named.
  std::map<std::string, std::vector<std::string>> Groups() const {
    std::map<std::string, std::vector<std::string>> groups;
    std::string current;
    for (const std::string& command : commands) {
      const std::size_t open = command.find('(');
      const std::string verb = command.substr(1, open - 1);
      const std::string name =
          command.substr(open + 1, command.find_first_of(",)", open) - open - 1);
      if (verb == "CreateGroup") groups[current = name];
      if (verb == "DeleteGroup") groups.erase(name);
      if (verb == "AddItem" && groups.count(current)) groups[current].push_back(command);
    }
    return groups;
  }

  std::size_t liveInstances() const { return live_.size(); }

  Started Initialize() override {
    live_.insert(next_);
    return {next_++, kNoError};
  }
  bool Release(Instance instance) override { return live_.erase(instance) == 1; }
  Sent Execute(Instance instance, std::string_view command) override {
    if (!live_.count(instance)) {
      ADD_FAILURE() << "command on an instance that is not live: " << command;
      return {Outcome::NotConnected, kNoConversation};
    }
    if (command.size() >= kCommandBytes) return {Outcome::Refused, kNotProcessed};
    if (unreachable_) return {Outcome::NotConnected, kNoConversation};
    ++commandsTried;
    if (commandsBeforeFailure_ > 0 && --commandsBeforeFailure_ == 0)
      return {Outcome::Refused, kNotProcessed};
    commands.emplace_back(command);
    return {Outcome::Accepted, kNoError};
  }

 private:
  bool unreachable_ = false;
  int commandsBeforeFailure_ = 0;
  std::set<Instance> live_;
  Instance next_ = 0x10;
};

}  // namespace setup
