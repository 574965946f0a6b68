#pragma once
// The overlay picture (a decorative border, say) stretched over the whole wallpaper
// after the background picture's colour adjustments. Its transparency comes from its own
// alpha channel or, for pictures without one, from its brightness scaled by the
// OverlayAlpha setting.
#include <cstdint>
#include <filesystem>

#include "core/platform/ImageDecoder.h"
#include "core/render/Bitmap32.h"

namespace ov {

// Alpha from brightness for a picture without alpha of its own: I = ((R+G+B)*85 >> 8) + 1,
// alpha = Trunc(min(255, 255 * I / (a + 0.001))). a = 0 makes every pixel opaque, larger a
// more transparent. Red, green and blue stay, so running it again with another a gives
// exactly what a first run with that a gives. Nothing happens when hasOwnAlpha.
// a is held to 0..255.
void DeriveOverlayAlpha(TBitmap32& overlay, bool hasOwnAlpha, int32_t alphaSetting);

class OverlayImage {
 public:
  // LoadOverlay: discards the picture; when enabled decodes the file and derives its
  // alpha. A file that does not decode leaves an empty picture that is never drawn.
  void Load(IImageDecoder& decoder, const std::filesystem::path& file, bool enabled, int32_t alphaSetting);
  // After the OverlayAlpha setting changed.
  void SetAlpha(int32_t alphaSetting) {
    DeriveOverlayAlpha(picture_, hasAlpha_, alphaSetting);
    ++changes_;
  }
  void Discard();

  // OverlayHasAlpha: the decoder reported a pixel format with alpha.
  bool HasOwnAlpha() const { return hasAlpha_; }
  const TBitmap32& Picture() const { return picture_; }
  // Counts every load, alpha change and discard: a picture composed with the overlay is
  // stale when this number moved.
  uint64_t Changes() const { return changes_; }

  // BlendOverlay: stretches the overlay over the whole of dst, blending by its per-pixel
  // alpha, unless the background picture disables the overlay or either surface is too
  // narrow to scale.
  void Blend(TBitmap32& dst, StretchFilter filter, bool disabledForPicture) const;

 private:
  TBitmap32 picture_;
  bool hasAlpha_ = false;
  uint64_t changes_ = 0;
};

}  // namespace ov
