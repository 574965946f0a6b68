#include "core/desktop/MenuPlacement.h"

namespace ov {

namespace {

// One axis: the start of a span of `length` wished at `at` within [low, high).
int32_t PlaceSpan(int32_t at, int32_t length, int32_t low, int32_t high) {
  const int64_t end = int64_t(at) + length;
  if (end <= high && at >= low) return at;
  int64_t start = at;
  if (end > high) start = int64_t(at) - length;  // open towards the other side of the anchor
  if (start + length > high) start = int64_t(high) - length;
  if (start < low) start = low;
  return static_cast<int32_t>(start);
}

}  // namespace

Point MenuOrigin(Point anchor, Size size, const Rect& workArea) {
  return {PlaceSpan(anchor.x, size.width, workArea.left, workArea.right),
          PlaceSpan(anchor.y, size.height, workArea.top, workArea.bottom)};
}

}  // namespace ov
