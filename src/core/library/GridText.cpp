#include "core/library/GridText.h"

#include <algorithm>

namespace ov {

GridTextRows PlaceGridText(int32_t height, int32_t lineHeight, int32_t top, int32_t gap) {
  if (top + std::max(gap, lineHeight) + 2 * lineHeight <= height) return {top, top + std::max(gap, lineHeight)};
  const int32_t nameTop = std::clamp(height - 3 * lineHeight, 0, top);
  return {nameTop, nameTop + lineHeight};
}

}  // namespace ov
