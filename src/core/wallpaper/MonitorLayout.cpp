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

// Division rounding down and up, for a positive divisor.
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && (a < 0)); }
int64_t CeilDiv(int64_t a, int64_t b) { return a / b + ((a % b != 0) && (a > 0)); }

// One axis of the mapping: screen offset s shows wallpaper pixel floor(s * w / n); the
// first screen offset showing wallpaper pixel x is ceil(x * n / w).
int32_t AxisToWallpaper(int32_t p, int32_t origin, int32_t screen, int32_t wallpaper, bool roundUp) {
  const int64_t a = (int64_t(p) - origin) * wallpaper;
  return Sat(roundUp ? CeilDiv(a, screen) : FloorDiv(a, screen));
}
int32_t AxisToScreen(int32_t x, int32_t origin, int32_t screen, int32_t wallpaper) {
  return Sat(CeilDiv(int64_t(x) * screen, wallpaper) + origin);
}

ScreenMapping Checked(ScreenMapping m) {
  m.screen = {std::max(m.screen.width, 1), std::max(m.screen.height, 1)};
  m.wallpaper = {std::max(m.wallpaper.width, 1), std::max(m.wallpaper.height, 1)};
  return m;
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
  const Size screen{Sat(v.Width()), Sat(v.Height())};
  if (InstallFor(*this).style == kStyleTile) return {std::max(screen.width, 1), std::max(screen.height, 1)};
  return WallpaperSizeFor(screen, availableBytes);
}

