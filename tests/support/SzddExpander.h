#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Expander.h"
#include "support/SandboxFiles.h"

namespace setup {

// Expands the SZDD files Szdd() makes, of literal runs only, so that the program's file
// transfer runs natively on a sandbox; a back-reference fails. As LZ32, a file without the
// magic is copied unchanged, and a method other than 'A' is refused before the target is made.
class SzddExpander : public Expander {
 public:
  explicit SzddExpander(SandboxFiles& files) : files_(files) {}

  Result Expand(const std::string& source, const std::string& target) override {
    const std::optional<std::string> bytes = files_.FileBytes(source);
    if (!bytes) return Result::SourceUnreadable;
    std::string data = *bytes;
    std::size_t length = data.size();
    if (data.size() >= 14 && data.starts_with(std::string_view("SZDD\x88\xF0\x27\x33", 8))) {
      if (data[8] != 'A') return Result::Failed;
      length = 0;
      for (int i = 13; i >= 10; --i) length = length << 8 | static_cast<std::uint8_t>(data[i]);
      std::string literals;
      for (std::size_t in = 14; in < bytes->size(); in += 9) {
        if (static_cast<std::uint8_t>((*bytes)[in]) != 0xFF) return Result::Failed;
        literals += bytes->substr(in + 1, 8);
      }
      data = literals;
    }
    OpenFile out(files_, files_.Create(target));
    if (!out.valid()) return Result::TargetUncreatable;
    const auto size = static_cast<std::uint32_t>(data.size());
    return files_.Write(out.handle(), data.data(), size) == static_cast<std::int32_t>(size) &&
                   size == length
               ? Result::Done
               : Result::Failed;
  }

 private:
  SandboxFiles& files_;
};

}  // namespace setup
