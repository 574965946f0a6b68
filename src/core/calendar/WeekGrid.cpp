#include "core/calendar/WeekGrid.h"

#include <algorithm>
#include <limits>

#include "core/calendar/DateTime.h"
#include "core/settings/Settings.h"
#include "core/util/Numeric.h"

namespace ov {

namespace {

int32_t Saturate32(int64_t v) {
  return static_cast<int32_t>(Clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                             std::numeric_limits<int32_t>::max()));
}

}  // namespace

GridLayout GridLayout::Sanitized() const {
  GridLayout l = *this;
  l.displayDate = ClampDateTime(displayDate);
  l.startOfWeek = Clamp(startOfWeek, 0, 6);
  l.rows = Clamp(rows, kMinVisibleWeeks, kMaxVisibleWeeks);
  l.pastWeeks = Clamp(pastWeeks, 0, kMaxPastVisibleWeeks);
  l.holidayBits = holidayBits & 0x7F;
  return l;
}

GridLayout GridLayoutFromSettings(const Settings& s, double displayDate) {
  GridLayout l;
  l.displayDate = displayDate;
  l.startOfWeek = s.StartOfWeek;
  l.rows = s.VisibleWeeks;
  l.pastWeeks = s.PastVisibleWeeks;
  l.fromStartOfMonth = s.CalendarFromStartOfMonth;
  l.holidayBits = s.HolidayBits;
  l.showNextMonthCaption = s.ShowNextMonthCaption;
  return l.Sanitized();
}

int ClampPastWeeks(int pastWeeks, int rows) {
  int r = Clamp(rows, kMinVisibleWeeks, kMaxVisibleWeeks);
  int p = std::max(pastWeeks, 0);
  if (p >= r - r / 4 - 1) p = r - r / 4 - 2;
  if (r == 1) p = 0;
  return std::max(p, 0);
}

int WeekdayOfColumn(int startOfWeek, int column) {
  int w = (startOfWeek + column - 1) % 7;
  return w < 0 ? w + 7 : w;
}

int ColumnOfIsoWeekday(int startOfWeek, int isoWeekday) {
  int c = (isoWeekday - startOfWeek + 6) % 7;
  return (c < 0 ? c + 7 : c) + 1;
}

FirstCell FirstCellOf(const GridLayout& layout) {
  GridLayout l = layout.Sanitized();
  int64_t display = DayNumber(l.displayDate);
  FirstCell f;
  int64_t first;
  if (l.fromStartOfMonth) {
    CivilDate c = CivilFromDayNumber(display);
    first = DayNumberFromCivil(c.year, c.month, 1);
  } else {
    // The start-of-week day on or before DisplayDate, then whole weeks back.
    int isoStart = l.startOfWeek + 1;
    int back = (DayOfWeekIsoOfDay(display) - isoStart + 7) % 7;
    first = display - back - 7 * int64_t(ClampPastWeeks(l.pastWeeks, l.rows));
  }
  if (first < kMinDay) first = kMinDay;
  f.date = static_cast<double>(first);
  // In floating mode this is column 1 unless the range start moved it.
  f.column = ColumnOfIsoWeekday(l.startOfWeek, DayOfWeekIsoOfDay(first));
  return f;
}

int ColorClassOf(uint32_t mask, int weekday, int holidayBits) {
  for (int i = 0; i < 8; ++i)
    if (mask & (1u << i)) return i;
  if (weekday >= 0 && weekday < 7 && (holidayBits & (1 << weekday))) return 0;
  return -1;
}

GridGeometry GridGeometry::FromEdges(int32_t left, int32_t top, int32_t right, int32_t bottom, int rows,
                                     int32_t cellGap) {
  GridGeometry g;
  g.left = left;
  g.top = top;
  g.bottom = bottom;
  g.cellGap = cellGap;
  g.columnPitch = Saturate32((int64_t(right) - left) / 7);
  g.rowPitch = Saturate32((int64_t(bottom) - top) / Clamp(rows, kMinVisibleWeeks, kMaxVisibleWeeks));
  return g;
}

Rect GridGeometry::CellAt(int64_t row, int column) const {
  int64_t l = int64_t(left) + int64_t(column - 1) * columnPitch;
  int64_t t = int64_t(top) + row * rowPitch;
  return {Saturate32(l), Saturate32(t), Saturate32(l + CellWidth()), Saturate32(t + CellHeight())};
}

GridWalkResult WalkGrid(const GridLayout& layout, const GridGeometry& geo, double today,
                        const ColorMaskLookup& maskLookup,
                        const std::function<void(const GridDay&)>& onDay) {
  GridWalkResult result;
  if (!geo.CellsDrawable()) return result;
  const GridLayout l = layout.Sanitized();
  const FirstCell first = FirstCellOf(l);
  const int64_t todayDay = DayNumber(today);
  const int64_t pitch = geo.rowPitch;
  const int64_t cellHeight = geo.CellHeight();
  auto cellBottom = [&](int64_t row) { return int64_t(geo.top) + row * pitch + cellHeight; };
  // A safety net for geometry that did not come from FromEdges: a real grid never has
  // more rows than this.
  const int64_t maxRows = 2 * int64_t(l.rows) + 2;

  int64_t day = DayNumber(first.date);
  int column = first.column;
  int64_t row = 0;
  int64_t weekFirstRow = 0;
  while (day <= kMaxDay && row <= maxRows) {
    if (cellBottom(row) > geo.bottom) break;

    GridDay g;
    g.date = static_cast<double>(day);
    g.column = column;
    g.row = static_cast<int>(row);
    g.cell = geo.CellAt(row, column);
    g.weekday = WeekdayOfColumn(l.startOfWeek, column);
    g.colorMask = maskLookup ? maskLookup(g.date) : 0;
    g.colorClass = ColorClassOf(g.colorMask, g.weekday, l.holidayBits);
    g.isToday = day == todayDay;

    const int64_t next = day + 1;
    g.monthBreakAfter = next <= kMaxDay && CivilFromDayNumber(next).day == 1;
    if (g.monthBreakAfter) {
      // The caption takes the cell the new month's first day would have had.
      MonthCaption& cap = g.caption;
      cap.firstDay = static_cast<double>(next);
      cap.row = static_cast<int>(column == 7 ? row + 1 : row);
      cap.column = column == 7 ? 1 : column + 1;
      cap.cell = geo.CellAt(cap.row, cap.column);
      cap.drawn = l.showNextMonthCaption && cellBottom(cap.row) + pitch < geo.bottom;
      // Every month break costs one row: the new month continues one row lower.
      ++row;
    }
    ++column;
    g.rowEndsAfter = column > 7 || (g.monthBreakAfter && cellBottom(row) > geo.bottom);
    if (g.rowEndsAfter) {
      WeekNumberCell& wn = g.weekNumber;
      wn.week = IsoWeekOfDay(day).week;
      wn.firstRow = static_cast<int>(weekFirstRow);
      wn.lastRow = static_cast<int>(row);
      wn.top = Saturate32(int64_t(geo.top) + weekFirstRow * pitch);
      wn.bottom = Saturate32(std::min<int64_t>(cellBottom(row), geo.bottom));
      ++row;
      column = 1;
      weekFirstRow = row;
    }

    onDay(g);
    ++result.days;
    result.lastDay = g.date;
    day = next;
  }
  return result;
}

}  // namespace ov
