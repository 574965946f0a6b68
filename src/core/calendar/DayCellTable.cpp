#include "core/calendar/DayCellTable.h"

#include <cstdint>

#include "core/calendar/DateTime.h"

namespace ov {

const TDayCell* DayCellTable::CellAtPoint(int32_t x, int32_t y) const {
  for (const TDayCell& c : cells_) {
    // 64-bit so that a cell at the edge of the 32-bit range cannot overflow.
    if (int64_t(c.Rect.left) <= x && x <= int64_t(c.Rect.right) - 1 && int64_t(c.Rect.top) <= y &&
        y <= int64_t(c.Rect.bottom) - 1)
      return &c;
  }
  return nullptr;
}

const TDayCell* DayCellTable::CellForDate(double date) const {
  const int32_t day = DayNumber(date);
  for (const TDayCell& c : cells_) {
    if (DayNumber(c.Date) == day) {
      int64_t y = int64_t(c.Rect.top) + 1;
      if (y > INT32_MAX) return nullptr;
      return CellAtPoint(c.Rect.left, static_cast<int32_t>(y));
    }
  }
  return nullptr;
}

}  // namespace ov
