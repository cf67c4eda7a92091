#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace setup {

// A terminated text in a buffer of N bytes. Every width of the setup script and of the
// program's records is enforced here: longer input is cut, never written past the end.
template <std::size_t N>
class FixedText {
  static_assert(N >= 1);

 public:
  // The most characters it holds.
  static constexpr std::size_t kMaxSize = N - 1;

  FixedText() { bytes_[0] = '\0'; }
  FixedText(std::string_view text) { Assign(text); }  // NOLINT: implicit on purpose

  void Assign(std::string_view text) {
    const std::size_t n = std::min(text.size(), N - 1);
    // An empty view may hold no pointer at all, which memcpy must not get even for 0 bytes.
    if (n > 0) std::memcpy(bytes_.data(), text.data(), n);
    bytes_[n] = '\0';
  }
  void Clear() { bytes_[0] = '\0'; }

  const char* c_str() const { return bytes_.data(); }
  std::string_view view() const { return std::string_view(bytes_.data(), size()); }
  std::size_t size() const { return ::strnlen(bytes_.data(), N); }
  bool empty() const { return bytes_[0] == '\0'; }

  friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }

 private:
  std::array<char, N> bytes_{};
};

// Paths and script lines hold at most 259 characters.
inline constexpr std::size_t kPathBytes = 260;
using PathText = FixedText<kPathBytes>;
using LineText = FixedText<kPathBytes>;

// Whether a path fits those 259 characters. One that does not names no file here: cut to
// fit, it would name another.
inline bool FitsPath(std::string_view path) {
  return path.size() < kPathBytes;
}

}  // namespace setup
