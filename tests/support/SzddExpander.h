#pragma once

#include "platform/Expander.h"
#include "platform/Files.h"

namespace setup {

// Decodes SZDD itself, reading and writing through a Files port, so the program's file
// transfer can run natively on a sandbox.
class SzddExpander : public Expander {
 public:
  explicit SzddExpander(Files& files) : files_(files) {}

  Result Expand(const std::string& source, const std::string& target) override;

 private:
  Files& files_;
};

}  // namespace setup
