#include "core/wallpaper/MonitorLayout.h"

#include <algorithm>

#include "core/settings/Settings.h"
#include "core/wallpaper/DesktopWallpaperValues.h"
#include "core/wallpaper/WallpaperSize.h"

namespace ov {

namespace {

const MonitorInfo kFallbackMonitor{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}, true};

int32_t Sat(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

bool Contains(const Rect& r, Point p) { return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom; }

int64_t DistanceSquared(const Rect& r, Point p) {
  int64_t dx = p.x < r.left ? int64_t(r.left) - p.x : p.x >= r.right ? int64_t(p.x) - (r.right - 1) : 0;
  int64_t dy = p.y < r.top ? int64_t(r.top) - p.y : p.y >= r.bottom ? int64_t(p.y) - (r.bottom - 1) : 0;
  return dx * dx + dy * dy;
}

// Wraps v into 0 .. n - 1.
int64_t Wrap(int64_t v, int64_t n) { return n <= 0 ? 0 : ((v % n) + n) % n; }

}  // namespace

MonitorInfo MonitorLayout::Primary() const {
  if (monitors.empty()) return kFallbackMonitor;
  for (const MonitorInfo& m : monitors)
    if (m.primary) return m;
  return monitors.front();
}

Rect MonitorLayout::VirtualScreen() const {
  if (monitors.empty()) return kFallbackMonitor.bounds;
  Rect r = monitors.front().bounds;
  for (const MonitorInfo& m : monitors) {
    r.left = std::min(r.left, m.bounds.left);
    r.top = std::min(r.top, m.bounds.top);
    r.right = std::max(r.right, m.bounds.right);
    r.bottom = std::max(r.bottom, m.bounds.bottom);
  }
  return r;
}

Point MonitorLayout::Origin() const {
  Rect v = VirtualScreen();
  return {v.left, v.top};
}

Size MonitorLayout::WallpaperSize() const {
  Rect v = VirtualScreen();
  return WallpaperSizeFor({Sat(v.Width()), Sat(v.Height())});
}

MonitorInfo MonitorLayout::MonitorAt(Point screen) const {
  if (monitors.empty()) return kFallbackMonitor;
  const MonitorInfo* best = &monitors.front();
  int64_t bestDistance = INT64_MAX;
  for (const MonitorInfo& m : monitors) {
    if (Contains(m.bounds, screen)) return m;
    int64_t d = DistanceSquared(m.bounds, screen);
    if (d < bestDistance) {
      bestDistance = d;
      best = &m;
    }
  }
  return *best;
}

Point ScreenToWallpaper(Point p, Point o) { return {Sat(int64_t(p.x) - o.x), Sat(int64_t(p.y) - o.y)}; }

Rect ScreenToWallpaper(const Rect& r, Point o) {
  return {Sat(int64_t(r.left) - o.x), Sat(int64_t(r.top) - o.y), Sat(int64_t(r.right) - o.x),
          Sat(int64_t(r.bottom) - o.y)};
}

Rect WallpaperToScreen(const Rect& r, Point o) {
  return {Sat(int64_t(r.left) + o.x), Sat(int64_t(r.top) + o.y), Sat(int64_t(r.right) + o.x),
          Sat(int64_t(r.bottom) + o.y)};
}

const TDayCell* CellAtScreenPoint(const DayCellTable& cells, Point screen, Point origin) {
  Point p = ScreenToWallpaper(screen, origin);
  return cells.CellAtPoint(p.x, p.y);
}

WallpaperInstall InstallFor(const MonitorLayout& layout) {
  if (layout.monitors.size() <= 1) return {kStyleStretch, {0, 0}};
  if (layout.version.SpansWallpaper()) return {kStyleSpan, {0, 0}};
  // The tile starts at the screen's (0, 0), which is wallpaper pixel -origin.
  Size size = layout.WallpaperSize();
  Point o = layout.Origin();
  return {kStyleTile, {Sat(Wrap(-int64_t(o.x), size.width)), Sat(Wrap(-int64_t(o.y), size.height))}};
}

void RotateForTile(TBitmap32& picture, Point shift) {
  int32_t w = picture.Width(), h = picture.Height();
  if (picture.Empty()) return;
  int64_t dx = Wrap(shift.x, w), dy = Wrap(shift.y, h);
  if (dx)
    for (int32_t y = 0; y < h; ++y) std::rotate(picture.Row(y), picture.Row(y) + dx, picture.Row(y) + w);
  if (dy) {
    Pixel* all = picture.Row(0);
    std::rotate(all, all + dy * w, all + int64_t(w) * h);
  }
}

std::vector<Rect> UnshownRects(const MonitorLayout& layout) {
  std::vector<Rect> out;
  if (layout.monitors.size() <= 1) return out;
  Point o = layout.Origin();
  Size size = layout.WallpaperSize();
  const Rect wallpaper{0, 0, size.width, size.height};
  // Cut the bounding box along every monitor edge; a piece inside no monitor is unshown.
  std::vector<int32_t> xs, ys;
  std::vector<Rect> shown;
  for (const MonitorInfo& m : layout.monitors) {
    Rect r = ScreenToWallpaper(m.bounds, o).Intersect(wallpaper);
    if (r.Empty()) continue;
    shown.push_back(r);
    xs.insert(xs.end(), {r.left, r.right});
    ys.insert(ys.end(), {r.top, r.bottom});
  }
  xs.insert(xs.end(), {0, size.width});
  ys.insert(ys.end(), {0, size.height});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  for (size_t j = 0; j + 1 < ys.size(); ++j) {
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      Rect piece{xs[i], ys[j], xs[i + 1], ys[j + 1]};
      bool covered = std::any_of(shown.begin(), shown.end(), [&](const Rect& s) {
        return s.left <= piece.left && piece.right <= s.right && s.top <= piece.top && piece.bottom <= s.bottom;
      });
      if (covered) continue;
      // Pieces side by side in one band become one rectangle.
      if (!out.empty() && out.back().top == piece.top && out.back().right == piece.left) out.back().right = piece.right;
      else out.push_back(piece);
    }
  }
  // Then pieces of equal width one above the other.
  for (size_t i = 0; i < out.size(); ++i)
    for (size_t j = i + 1; j < out.size();) {
      if (out[j].left == out[i].left && out[j].right == out[i].right && out[j].top == out[i].bottom) {
        out[i].bottom = out[j].bottom;
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(j));
        j = i + 1;
      } else {
        ++j;
      }
    }
  return out;
}

Rect PrimaryWorkAreaInWallpaper(const MonitorLayout& layout) {
  return ScreenToWallpaper(layout.Primary().workArea, layout.Origin());
}

Rect CalendarRectAfterDisplayChange(const Rect& calendarRect, Point oldOrigin, const MonitorLayout& now) {
  Rect screen = WallpaperToScreen(calendarRect, oldOrigin);
  Point centre{Sat((int64_t(screen.left) + screen.right) / 2), Sat((int64_t(screen.top) + screen.bottom) / 2)};
  bool onAMonitor = now.monitors.empty()
                        ? Contains(now.Primary().bounds, centre)
                        : std::any_of(now.monitors.begin(), now.monitors.end(),
                                      [&](const MonitorInfo& m) { return Contains(m.bounds, centre); });
  if (onAMonitor) return ScreenToWallpaper(screen, now.Origin());
  return DefaultCalendarRect(PrimaryWorkAreaInWallpaper(now));
}

}  // namespace ov
