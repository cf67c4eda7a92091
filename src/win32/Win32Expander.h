#pragma once

#include "platform/Expander.h"

namespace setup {

// Expansion through LZ32, as Windows' own expander does it.
class Win32Expander : public Expander {
 public:
  Result Expand(const std::string& source, const std::string& target) override;
};

}  // namespace setup
