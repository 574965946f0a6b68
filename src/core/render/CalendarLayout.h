#pragma once
// Where the parts of the calendar panel go on a surface: the panel mapped from wallpaper
// pixels, the title, the weekday row, the week-number column and the grid pitches.
#include <cstdint>

#include "core/calendar/WeekGrid.h"
#include "core/util/Rect.h"

namespace ov {

constexpr int32_t kCaptionGap = 3;        // space above the weekday row and the grid
constexpr int32_t kControllerWidth = 80;  // the mini controller's share of the title
constexpr int32_t kMonthCaptionMargin = 8;

// x' = Round(surfaceWidth / targetWidth × x) and the same for y, round half to even;
// saturated to 32 bits. A target side of 0 or less leaves that axis unscaled.
Rect MapToSurface(const Rect& r, Size surface, Size target);

// Text metrics the layout needs, measured by the caller in the panel fonts.
struct PanelMetrics {
  int32_t entryHeight = 0;    // eh: height of "Xq" in the entry font
  int32_t captionHeight = 0;  // ch: height of "Xq" in the caption font
  int32_t captionDigit = 0;   // cw: width of "OXZW" div 4 in the caption font
  int32_t weekNumberText = 0; // width of "00" in the caption font
};

struct PanelLayout {
  Rect panel;               // P = (L, T, R, B)
  Rect title;
  Rect weekdayRow;          // X0 .. snapped grid edge
  int32_t weekNumberLeft = 0, weekNumberRight = 0;  // the week-number column (if shown)
  int32_t x0 = 0;           // left edge of column 1
  int32_t columnPitch = 0;  // pc
  int32_t gridRight = 0;    // the snapped grid edge X0 + 7·pc
  int32_t gridTop = 0, gridBottom = 0;
  GridGeometry grid;        // for the grid walk

  // The weekday cell of column i (0..6).
  Rect WeekdayCell(int i) const;
};

// The layout rules with FB = fontBorder and G = cellGap, all in 64-bit arithmetic and
// saturated into 32-bit rectangles, so absurd settings give empty or odd rectangles but
// never overflow.
PanelLayout LayoutPanel(const Rect& panel, const PanelMetrics& m, int32_t fontBorder, int32_t cellGap,
                        bool weekNumbers, int rows);

}  // namespace ov
