#pragma once
// Measuring and drawing text onto a TBitmap32: platform text layout (GDI on Windows)
// behind a small interface, so the calendar drawing is tested natively with a
// deterministic stand-in.
#include <cstdint>
#include <string_view>

#include "core/render/Bitmap32.h"
#include "core/render/FontSpec.h"
#include "core/util/Rect.h"

namespace ov {

// Text format bits with the platform's values (the DT_ constants).
namespace text_flags {
constexpr uint32_t kLeft = 0x0;
constexpr uint32_t kTop = 0x0;
constexpr uint32_t kCenter = 0x1;
constexpr uint32_t kRight = 0x2;
constexpr uint32_t kVCenter = 0x4;   // with kSingleLine only
constexpr uint32_t kBottom = 0x8;    // with kSingleLine only
constexpr uint32_t kWordBreak = 0x10;
constexpr uint32_t kSingleLine = 0x20;
constexpr uint32_t kNoPrefix = 0x800;
constexpr uint32_t kEndEllipsis = 0x8000;
}  // namespace text_flags

class ITextRenderer {
 public:
  virtual ~ITextRenderer() = default;
  // Width and height of the text as one line in the font.
  virtual Size Measure(const FontSpec& font, std::string_view text) = 0;
  // Lays the text out in rect with the flags and blends it onto the surface in the
  // platform colour (0x00BBGGRR or a system colour code), background untouched.
  // Nothing lands outside rect or outside the surface.
  virtual void DrawInRect(TBitmap32& surface, const Rect& rect, uint32_t flags, const FontSpec& font,
                          uint32_t color, std::string_view text) = 0;
  // One line from the point (x, y) = its top-left corner.
  void DrawAt(TBitmap32& surface, int32_t x, int32_t y, const FontSpec& font, uint32_t color, std::string_view text) {
    Size s = Measure(font, text);
    DrawInRect(surface, {x, y, x + s.width, y + s.height}, text_flags::kSingleLine | text_flags::kNoPrefix, font,
               color, text);
  }
};

}  // namespace ov
