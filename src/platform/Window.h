#pragma once

#include <cstdint>

namespace setup {

// An opaque window handle as the platform gives it; 0 is "no window". Wide enough for a
// pointer on both Windows builds.
using WindowRef = std::uintptr_t;
inline constexpr WindowRef kNoWindow = 0;

}  // namespace setup
