#include "core/desktop/DesktopMetrics.h"

#include <algorithm>

#include "core/desktop/PopupPlacement.h"

namespace ov {

namespace {

constexpr int32_t kEntryCaptionFont = 12;
constexpr int32_t kControllerArrow = 16;
constexpr int32_t kControllerFontMin = 8, kControllerFontMax = 12;

}  // namespace

int32_t ScaleToDpi(int32_t v, uint32_t dpi) {
  if (!dpi) dpi = 96;
  int64_t scaled = int64_t(v) * dpi;
  scaled = scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96);
  return static_cast<int32_t>(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
}

EntryCaptionMetrics EntryCaptionFor(uint32_t dpi) {
  return {ScaleToDpi(kEntryCaptionHeight, dpi), -ScaleToDpi(kEntryCaptionFont, dpi)};
}

ControllerMetrics ControllerMetricsFor(const Rect& strip, bool atLeft, uint32_t dpi) {
  int64_t width = std::max<int64_t>(0, strip.Width());
  int64_t height = std::max<int64_t>(0, strip.Height());
  int32_t scaledWidth = ScaleToDpi(static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX / 8)), dpi);
  Rect bounds = strip;
  if (atLeft)
    bounds.right = static_cast<int32_t>(std::clamp<int64_t>(int64_t(strip.left) + scaledWidth, INT32_MIN, INT32_MAX));
  else
    bounds.left = static_cast<int32_t>(std::clamp<int64_t>(int64_t(strip.right) - scaledWidth, INT32_MIN, INT32_MAX));
  // The captions fit the strip's height, within their scaled smallest and largest size.
  int32_t lo = ScaleToDpi(kControllerFontMin, dpi), hi = ScaleToDpi(kControllerFontMax, dpi);
  int64_t fit = std::clamp<int64_t>(height - 5, lo, hi);
  return {bounds, ScaleToDpi(kControllerArrow, dpi), -static_cast<int32_t>(fit)};
}

}  // namespace ov
