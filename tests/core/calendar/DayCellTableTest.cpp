#include "core/calendar/DayCellTable.h"

#include <gtest/gtest.h>

#include "core/calendar/DateTime.h"
#include "core/calendar/WeekGrid.h"

namespace ov {
namespace {

// A table as a full-size render fills it: a 7-row grid with 1-pixel gaps.
DayCellTable RenderedTable(double display) {
  GridLayout l;
  l.displayDate = display;
  l.rows = 7;
  l.pastWeeks = 2;
  DayCellTable t;
  WalkGrid(l, GridGeometry::FromEdges(100, 200, 100 + 7 * 40, 200 + 7 * 30, 7, 1), 0, {},
           [&](const GridDay& d) { t.Add(d.date, d.cell); });
  return t;
}

TEST(DayCellTable, PointsOnCellEdgesHitAndGapsDoNot) {
  DayCellTable t = RenderedTable(EncodeDate(2025, 6, 18));
  ASSERT_FALSE(t.Empty());
  const TDayCell& first = t.Cells()[0];
  EXPECT_EQ(first.Rect, (Rect{100, 200, 139, 229}));
  // All four edge pixels of the cell.
  EXPECT_EQ(t.CellAtPoint(100, 200), &first);
  EXPECT_EQ(t.CellAtPoint(138, 228), &first);  // right and bottom edge pixels
  EXPECT_EQ(t.CellAtPoint(120, 228), &first);
  // The one-pixel gap to the right and below belongs to no cell.
  EXPECT_EQ(t.CellAtPoint(139, 210), nullptr);
  EXPECT_EQ(t.CellAtPoint(120, 229), nullptr);
  EXPECT_EQ(t.CellAtPoint(140, 210), &t.Cells()[1]);
  // Outside the grid.
  EXPECT_EQ(t.CellAtPoint(99, 200), nullptr);
  EXPECT_EQ(t.CellAtPoint(0, 0), nullptr);
  EXPECT_EQ(t.CellAtPoint(INT32_MAX, INT32_MIN), nullptr);
}

TEST(DayCellTable, FirstMatchWinsWhereCellsOverlap) {
  DayCellTable t;
  t.Add(10, {0, 0, 10, 10});
  t.Add(11, {5, 5, 15, 15});
  EXPECT_EQ(t.CellAtPoint(7, 7)->Date, 10);
  EXPECT_EQ(t.CellAtPoint(12, 12)->Date, 11);
  // Looked up by date, a cell is found through the point a click at its top-left gives:
  // inside the earlier cell that covers that point.
  EXPECT_EQ(t.CellForDate(11)->Date, 10);
}

TEST(DayCellTable, DateLookupUsesTheWholeDay) {
  DayCellTable t = RenderedTable(EncodeDate(2025, 6, 18));
  const double day = EncodeDate(2025, 6, 12);
  const TDayCell* c = t.CellForDate(day + 0.8);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Date, day);
  EXPECT_EQ(t.CellForDate(EncodeDate(2030, 1, 1)), nullptr);
  // Extreme cells do not overflow the lookup.
  DayCellTable edge;
  edge.Add(5, {INT32_MAX - 1, INT32_MAX - 1, INT32_MAX, INT32_MAX});
  EXPECT_EQ(edge.CellForDate(5), nullptr);
}

TEST(DayCellTable, EmptyTableFindsNothing) {
  DayCellTable t = RenderedTable(EncodeDate(2025, 6, 18));
  t.Clear();  // the calendar is hidden
  EXPECT_TRUE(t.Empty());
  EXPECT_EQ(t.CellAtPoint(120, 210), nullptr);
  EXPECT_EQ(t.CellForDate(EncodeDate(2025, 6, 18)), nullptr);
}

}  // namespace
}  // namespace ov
