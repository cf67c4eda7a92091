#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProgramGroups.h"

namespace setup {

// A shell that records the commands it accepts. It can fail to start a client instance,
// refuse commands, or not be there at all; a command sent on an instance that is not live
// is a test failure.
class RecordingProgramGroups : public ProgramGroups {
 public:
  // Every command accepted, in order.
  std::vector<std::string> commands;

  void FailInitialize(std::uint32_t error) { initializeError_ = error; }
  void BeUnreachable() { unreachable_ = true; }
  // Refuses the commands that begin with `prefix` (every command for an empty one).
  void Refuse(std::string_view prefix, std::uint32_t error = kNotProcessed) {
    refusedPrefix_ = std::string(prefix);
    refuseError_ = error;
    refusing_ = true;
  }

  std::size_t liveInstances() const { return live_.size(); }

  Started Initialize() override {
    if (initializeError_ != kNoError) return {0, initializeError_};
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
    if (refusing_ && command.starts_with(refusedPrefix_)) return {Outcome::Refused, refuseError_};
    commands.emplace_back(command);
    return {Outcome::Accepted, kNoError};
  }

 private:
  std::uint32_t initializeError_ = kNoError;
  bool unreachable_ = false;
  bool refusing_ = false;
  std::string refusedPrefix_;
  std::uint32_t refuseError_ = kNoError;
  std::set<Instance> live_;
  Instance next_ = 0x10;
};

}  // namespace setup
