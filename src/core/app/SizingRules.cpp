#include "core/app/SizingRules.h"

namespace ov {

namespace {

int64_t Limit(int64_t v, int32_t lo, int32_t hi) {
  if (lo > 0 && v < lo) v = lo;
  if (hi > 0 && v > hi) v = hi;
  return v;
}

}  // namespace

Rect ClampSizingRect(Rect r, SizingEdge edge, int32_t minWidth, int32_t minHeight, int32_t maxWidth, int32_t maxHeight) {
  int64_t w = Limit(r.Width(), minWidth, maxWidth);
  int64_t h = Limit(r.Height(), minHeight, maxHeight);
  bool left = edge == SizingEdge::Left || edge == SizingEdge::TopLeft || edge == SizingEdge::BottomLeft;
  bool top = edge == SizingEdge::Top || edge == SizingEdge::TopLeft || edge == SizingEdge::TopRight;
  bool horizontal = edge != SizingEdge::Top && edge != SizingEdge::Bottom;
  bool vertical = edge != SizingEdge::Left && edge != SizingEdge::Right;
  if (horizontal) {
    if (left) r.left = static_cast<int32_t>(r.right - w);
    else r.right = static_cast<int32_t>(r.left + w);
  }
  if (vertical) {
    if (top) r.top = static_cast<int32_t>(r.bottom - h);
    else r.bottom = static_cast<int32_t>(r.top + h);
  }
  return r;
}

}  // namespace ov
