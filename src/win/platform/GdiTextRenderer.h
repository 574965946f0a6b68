#pragma once
// Text through GDI: DrawTextW lays the text out with grayscale anti-aliasing into a
// private white-on-black bitmap; its gray levels are taken as coverage and the font
// colour is blended through them onto the 32-bit surface. So text keeps the surface's
// alpha right over translucent cells and has no dark fringes.
#include <map>
#include <string>
#include <tuple>

#include "core/platform/TextRenderer.h"

struct HDC__;
struct HFONT__;
struct HBITMAP__;

namespace ov {

class GdiTextRenderer final : public ITextRenderer {
 public:
  GdiTextRenderer();
  ~GdiTextRenderer() override;
  GdiTextRenderer(const GdiTextRenderer&) = delete;
  GdiTextRenderer& operator=(const GdiTextRenderer&) = delete;

  Size Measure(const FontSpec& font, std::string_view text) override;
  void DrawInRect(TBitmap32& surface, const Rect& rect, uint32_t flags, const FontSpec& font, uint32_t color,
                  std::string_view text) override;

 private:
  HFONT__* FontFor(const FontSpec& font);
  // The drawing bitmap at least w x h, selected into dc_; false when there is none.
  bool EnsureBitmap(int32_t w, int32_t h);

  HDC__* dc_ = nullptr;
  // One top-down 32-bit bitmap for the drawings, grown as needed (up to a limit) and kept
  // selected into dc_: making and freeing one for each text cost more than drawing it,
  // and a calendar draws a hundred texts and more.
  HBITMAP__* bitmap_ = nullptr;
  void* bits_ = nullptr;
  int32_t bitmapWidth_ = 0, bitmapHeight_ = 0;
  void* firstBitmap_ = nullptr;  // what dc_ held before bitmap_
  using FontKey = std::tuple<std::string, int32_t, int32_t, bool, bool, bool, uint8_t>;
  std::map<FontKey, HFONT__*> fonts_;
};

}  // namespace ov
