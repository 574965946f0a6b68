#include "core/platform/FakeTextRenderer.h"

#include <algorithm>

#include "core/render/Blend.h"

namespace ov {

namespace {

// Code points of UTF-8 text, one string each (invalid bytes count as one character).
std::vector<std::string> Chars(std::string_view s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    n = std::min(n, s.size() - i);
    out.emplace_back(s.substr(i, n));
    i += n;
  }
  return out;
}

std::string StripPrefixes(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&') {
      if (i + 1 < s.size() && s[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += s[i];
  }
  return out;
}

using Line = std::vector<std::string>;

}  // namespace

int32_t FakeTextRenderer::LineHeight(const FontSpec& font) {
  int64_t h = font.height < 0 ? -int64_t(font.height) : int64_t(font.height);
  return int32_t(std::clamp<int64_t>(h, 2, 1000));
}

int32_t FakeTextRenderer::CharWidth(const FontSpec& font) { return std::max(1, LineHeight(font) / 2); }

Size FakeTextRenderer::Measure(const FontSpec& font, std::string_view text) {
  return {int32_t(std::min<size_t>(Chars(text).size(), 1u << 20)) * CharWidth(font), LineHeight(font)};
}

void FakeTextRenderer::DrawInRect(TBitmap32& surface, const Rect& rect, uint32_t flags, const FontSpec& font,
                                  uint32_t color, std::string_view text) {
  using namespace text_flags;
  if (recordCalls) calls.push_back({rect, flags, font, color, std::string(text)});
  if (rect.Empty() || surface.Empty()) return;
  const int64_t cw = CharWidth(font), lh = LineHeight(font);
  const int64_t width = rect.Width();
  const std::string shown = (flags & kNoPrefix) ? std::string(text) : StripPrefixes(text);

  // Lines: break at line feeds (not in single-line mode), then wrap at spaces.
  std::vector<Line> lines(1);
  for (const std::string& ch : Chars(shown)) {
    if (ch == "\r") continue;
    if (ch == "\n") {
      if (flags & kSingleLine) lines.back().push_back(" ");
      else lines.emplace_back();
      continue;
    }
    lines.back().push_back(ch);
  }
  if ((flags & kWordBreak) && !(flags & kSingleLine)) {
    std::vector<Line> wrapped;
    for (const Line& l : lines) {
      Line cur;
      size_t lastSpace = SIZE_MAX;
      for (const std::string& ch : l) {
        cur.push_back(ch);
        if (ch == " ") lastSpace = cur.size() - 1;
        if (int64_t(cur.size()) * cw > width && lastSpace != SIZE_MAX) {
          wrapped.emplace_back(cur.begin(), cur.begin() + long(lastSpace));
          cur.erase(cur.begin(), cur.begin() + long(lastSpace) + 1);
          lastSpace = SIZE_MAX;
          for (size_t k = 0; k < cur.size(); ++k)
            if (cur[k] == " ") lastSpace = k;
        }
        if (int64_t(wrapped.size()) * lh > rect.Height()) break;  // the rest cannot show
      }
      wrapped.push_back(std::move(cur));
      if (int64_t(wrapped.size()) * lh > rect.Height()) break;
    }
    lines = std::move(wrapped);
  }
  if (flags & kEndEllipsis)
    for (Line& l : lines)
      if (int64_t(l.size()) * cw > width) {
        int64_t keep = std::max<int64_t>(0, width / cw - 3);
        l.resize(size_t(keep));
        l.insert(l.end(), {".", ".", "."});
      }

  const Rect clip = rect.Intersect(surface.BoundsRect());
  if (clip.Empty()) return;
  int64_t y = rect.top;
  if (flags & kSingleLine) {
    if (flags & kVCenter) y = rect.top + (rect.Height() - lh) / 2;
    else if (flags & kBottom) y = rect.bottom - lh;
  }
  const Pixel argb = ToArgb(color);
  for (const Line& l : lines) {
    const int64_t lw = int64_t(l.size()) * cw;
    int64_t x = rect.left;
    if (flags & kCenter) x = rect.left + (width - lw) / 2;
    else if (flags & kRight) x = rect.right - lw;
    for (const std::string& ch : l) {
      if (ch != " ") {
        // The glyph block: one pixel of space on its right and at the top and bottom.
        const int64_t x0 = std::max<int64_t>(x, clip.left), x1 = std::min<int64_t>(x + cw - (cw > 1), clip.right);
        const int64_t y0 = std::max<int64_t>(y + 1, clip.top), y1 = std::min<int64_t>(y + lh - 1, clip.bottom);
        for (int64_t py = y0; py < y1; ++py)
          for (int64_t px = x0; px < x1; ++px) {
            Pixel& d = surface.At(int32_t(px), int32_t(py));
            d = BlendPixel(argb, 255, d);
          }
      }
      x += cw;
      if (x >= clip.right) break;
    }
    y += lh;
    if (y >= clip.bottom) break;
  }
}

}  // namespace ov
