#pragma once

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

  Started Initialize() override;
  bool Release(Instance instance) override;
  Sent Execute(Instance instance, std::string_view command) override;

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
