#pragma once
// Small rules of the configuration window that a test can check without a window: the
// percent transparency fields, the zoom field's step and offset rescaling, and the caption
// colour of a colour swatch.
#include <cstdint>

namespace ov {

// Opacity 0..255 edited as transparency in percent (calendar, cell shadow, wallpaper):
// p = 100 - round(alpha * 100 / 255) and back alpha = trunc((100 - p) * 2.55).
int32_t AlphaToTransparencyPercent(int32_t alpha);
int32_t TransparencyPercentToAlpha(int32_t percent);
// Opacity 0..255 edited as opacity in percent (overlay): p = round(alpha * 100 / 255),
// alpha = trunc(p * 2.55).
int32_t AlphaToOpacityPercent(int32_t alpha);
int32_t OpacityPercentToAlpha(int32_t percent);

// The zoom field's arrow step for zoom z: max(round(z / 25) - 4, 1).
int32_t ZoomStep(int32_t zoom);
// An offset kept at the same anchor when the zoom goes from oldZoom to newZoom:
// round(offset * newZoom / oldZoom).
int32_t RescaleOffset(int32_t offset, int32_t oldZoom, int32_t newZoom);
// The mouse wheel over the preview: down zooms in, up zooms out, held to 1..9999.
int32_t ZoomAfterWheel(int32_t zoom, bool wheelDown);

// Swatch captions are black on light colours and white on dark ones: black when
// (R * 61 + G * 174 + B * 21) >> 8 is at least 144. Colours are 0x00BBGGRR.
inline constexpr uint32_t kSwatchCaptionBlack = 0x000000;
inline constexpr uint32_t kSwatchCaptionWhite = 0xFFFFFF;
uint32_t SwatchCaptionColor(uint32_t bgr);

}  // namespace ov
