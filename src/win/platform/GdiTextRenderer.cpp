#include "win/platform/GdiTextRenderer.h"

#include <windows.h>

#include <algorithm>

#include "core/render/Blend.h"
#include "win/platform/DibSection.h"
#include "win/platform/Utf16.h"

namespace ov {

namespace {

// GDI keeps coordinates within 27 bits; a stored rectangle may hold any 32-bit values.
constexpr int32_t kGdiLimit = 1 << 26;
int32_t ToGdi(int64_t v) { return int32_t(std::clamp<int64_t>(v, -kGdiLimit, kGdiLimit)); }

// The kept drawing bitmap grows up to this many pixels (4 MB).
constexpr int64_t kKeptBitmapPixels = int64_t(1) << 20;

// Only the flags the interface offers reach DrawTextW (no DT_CALCRECT, DT_NOCLIP, ...).
constexpr uint32_t kAllowedFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_WORDBREAK | DT_SINGLELINE |
                                   DT_NOPREFIX | DT_END_ELLIPSIS;

}  // namespace

GdiTextRenderer::GdiTextRenderer() : dc_(CreateCompatibleDC(nullptr)) {}

GdiTextRenderer::~GdiTextRenderer() {
  if (dc_ && firstBitmap_) SelectObject(dc_, firstBitmap_);
  if (bitmap_) DeleteObject(bitmap_);
  for (auto& [key, font] : fonts_) DeleteObject(font);
  if (dc_) DeleteDC(dc_);
}

bool GdiTextRenderer::EnsureBitmap(int32_t w, int32_t h) {
  if (bitmap_ && w <= bitmapWidth_ && h <= bitmapHeight_) return true;
  const int32_t width = std::max(w, bitmapWidth_), height = std::max(h, bitmapHeight_);
  void* bits = nullptr;
  HBITMAP bmp = CreateTopDownDib32(dc_, width, height, &bits);
  if (!bmp || !bits) {
    if (bmp) DeleteObject(bmp);
    return false;
  }
  HGDIOBJ old = SelectObject(dc_, bmp);
  if (bitmap_) DeleteObject(bitmap_);
  else firstBitmap_ = old;
  bitmap_ = bmp;
  bits_ = bits;
  bitmapWidth_ = width;
  bitmapHeight_ = height;
  return true;
}

HFONT GdiTextRenderer::FontFor(const FontSpec& f) {
  FontKey key{f.face, f.height, f.weight, f.italic, f.underline, f.strikeOut, f.charSet};
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  LOGFONTW lf{};
  lf.lfHeight = std::clamp(f.height, -1000, 1000);
  lf.lfWeight = std::clamp(f.weight, 0, 1000);
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikeOut;
  lf.lfCharSet = f.charSet;
  lf.lfQuality = ANTIALIASED_QUALITY;  // grayscale: one coverage value per pixel
  std::wstring face = Widen(f.face);
  face.resize(std::min<size_t>(face.size(), LF_FACESIZE - 1));
  std::copy(face.begin(), face.end(), lf.lfFaceName);
  HFONT font = CreateFontIndirectW(&lf);
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts_[key] = font;
  return font;
}

Size GdiTextRenderer::Measure(const FontSpec& font, std::string_view text) {
  if (!dc_) return {};
  HGDIOBJ old = SelectObject(dc_, FontFor(font));
  std::wstring w = Widen(text);
  SIZE s{0, 0};
  if (w.empty()) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    s.cy = tm.tmHeight;
  } else {
    GetTextExtentPoint32W(dc_, w.c_str(), int(std::min<size_t>(w.size(), INT32_MAX)), &s);
  }
  SelectObject(dc_, old);
  return {s.cx, s.cy};
}

void GdiTextRenderer::DrawInRect(TBitmap32& surface, const Rect& rect, uint32_t flags, const FontSpec& font,
                                 uint32_t color, std::string_view text) {
  if (!dc_ || text.empty()) return;
  const Rect vis = rect.Intersect(surface.BoundsRect());
  if (vis.Empty()) return;
  const int32_t w = vis.right - vis.left, h = vis.bottom - vis.top;

  // The visible part of the rectangle lies at the top-left corner of the kept bitmap;
  // only that part is cleared and read. A rectangle too large to keep a bitmap for (a
  // text over a whole page) gets one of its own for this drawing.
  HBITMAP own = nullptr;
  HGDIOBJ kept = nullptr;
  void* bits = nullptr;
  size_t stride = size_t(w);
  if (int64_t(w) * h > kKeptBitmapPixels) {
    own = CreateTopDownDib32(dc_, w, h, &bits);
    if (!own || !bits) {
      if (own) DeleteObject(own);
      return;
    }
    kept = SelectObject(dc_, own);
  } else {
    if (!EnsureBitmap(w, h)) return;
    bits = bits_;
    stride = size_t(bitmapWidth_);
  }
  for (int32_t y = 0; y < h; ++y) std::fill_n(static_cast<uint32_t*>(bits) + size_t(y) * stride, size_t(w), 0u);
  HGDIOBJ oldFont = SelectObject(dc_, FontFor(font));
  SetTextColor(dc_, RGB(255, 255, 255));
  SetBkMode(dc_, TRANSPARENT);
  // Lay out in the whole rectangle; the bitmap shows its visible part.
  POINT oldOrg;
  SetViewportOrgEx(dc_, -vis.left, -vis.top, &oldOrg);
  RECT rc{ToGdi(rect.left), ToGdi(rect.top), ToGdi(rect.right), ToGdi(rect.bottom)};
  std::wstring wtext = Widen(text);
  DrawTextW(dc_, wtext.c_str(), int(std::min<size_t>(wtext.size(), INT32_MAX)), &rc, flags & kAllowedFlags);
  SetViewportOrgEx(dc_, oldOrg.x, oldOrg.y, nullptr);
  GdiFlush();

  const Pixel argb = ToArgb(color);
  const uint32_t* cov = static_cast<const uint32_t*>(bits);
  for (int32_t y = 0; y < h; ++y) {
    Pixel* d = surface.Row(vis.top + y) + vis.left;
    const uint32_t* c = cov + size_t(y) * stride;
    for (int32_t x = 0; x < w; ++x) {
      // Gray levels; should the system still use sub-pixel smoothing, take the mean.
      const uint32_t v = c[x];
      if ((v & 0xFFFFFF) == 0) continue;
      const uint32_t a = (RedOf(v) + GreenOf(v) + BlueOf(v) + 1) / 3;
      d[x] = BlendPixel(argb, a, d[x]);
    }
  }
  SelectObject(dc_, oldFont);
  if (own) {
    SelectObject(dc_, kept);
    DeleteObject(own);
  }
}

}  // namespace ov
