#pragma once
// A deterministic text renderer for native tests: every character is a box of fixed
// size that depends only on the font height, drawn as a solid block one pixel inside
// its cell. Follows the layout rules of the platform's flags (alignment, single line,
// word break at spaces, prefix characters, end ellipsis "...") and clips to the rect.
#include <string>
#include <vector>

#include "core/platform/TextRenderer.h"

namespace ov {

class FakeTextRenderer final : public ITextRenderer {
 public:
  // A character is max(1, |height| / 2) pixels wide; a line |height| pixels high.
  static int32_t CharWidth(const FontSpec& font);
  static int32_t LineHeight(const FontSpec& font);

  Size Measure(const FontSpec& font, std::string_view text) override;
  void DrawInRect(TBitmap32& surface, const Rect& rect, uint32_t flags, const FontSpec& font, uint32_t color,
                  std::string_view text) override;

  // Every call to DrawInRect, for tests that check what was asked for.
  struct Call {
    Rect rect;
    uint32_t flags;
    FontSpec font;
    uint32_t color;
    std::string text;
  };
  std::vector<Call> calls;
  bool recordCalls = true;
};

}  // namespace ov
