#pragma once
// Rectangles as left, top, right, bottom with right and bottom exclusive for drawing
// (a cell of width w spans left .. left + w), signed 32-bit like the stored settings.
#include <algorithm>
#include <cstdint>

namespace ov {

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  // 64-bit so that rectangles from stored settings (any 32-bit values) cannot overflow.
  constexpr int64_t Width() const { return int64_t(right) - left; }
  constexpr int64_t Height() const { return int64_t(bottom) - top; }
  constexpr bool Empty() const { return right <= left || bottom <= top; }
  constexpr bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  constexpr bool operator!=(const Rect& o) const { return !(*this == o); }
  constexpr Rect Offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  constexpr Rect Inflate(int32_t dx, int32_t dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
  constexpr Rect Intersect(const Rect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  }
  // All four edges inclusive, as the desktop hit-test wants it.
  constexpr bool ContainsInclusive(int32_t x, int32_t y) const {
    return left <= x && x <= right && top <= y && y <= bottom;
  }
};

struct Size {
  int32_t width = 0, height = 0;
  constexpr bool operator==(const Size& o) const { return width == o.width && height == o.height; }
};

struct Point {
  int32_t x = 0, y = 0;
  constexpr bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

}  // namespace ov
