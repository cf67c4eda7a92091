#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProgramGroups.h"

namespace setup {

// A shell that records the commands it accepts, or is not there at all, or refuses them all;
// a command sent on an instance that is not live is a test failure.
class RecordingProgramGroups : public ProgramGroups {
 public:
  std::vector<std::string> commands;

  void BeUnreachable() { unreachable_ = true; }
  void Refuse(std::uint32_t error) { refusal_ = error; }
  void FailInitialize(std::uint32_t error) { initializeError_ = error; }

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
    if (refusal_ != kNoError) return {Outcome::Refused, refusal_};
    commands.emplace_back(command);
    return {Outcome::Accepted, kNoError};
  }

 private:
  bool unreachable_ = false;
  std::uint32_t refusal_ = kNoError, initializeError_ = kNoError;
  std::set<Instance> live_;
  Instance next_ = 0x10;
};

}  // namespace setup
