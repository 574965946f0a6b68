#include "core/config/ConfigRules.h"

#include <algorithm>

#include "core/util/Numeric.h"

namespace ov {

namespace {
int32_t ClampAlpha(int32_t a) { return Clamp<int32_t>(a, 0, 255); }
int32_t ClampPercent(int32_t p) { return Clamp<int32_t>(p, 0, 100); }
}  // namespace

// The factor 2.55 is applied as 255 / 100 in whole numbers: in binary floating point
// 100 * 2.55 falls just below 255, and a fully opaque setting would come back as 254.
int32_t TransparencyPercentToAlpha(int32_t percent) { return (100 - ClampPercent(percent)) * 255 / 100; }
int32_t OpacityPercentToAlpha(int32_t percent) { return ClampPercent(percent) * 255 / 100; }

int32_t AlphaToOpacityPercent(int32_t alpha) { return Round32(ClampAlpha(alpha) * 100.0 / 255.0); }
int32_t AlphaToTransparencyPercent(int32_t alpha) { return 100 - AlphaToOpacityPercent(alpha); }

int32_t ZoomStep(int32_t zoom) { return std::max<int32_t>(Round32(zoom / 25.0) - 4, 1); }

int32_t RescaleOffset(int32_t offset, int32_t oldZoom, int32_t newZoom) {
  // A zoom of 0 cannot come from the field (1..9999); a hand-edited file might hold one.
  if (oldZoom <= 0) return offset;
  return Round32(static_cast<double>(offset) * newZoom / oldZoom);
}

int32_t ZoomAfterWheel(int32_t zoom, bool wheelDown) {
  int64_t z = wheelDown ? Trunc(zoom * 1.05) + 1 : Trunc(zoom / 1.05) - 1;
  return static_cast<int32_t>(Clamp<int64_t>(z, 1, 9999));
}

uint32_t SwatchCaptionColor(uint32_t bgr) {
  uint32_t r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
  return ((r * 61 + g * 174 + b * 21) >> 8) >= 144 ? kSwatchCaptionBlack : kSwatchCaptionWhite;
}

}  // namespace ov
