#pragma once
// The day cells of the wallpaper now installed, in drawing order. A full-size render
// clears it and adds every drawn day (GridDay::date, GridDay::cell); the desktop hit-test
// maps screen points and dates back to cells. Rectangles are wallpaper pixels, whose (0, 0)
// is the virtual screen's top-left corner (MonitorLayout.h converts).
#include <vector>

#include "core/util/Rect.h"

namespace ov {

struct TDayCell {
  double Date = 0;  // a whole day
  ov::Rect Rect;    // as drawn: right and bottom exclusive
};

class DayCellTable {
 public:
  void Clear() { cells_.clear(); }
  void Add(double date, const Rect& rect) { cells_.push_back({date, rect}); }
  bool Empty() const { return cells_.empty(); }
  const std::vector<TDayCell>& Cells() const { return cells_; }

  // The first cell, in table order, whose pixels include the point. Every edge pixel of a
  // cell counts: x from left to right - 1 and y from top to bottom - 1 (the gap between
  // two cells belongs to neither). nullptr for a point in no cell or an empty table.
  const TDayCell* CellAtPoint(int32_t x, int32_t y) const;

  // The cell that shows the whole day of `date`: the first cell with that date is looked
  // up again through CellAtPoint(left, top + 1), the point a click there would give.
  // nullptr when no cell shows the date.
  const TDayCell* CellForDate(double date) const;

 private:
  std::vector<TDayCell> cells_;
};

}  // namespace ov
