#pragma once

#include "platform/Expander.h"
#include "support/SandboxFiles.h"

namespace setup {

// Decodes SZDD itself, so the program's file transfer can run natively on a sandbox.
class SzddExpander : public Expander {
 public:
  explicit SzddExpander(SandboxFiles& files) : files_(files) {}

  Result Expand(const std::string& source, const std::string& target) override;

 private:
  SandboxFiles& files_;
};

}  // namespace setup