ScreenMapping MonitorLayout::Mapping() const {
  Rect v = VirtualScreen();
  return Checked({{v.left, v.top}, {Sat(v.Width()), Sat(v.Height())}, WallpaperSize()});
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

Point ScreenToWallpaper(Point p, const ScreenMapping& mapping) {
  const ScreenMapping m = Checked(mapping);
  return {AxisToWallpaper(p.x, m.origin.x, m.screen.width, m.wallpaper.width, false),
          AxisToWallpaper(p.y, m.origin.y, m.screen.height, m.wallpaper.height, false)};
}

Rect ScreenToWallpaper(const Rect& r, const ScreenMapping& mapping) {
  const ScreenMapping m = Checked(mapping);
  return {AxisToWallpaper(r.left, m.origin.x, m.screen.width, m.wallpaper.width, false),
          AxisToWallpaper(r.top, m.origin.y, m.screen.height, m.wallpaper.height, false),
          AxisToWallpaper(r.right, m.origin.x, m.screen.width, m.wallpaper.width, true),
          AxisToWallpaper(r.bottom, m.origin.y, m.screen.height, m.wallpaper.height, true)};
}

Rect WallpaperToScreen(const Rect& r, const ScreenMapping& mapping) {
  const ScreenMapping m = Checked(mapping);
  return {AxisToScreen(r.left, m.origin.x, m.screen.width, m.wallpaper.width),
          AxisToScreen(r.top, m.origin.y, m.screen.height, m.wallpaper.height),
          AxisToScreen(r.right, m.origin.x, m.screen.width, m.wallpaper.width),
          AxisToScreen(r.bottom, m.origin.y, m.screen.height, m.wallpaper.height)};
}

const TDayCell* CellAtScreenPoint(const DayCellTable& cells, Point screen, const ScreenMapping& m) {
  Point p = ScreenToWallpaper(screen, m);
  return cells.CellAtPoint(p.x, p.y);
}

WallpaperInstall InstallFor(const MonitorLayout& layout) {
  if (layout.monitors.size() <= 1) return {kStyleStretch, {0, 0}};
  if (layout.version.SpansWallpaper()) return {kStyleSpan, {0, 0}};
  // The tile starts at the screen's (0, 0), which is wallpaper pixel -origin.
  Rect v = layout.VirtualScreen();
  Size size{std::max(Sat(v.Width()), 1), std::max(Sat(v.Height()), 1)};
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
  const ScreenMapping mapping = layout.Mapping();
  Size size = mapping.wallpaper;
  const Rect wallpaper{0, 0, size.width, size.height};
  // Cut the bounding box along every monitor edge; a piece inside no monitor is unshown.
  std::vector<int32_t> xs, ys;
  std::vector<Rect> shown;
  for (const MonitorInfo& m : layout.monitors) {
    Rect r = ScreenToWallpaper(m.bounds, mapping).Intersect(wallpaper);
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

std::vector<Rect> TaskbarRects(const MonitorLayout& layout) {
  std::vector<Rect> out;
  const ScreenMapping mapping = layout.Mapping();
  for (const MonitorInfo& m : layout.monitors) {
    const Rect& b = m.bounds;
    const Rect w = m.workArea.Intersect(b);
    if (w.Empty()) continue;
    const Rect strips[] = {{b.left, b.top, b.right, w.top},
                           {b.left, w.bottom, b.right, b.bottom},
                           {b.left, w.top, w.left, w.bottom},
                           {w.right, w.top, b.right, w.bottom}};
    for (const Rect& s : strips)
      if (!s.Empty()) out.push_back(ScreenToWallpaper(s, mapping));
  }
  return out;
}

Rect PrimaryWorkAreaInWallpaper(const MonitorLayout& layout) {
  return ScreenToWallpaper(layout.Primary().workArea, layout.Mapping());
}

Rect KeptInside(const Rect& r, const Rect& area) {
  if (r.right <= r.left || r.bottom <= r.top) return r;
  const int64_t w = std::min<int64_t>(r.Width(), area.Width()), h = std::min<int64_t>(r.Height(), area.Height());
  const int64_t left = std::max<int64_t>(area.left, std::min<int64_t>(r.left, int64_t(area.right) - w));
  const int64_t top = std::max<int64_t>(area.top, std::min<int64_t>(r.top, int64_t(area.bottom) - h));
  return {Sat(left), Sat(top), Sat(left + w), Sat(top + h)};
}

namespace {

Point Centre(const Rect& r) {
  return {Sat((int64_t(r.left) + r.right) / 2), Sat((int64_t(r.top) + r.bottom) / 2)};
}

// The monitor whose bounds hold a screen point, if any.
std::optional<MonitorInfo> MonitorHolding(const MonitorLayout& layout, Point p) {
  if (layout.monitors.empty()) {
    if (Contains(layout.Primary().bounds, p)) return layout.Primary();
    return std::nullopt;
  }
  for (const MonitorInfo& m : layout.monitors)
    if (Contains(m.bounds, p)) return m;
  return std::nullopt;
}

}  // namespace

Rect PanelOnMonitors(const Rect& panelOnScreen, const MonitorLayout& now) {
  const std::optional<MonitorInfo> m = MonitorHolding(now, Centre(panelOnScreen));
  if (!m) return DefaultCalendarRect(PrimaryWorkAreaInWallpaper(now));
  return ScreenToWallpaper(KeptInside(panelOnScreen, m->bounds), now.Mapping());
}

Rect WindowOnMonitors(const Rect& window, const MonitorLayout& now) {
  const Rect area = now.MonitorAt(Centre(window)).workArea;
  int64_t left = std::min<int64_t>(window.left, int64_t(area.right) - window.Width());
  int64_t top = std::min<int64_t>(window.top, int64_t(area.bottom) - window.Height());
  left = std::max<int64_t>(left, area.left);
  top = std::max<int64_t>(top, area.top);
  return {Sat(left), Sat(top), Sat(left + window.Width()), Sat(top + window.Height())};
}

Rect CalendarRectAfterDisplayChange(const Rect& calendarRect, const ScreenMapping& old, const MonitorLayout& now) {
  return PanelOnMonitors(WallpaperToScreen(calendarRect, old), now);
}

Rect CalendarRectAtStart(const Rect& calendarRect, std::optional<Point> storedOrigin, const MonitorLayout& now) {
  ScreenMapping then = now.Mapping();
  if (storedOrigin) then.origin = *storedOrigin;
  return PanelOnMonitors(WallpaperToScreen(calendarRect, then), now);
}

Rect CalendarRectOnItsMonitor(const Rect& calendarRect, const MonitorLayout& layout) {
  const ScreenMapping mapping = layout.Mapping();
  const Rect screen = WallpaperToScreen(calendarRect, mapping);
  const MonitorInfo m = layout.MonitorAt(Centre(screen));
  return ScreenToWallpaper(KeptInside(screen, m.bounds), mapping);
}

}  // namespace ov
