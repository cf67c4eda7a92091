#include "support/RecordingProgramGroups.h"

#include <gtest/gtest.h>

namespace setup {

ProgramGroups::Started RecordingProgramGroups::Initialize() {
  if (initializeError_ != kNoError) return {0, initializeError_};
  live_.insert(next_);
  return {next_++, kNoError};
}

bool RecordingProgramGroups::Release(Instance instance) {
  return live_.erase(instance) == 1;
}

ProgramGroups::Sent RecordingProgramGroups::Execute(Instance instance, std::string_view command) {
  if (!live_.count(instance)) {
    ADD_FAILURE() << "command on an instance that is not live: " << command;
    return {Outcome::NotConnected, kNoConversation};
  }
  if (command.size() >= kCommandBytes) return {Outcome::Refused, kNotProcessed};
  if (unreachable_) return {Outcome::NotConnected, kNoConversation};
  if (refusing_ && command.substr(0, refusedPrefix_.size()) == refusedPrefix_)
    return {Outcome::Refused, refuseError_};
  commands.emplace_back(command);
  return {Outcome::Accepted, kNoError};
}

}  // namespace setup
