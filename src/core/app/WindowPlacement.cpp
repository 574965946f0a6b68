#include "core/app/WindowPlacement.h"

#include <algorithm>

namespace ov {

WindowPlacementValues FitPlacementToScreens(const WindowPlacementValues& stored, const std::vector<Rect>& workAreas,
                                            Size defaultSize, Size minSize) {
  WindowPlacementValues p = stored;
  if (p.state != "wsNormal" && p.state != "wsMinimized" && p.state != "wsMaximized") p.state = "wsNormal";
  if (workAreas.empty()) return p;

  int32_t maxW = 0, maxH = 0;
  for (const Rect& r : workAreas) {
    maxW = static_cast<int32_t>(std::max<int64_t>(maxW, r.Width()));
    maxH = static_cast<int32_t>(std::max<int64_t>(maxH, r.Height()));
  }
  bool sizeUsable = p.width > 0 && p.height > 0 && p.width <= 4 * maxW && p.height <= 4 * maxH;
  if (sizeUsable) {
    p.width = std::clamp(p.width, std::min(minSize.width, maxW), std::max(maxW, minSize.width));
    p.height = std::clamp(p.height, std::min(minSize.height, maxH), std::max(maxH, minSize.height));
  }

  // The window can be dragged back as long as a piece of its top edge is on a screen.
  auto reachable = [&](const WindowPlacementValues& v) {
    int64_t left = v.left, top = v.top, right = int64_t(v.left) + v.width;
    for (const Rect& r : workAreas) {
      int64_t overlap = std::min<int64_t>(right, r.right) - std::max<int64_t>(left, r.left);
      if (overlap >= 32 && top >= r.top && top < int64_t(r.bottom) - 16) return true;
    }
    return false;
  };
  if (sizeUsable && reachable(p)) return p;

  const Rect& first = workAreas.front();
  p.width = static_cast<int32_t>(std::min<int64_t>(defaultSize.width, first.Width()));
  p.height = static_cast<int32_t>(std::min<int64_t>(defaultSize.height, first.Height()));
  p.left = static_cast<int32_t>(first.left + (first.Width() - p.width) / 2);
  p.top = static_cast<int32_t>(first.top + (first.Height() - p.height) / 2);
  return p;
}

}  // namespace ov
