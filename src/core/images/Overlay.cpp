#include "core/images/Overlay.h"

#include <algorithm>

#include "core/render/Resample.h"
#include "core/util/Numeric.h"

namespace ov {

void DeriveOverlayAlpha(TBitmap32& overlay, bool hasOwnAlpha, int32_t alphaSetting) {
  if (hasOwnAlpha || overlay.Empty()) return;
  const double a = Clamp(alphaSetting, 0, 255);
  // Alpha depends on I only; I runs 1..255.
  uint32_t table[256];
  for (int i = 0; i < 256; ++i)
    table[i] = static_cast<uint32_t>(Trunc(std::min(255.0, 255.0 * i / (a + 0.001)))) << 24;
  Pixel* p = overlay.Bits();
  const size_t n = static_cast<size_t>(overlay.Width()) * static_cast<size_t>(overlay.Height());
  for (size_t k = 0; k < n; ++k) {
    const Pixel v = p[k];
    const uint32_t i = ((RedOf(v) * 85 + GreenOf(v) * 85 + BlueOf(v) * 85) >> 8) + 1;
    p[k] = (v & 0x00FFFFFFu) | table[i];
  }
}

void OverlayImage::Discard() {
  picture_.SetSize(0, 0);
  hasAlpha_ = false;
  ++changes_;
}

void OverlayImage::Load(IImageDecoder& decoder, const std::filesystem::path& file, bool enabled,
                        int32_t alphaSetting) {
  Discard();
  if (!enabled) return;
  DecodeResult r = decoder.Decode(picture_, file);
  if (!r.ok) {
    Discard();
    return;
  }
  hasAlpha_ = r.HasAlpha();
  picture_.MasterAlpha = 255;
  DeriveOverlayAlpha(picture_, hasAlpha_, alphaSetting);
}

void OverlayImage::Blend(TBitmap32& dst, StretchFilter filter, bool disabledForPicture) const {
  if (picture_.Empty() || disabledForPicture || dst.Width() <= 1 || picture_.Width() < 2) return;
  ResampleInto(dst, dst.BoundsRect(), picture_, picture_.BoundsRect(), filter, DrawMode::Blend);
}

}  // namespace ov
