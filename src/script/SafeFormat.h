#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace setup {

// One argument of a catalogue text used as a format.
class FormatArg {
 public:
  enum class Kind { Text, Signed, Unsigned };
  FormatArg(std::string_view text) : kind_(Kind::Text), text_(text) {}         // NOLINT
  FormatArg(const char* text) : kind_(Kind::Text), text_(text ? text : "") {}  // NOLINT
  FormatArg(const std::string& text) : FormatArg(std::string_view(text)) {}    // NOLINT
  FormatArg(std::int32_t value) : kind_(Kind::Signed), number_(value) {}       // NOLINT
  FormatArg(std::uint32_t value) : kind_(Kind::Unsigned), number_(value) {}    // NOLINT

  Kind kind() const { return kind_; }
  std::string_view text() const { return text_; }
  std::int64_t number() const { return number_; }

 private:
  Kind kind_;
  std::string_view text_;
  std::int64_t number_ = 0;
};

// printf-like formatting of a text that comes from a language file, so possibly hostile:
// only %s %u %lu %d %x %X %c and %% (with flags and width) are honoured, an argument is
// never read that was not passed, and the result is cut to `limit` bytes. A conversion
// whose argument is missing or of the other kind shows nothing; any other directive (%n,
// %ls, %*d, ...) and a lone trailing % are copied as plain text.
std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args,
                       std::size_t limit = 259);

}  // namespace setup
