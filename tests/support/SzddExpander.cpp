#include "support/SzddExpander.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace setup {
namespace {

constexpr std::string_view kMagic("SZDD\x88\xF0\x27\x33", 8);
constexpr std::size_t kHeaderSize = 14;
constexpr std::size_t kWindow = 4096;

std::uint8_t Byte(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]);
}

// LZSS over a 4 KiB window that starts out as spaces. Each flag byte governs the next eight
// items, lowest bit first: a set bit is a literal, a clear one a 12-bit window position and
// a 4-bit length less three. Decoding ends with the input or once `length` bytes are out:
// the compressor may pad the last group.
std::string Decode(std::string_view packed, std::uint32_t length) {
  std::array<char, kWindow> window;
  window.fill(' ');
  std::size_t write = kWindow - 16;
  std::string out;
  out.reserve(std::min<std::size_t>(length, packed.size() * 9));  // a header may lie
  const auto emit = [&](char c) {
    out.push_back(c);
    window[write++ % kWindow] = c;
  };
  std::size_t in = 0;
  while (in < packed.size() && out.size() < length) {
    const std::uint8_t flags = Byte(packed, in++);
    for (int bit = 0; bit < 8 && in < packed.size() && out.size() < length; ++bit) {
      if (flags & (1u << bit)) {
        emit(packed[in++]);
        continue;
      }
      if (in + 2 > packed.size()) return out;  // half a pair: cut short
      std::size_t position = Byte(packed, in) | ((Byte(packed, in + 1) & 0xF0u) << 4);
      const std::size_t count = (Byte(packed, in + 1) & 0x0Fu) + 3;
      in += 2;
      for (std::size_t i = 0; i < count && out.size() < length; ++i)
        emit(window[position++ % kWindow]);
    }
  }
  return out;
}

}  // namespace

Expander::Result SzddExpander::Expand(const std::string& source, const std::string& target) {
  const std::optional<std::string> bytes = files_.FileBytes(source);
  if (!bytes) return Result::SourceUnreadable;

  // As LZ32: a file too short for the header, or without the magic, is copied unchanged,
  // and any method but 'A' is refused before the target is made.
  std::string_view data = *bytes;
  std::string expanded;
  std::uint32_t length = static_cast<std::uint32_t>(data.size());
  if (data.size() >= kHeaderSize && data.starts_with(kMagic)) {
    if (data[8] != 'A') return Result::Failed;
    length = Byte(data, 10) | Byte(data, 11) << 8 | Byte(data, 12) << 16 |
             static_cast<std::uint32_t>(Byte(data, 13)) << 24;
    expanded = Decode(data.substr(kHeaderSize), length);
    data = expanded;
  }

  OpenFile out(files_, files_.Create(target));
  if (!out.valid()) return Result::TargetUncreatable;
  const auto size = static_cast<std::uint32_t>(data.size());
  if (files_.Write(out.handle(), data.data(), size) != static_cast<std::int32_t>(size) ||
      size != length)
    return Result::Failed;
  // As the real one: the source's date goes with it.
  files_.SetLastWriteTime(target, *files_.LastWriteTime(source));
  return Result::Done;
}

}  // namespace setup
