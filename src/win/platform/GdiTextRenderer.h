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

  HDC__* dc_ = nullptr;
  using FontKey = std::tuple<std::string, int32_t, int32_t, bool, bool, bool, uint8_t>;
  std::map<FontKey, HFONT__*> fonts_;
};

}  // namespace ov
