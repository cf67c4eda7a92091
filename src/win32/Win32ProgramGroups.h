#pragma once

#include <string>
#include <utility>

#include "platform/ProgramGroups.h"

namespace setup {

// Program groups through DDEML. The service (also the topic) is "PROGMAN" unless a test
// points the adapter at a server of its own.
class Win32ProgramGroups : public ProgramGroups {
 public:
  explicit Win32ProgramGroups(std::string service = "PROGMAN") : service_(std::move(service)) {}

  Started Initialize() override;
  bool Release(Instance instance) override;
  Sent Execute(Instance instance, std::string_view command) override;

 private:
  std::string service_;
};

}  // namespace setup
