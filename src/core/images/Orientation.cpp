#include "core/images/Orientation.h"

#include <algorithm>

#include "core/images/ImageChecksum.h"

namespace ov {

void ApplyExifOrientation(TBitmap32& picture, int orientation) {
  if (orientation < 2 || orientation > 8 || picture.Empty()) return;
  const int32_t w = picture.Width(), h = picture.Height();
  if (orientation == 2 || orientation == 3) {
    for (int32_t y = 0; y < h; ++y) std::reverse(picture.Row(y), picture.Row(y) + w);
  }
  if (orientation == 3 || orientation == 4) {
    for (int32_t y = 0; y < h / 2; ++y) std::swap_ranges(picture.Row(y), picture.Row(y) + w, picture.Row(h - 1 - y));
  }
  if (orientation <= 4) return;

  // 5..8 swap the sides. Output (x, y) takes the input pixel named below.
  TBitmap32 turned(h, w);
  for (int32_t y = 0; y < w; ++y) {
    Pixel* out = turned.Row(y);
    for (int32_t x = 0; x < h; ++x) {
      int32_t sx, sy;
      switch (orientation) {
        case 5: sx = y; sy = x; break;                  // transpose
        case 6: sx = y; sy = h - 1 - x; break;          // 90 degrees clockwise
        case 7: sx = w - 1 - y; sy = h - 1 - x; break;  // transverse
        default: sx = w - 1 - y; sy = x; break;         // 8: 90 degrees counter-clockwise
      }
      out[x] = picture.At(sx, sy);
    }
  }
  turned.MasterAlpha = picture.MasterAlpha;
  turned.Mode = picture.Mode;
  turned.Filter = picture.Filter;
  turned.Font = picture.Font;
  picture = std::move(turned);
}

void TurnUpright(TBitmap32& picture, int orientation) {
  if (orientation < 2 || orientation > 8 || picture.Empty()) return;
  const uint32_t stored = ImageChecksum(picture);
  ApplyExifOrientation(picture, orientation);
  picture.StoredChecksum = stored;
}

}  // namespace ov
