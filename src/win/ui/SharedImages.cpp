#include "win/ui/SharedImages.h"

#include "win/platform/DibSection.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace ov {

namespace {

// A top-down 32-bit DIB section filled by a function of (x, y) returning 0xAARRGGBB
// (straight alpha); stored premultiplied, as menus and AlphaBlend expect.
HBITMAP MakeBitmap(int w, int h, const std::function<uint32_t(int, int)>& pixel) {
  void* bits = nullptr;
  HBITMAP bmp = CreateTopDownDib32(nullptr, w, h, &bits);
  if (!bmp) return nullptr;
  auto* p = static_cast<uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t c = pixel(x, y);
      uint32_t a = c >> 24;
      uint32_t r = ((c >> 16) & 0xFF) * a / 255, g = ((c >> 8) & 0xFF) * a / 255, b = (c & 0xFF) * a / 255;
      p[y * w + x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  return bmp;
}

// Coverage of a disc of radius r centred at (cx, cy) for the pixel at (x, y), 0..1.
double Disc(int x, int y, double cx, double cy, double r) {
  double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
  return std::clamp(r - d + 0.5, 0.0, 1.0);
}

// Distance of a point from a segment, for anti-aliased strokes.
double Segment(double px, double py, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

uint32_t WithAlpha(uint32_t rgb, double a) {
  return (static_cast<uint32_t>(std::clamp(a, 0.0, 1.0) * 255 + 0.5) << 24) | (rgb & 0xFFFFFF);
}

}  // namespace

SharedImages& SharedImages::Get() {
  static SharedImages images;
  return images;
}

SharedImages::~SharedImages() {
  for (HBITMAP& b : menu_)
    if (b) DeleteObject(b);
  if (tile_) DeleteObject(tile_);
  if (close_) DeleteObject(close_);
}

void SharedImages::SetColorCodes(const uint32_t (&colors)[8]) {
  for (int i = 0; i < 8; ++i) {
    colors_[i] = colors[i];
    if (menu_[kMenuImageColorFirst + i]) {
      DeleteObject(menu_[kMenuImageColorFirst + i]);
      menu_[kMenuImageColorFirst + i] = nullptr;
    }
  }
}

HBITMAP SharedImages::MenuBitmap(int index) {
  if (index < 0 || index >= kMenuImageCount) return nullptr;
  if (menu_[index]) return menu_[index];
  std::function<uint32_t(int, int)> draw;
  switch (index) {
    case kMenuImageTick:
      draw = [](int x, int y) {
        double d = std::min(Segment(x + 0.5, y + 0.5, 3.5, 8.5, 6.5, 11.5), Segment(x + 0.5, y + 0.5, 6.5, 11.5, 12.5, 4.5));
        return WithAlpha(0x1E5A1E, 1.6 - d);
      };
      break;
    case kMenuImageBlank:
      draw = [](int, int) { return 0u; };
      break;
    case kMenuImageRadioOff:
      draw = [](int x, int y) {
        double ring = Disc(x, y, 8, 8, 5.5) - Disc(x, y, 8, 8, 4.2);
        return WithAlpha(0x707070, ring);
      };
      break;
    case kMenuImageRadioOn:
      draw = [](int x, int y) {
        double ring = Disc(x, y, 8, 8, 5.5) - Disc(x, y, 8, 8, 4.2);
        double dot = Disc(x, y, 8, 8, 2.8);
        return ring > 0 ? WithAlpha(0x404040, ring) : WithAlpha(0x1E5AC8, dot);
      };
      break;
    default: {
      uint32_t color = colors_[index - kMenuImageColorFirst];
      draw = [color](int x, int y) -> uint32_t {
        if (x < 2 || y < 2 || x > 13 || y > 13) return 0;
        if (x == 2 || y == 2 || x == 13 || y == 13) return 0xFF404040;
        return 0xFF000000 | color;
      };
    }
  }
  menu_[index] = MakeBitmap(16, 16, draw);
  return menu_[index];
}

HBITMAP SharedImages::Tile32() {
  if (!tile_) {
    // A brushed blue bar: a vertical gradient with a faint horizontal grain.
    tile_ = MakeBitmap(40, 20, [](int x, int y) {
      double t = y / 19.0;
      double grain = ((x * 7 + y * 13) % 5) * 1.5;
      int r = static_cast<int>(70 - 30 * t + grain), g = static_cast<int>(110 - 40 * t + grain),
          b = static_cast<int>(190 - 50 * t + grain);
      return 0xFF000000u | (uint32_t(std::clamp(r, 0, 255)) << 16) | (uint32_t(std::clamp(g, 0, 255)) << 8) |
             uint32_t(std::clamp(b, 0, 255));
    });
  }
  return tile_;
}

HBITMAP SharedImages::CloseIcon() {
  if (!close_) {
    // The close glyph sits in the top-left 16 x 16 of the 32 x 32 image: the pop-up's close
    // box is 16 pixels square and shows the image from its corner.
    close_ = MakeBitmap(32, 32, [](int x, int y) -> uint32_t {
      if (x >= 16 || y >= 16) return 0;
      double px = x + 0.5, py = y + 0.5;
      double d = std::min(Segment(px, py, 4.5, 4.5, 11.5, 11.5), Segment(px, py, 11.5, 4.5, 4.5, 11.5));
      double glyph = std::clamp(1.5 - d, 0.0, 1.0);
      return glyph > 0 ? WithAlpha(0xFFFFFF, glyph) : 0;
    });
  }
  return close_;
}

void TileBitmap(HDC dc, const RECT& r, HBITMAP tile) {
  BITMAP bm{};
  if (!tile || !GetObjectW(tile, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, tile);
  for (int y = r.top; y < r.bottom; y += bm.bmHeight)
    for (int x = r.left; x < r.right; x += bm.bmWidth)
      BitBlt(dc, x, y, std::min<int>(bm.bmWidth, r.right - x), std::min<int>(bm.bmHeight, r.bottom - y), mem, 0, 0,
             SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

bool SharedImages::IsMenuBitmap(HBITMAP bitmap) const {
  if (!bitmap) return false;
  for (HBITMAP b : menu_)
    if (b == bitmap) return true;
  return false;
}

void SetMenuItemImage(MENUITEMINFOW& item, HBITMAP image) {
  if (!image) return;
  item.fMask |= MIIM_BITMAP | MIIM_DATA;
  item.hbmpItem = HBMMENU_CALLBACK;
  item.dwItemData = reinterpret_cast<ULONG_PTR>(image);
}

bool HandleMenuImageMessage(UINT msg, LPARAM lp) {
  if (msg == WM_MEASUREITEM) {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    if (!m || m->CtlType != ODT_MENU || !SharedImages::Get().IsMenuBitmap(reinterpret_cast<HBITMAP>(m->itemData)))
      return false;
    m->itemWidth = 16;
    m->itemHeight = 16;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    if (!d || d->CtlType != ODT_MENU) return false;
    HBITMAP image = reinterpret_cast<HBITMAP>(d->itemData);
    if (!SharedImages::Get().IsMenuBitmap(image)) return false;
    const RECT& r = d->rcItem;
    DrawAlphaBitmap(d->hDC, r.left + (r.right - r.left - 16) / 2, r.top + (r.bottom - r.top - 16) / 2, image);
    return true;
  }
  return false;
}

void DrawAlphaBitmap(HDC dc, int x, int y, HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm)) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, bm.bmWidth, bm.bmHeight, bf);
  SelectObject(mem, old);
  DeleteDC(mem);
}

}  // namespace ov
