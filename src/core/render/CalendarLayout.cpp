#include "core/render/CalendarLayout.h"

#include <algorithm>

#include "core/util/Numeric.h"

namespace ov {

namespace {

int32_t Sat(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

int32_t MapCoord(int32_t v, int32_t surface, int32_t target) {
  if (target <= 0) return v;
  return Round32(double(surface) / double(target) * double(v));
}

}  // namespace

Rect MapToSurface(const Rect& r, Size surface, Size target) {
  return {MapCoord(r.left, surface.width, target.width), MapCoord(r.top, surface.height, target.height),
          MapCoord(r.right, surface.width, target.width), MapCoord(r.bottom, surface.height, target.height)};
}

Rect PanelLayout::WeekdayCell(int i) const {
  int64_t l = int64_t(x0) + int64_t(i) * columnPitch;
  return {Sat(l), weekdayRow.top, Sat(l + int64_t(columnPitch) - grid.cellGap), weekdayRow.bottom};
}

PanelLayout LayoutPanel(const Rect& panel, const PanelMetrics& m, int32_t fontBorder, int32_t cellGap,
                        bool weekNumbers, int rows) {
  PanelLayout p;
  p.panel = panel;
  const int64_t fb = fontBorder, g = cellGap;
  const int64_t L = panel.left, T = panel.top, R = panel.right, B = panel.bottom;
  const int64_t band = int64_t(m.captionHeight) + 2 * fb;  // title and weekday row height

  int64_t x0 = L;
  if (weekNumbers) {
    p.weekNumberLeft = Sat(L);
    p.weekNumberRight = Sat(L + m.weekNumberText + 2 * fb);
    x0 = int64_t(p.weekNumberRight) + kCaptionGap + g;
  }
  p.x0 = Sat(x0);
  const int64_t pc = (R - x0) / 7;  // div: truncates toward zero
  p.columnPitch = Sat(pc);
  p.gridRight = Sat(x0 + 7 * pc);

  const int64_t titleBottom = T + band;
  p.title = {p.x0, Sat(T), Sat(int64_t(p.gridRight) - g), Sat(titleBottom)};
  const int64_t wdTop = titleBottom + g + kCaptionGap;
  p.weekdayRow = {p.x0, Sat(wdTop), p.gridRight, Sat(wdTop + band)};
  p.gridTop = Sat(wdTop + band + g + kCaptionGap);
  p.gridBottom = Sat(B - g);
  p.grid = GridGeometry::FromEdges(p.x0, p.gridTop, Sat(R), p.gridBottom, rows, Sat(g));
  return p;
}

}  // namespace ov
