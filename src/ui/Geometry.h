#pragma once

namespace setup {

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct ScreenPoint {
  int x = 0, y = 0;
};

// Where a window of the given rectangle goes so that it sits in the middle of the desktop.
// The desktop's centre is taken from its right and bottom edges alone, as the desktop starts
// at the origin; every half is rounded toward zero.
constexpr ScreenPoint CentredOrigin(const ScreenRect& desktop, const ScreenRect& window) {
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  return {desktop.right / 2 - width / 2, desktop.bottom / 2 - height / 2};
}

}  // namespace setup
