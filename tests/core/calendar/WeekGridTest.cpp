#include "core/calendar/WeekGrid.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "CalendarTestSupport.h"
#include "core/calendar/DateTime.h"
#include "core/settings/Settings.h"

namespace ov {
namespace {

constexpr int kMon = 0, kWed = 2, kSun = 6;

using test::D;

// Cells of 9 x 9 pixels on a 10-pixel pitch: row r spans y = 10r .. 10r + 9.
GridGeometry Geometry(int rows) { return GridGeometry::FromEdges(0, 0, 70, rows * 10, rows, 1); }

GridLayout Floating(double display, int sow, int rows, int past) {
  GridLayout l;
  l.displayDate = display;
  l.startOfWeek = sow;
  l.rows = rows;
  l.pastWeeks = past;
  l.fromStartOfMonth = false;
  return l;
}

GridLayout MonthMode(double display, int sow, int rows) {
  GridLayout l = Floating(display, sow, rows, 0);
  l.fromStartOfMonth = true;
  return l;
}

std::vector<GridDay> Walk(const GridLayout& l, const GridGeometry& g, double today = 0,
                          ColorMaskLookup masks = {}) {
  std::vector<GridDay> days;
  WalkGrid(l, g, today, masks, [&](const GridDay& d) { days.push_back(d); });
  return days;
}

std::vector<GridDay> Walk(const GridLayout& l) { return Walk(l, Geometry(l.Sanitized().rows)); }

const GridDay* Find(const std::vector<GridDay>& days, double date) {
  for (const GridDay& d : days)
    if (d.date == date) return &d;
  return nullptr;
}

TEST(ClampPastWeeks, LargestPastWeeksPerRowCount) {
  const std::map<int, int> largest = {{1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 2},  {6, 3},
                                      {7, 4}, {8, 4}, {9, 5}, {10, 6}, {50, 36}};
  for (auto [rows, expected] : largest) EXPECT_EQ(ClampPastWeeks(1000, rows), expected) << rows << " rows";
  EXPECT_EQ(ClampPastWeeks(32, 50), 32);
  EXPECT_EQ(ClampPastWeeks(2, 7), 2);
  EXPECT_EQ(ClampPastWeeks(5, 7), 4);
  EXPECT_EQ(ClampPastWeeks(-3, 7), 0);
  // At least rows/4 + 1 rows follow the week of DisplayDate, for every row count.
  for (int r = 1; r <= 50; ++r) EXPECT_GE(r - 1 - ClampPastWeeks(1000, r), r / 4) << r;
}

TEST(FirstCell, FloatingModeGoesBackWholeWeeksFromTheStartOfWeekDay) {
  // Start Sunday, Saturday 14 June 2025, two past weeks: the row of DisplayDate starts on
  // Sunday 8 June and the first cell is Sunday 25 May.
  FirstCell f = FirstCellOf(Floating(D(2025, 6, 14), kSun, 7, 2));
  EXPECT_EQ(f.date, D(2025, 5, 25));
  EXPECT_EQ(f.column, 1);
  // 7 rows and 32 past weeks: only 4 past weeks.
  EXPECT_EQ(FirstCellOf(Floating(D(2025, 6, 14), kMon, 7, 32)).date, D(2025, 6, 9) - 28);
  // Time of day does not matter.
  EXPECT_EQ(FirstCellOf(Floating(D(2025, 6, 14) + 0.99, kSun, 7, 2)).date, D(2025, 5, 25));
}

TEST(FirstCell, MonthModeStartsAtTheFirstInItsWeekdayColumn) {
  // 1 June 2025 is a Sunday.
  FirstCell f = FirstCellOf(MonthMode(D(2025, 6, 20), kMon, 7));
  EXPECT_EQ(f.date, D(2025, 6, 1));
  EXPECT_EQ(f.column, 7);
  EXPECT_EQ(FirstCellOf(MonthMode(D(2025, 6, 20), kSun, 7)).column, 1);
  // 1 September 2025 is a Monday: a full first row with Monday first.
  auto days = Walk(MonthMode(D(2025, 9, 17), kMon, 6));
  ASSERT_FALSE(days.empty());
  EXPECT_EQ(days[0].date, D(2025, 9, 1));
  EXPECT_EQ(days[0].column, 1);
  EXPECT_EQ(days[6].column, 7);
  EXPECT_TRUE(days[6].rowEndsAfter);
  EXPECT_EQ(days[6].row, 0);
}

TEST(WeekGrid, OneFloatingRowShowsExactlyTheWeekOfDisplayDate) {
  for (int past : {0, 2, 32}) {
    // 18 June 2025 (Wednesday): the week 16..22 June has no month break.
    auto days = Walk(Floating(D(2025, 6, 18), kMon, 1, past));
    ASSERT_EQ(days.size(), 7u) << past;
    EXPECT_EQ(days.front().date, D(2025, 6, 16));
    EXPECT_EQ(days.back().date, D(2025, 6, 22));
    EXPECT_TRUE(days.back().rowEndsAfter);
    EXPECT_EQ(days.back().weekNumber.week, 25);
  }
}

TEST(WeekGrid, RowOfASundayDependsOnTheStartOfWeek) {
  const double sunday = D(2025, 6, 15);
  auto startSunday = Walk(Floating(sunday, kSun, 1, 0));
  ASSERT_EQ(startSunday.size(), 7u);
  EXPECT_EQ(startSunday.front().date, sunday);
  auto startMonday = Walk(Floating(sunday, kMon, 1, 0));
  ASSERT_EQ(startMonday.size(), 7u);
  EXPECT_EQ(startMonday.back().date, sunday);
}

TEST(WeekGrid, WednesdayStartFromAMonday) {
  // Monday 16 June 2025: the single row runs from Wednesday 11 June to Tuesday 17 June.
  auto days = Walk(Floating(D(2025, 6, 16), kWed, 1, 0));
  ASSERT_EQ(days.size(), 7u);
  EXPECT_EQ(days.front().date, D(2025, 6, 11));
  EXPECT_EQ(days.back().date, D(2025, 6, 17));
  EXPECT_EQ(days.front().weekday, kWed);
}

TEST(WeekGrid, MonthBreakInsideAWeekSplitsItAcrossTwoRowsWithOneNumber) {
  // Monday start, 14 June 2025, 2 past weeks: row 0 = 26..31 May in columns 1..6.
  auto days = Walk(Floating(D(2025, 6, 14), kMon, 7, 2));
  const GridDay* may31 = Find(days, D(2025, 5, 31));
  const GridDay* jun1 = Find(days, D(2025, 6, 1));
  const GridDay* jun2 = Find(days, D(2025, 6, 2));
  ASSERT_TRUE(may31 && jun1 && jun2);
  EXPECT_EQ(may31->row, 0);
  EXPECT_EQ(may31->column, 6);
  EXPECT_TRUE(may31->monthBreakAfter);
  EXPECT_FALSE(may31->rowEndsAfter);
  // The caption takes the cell June 1 would have had: row 0, column 7.
  EXPECT_EQ(may31->caption.firstDay, D(2025, 6, 1));
  EXPECT_EQ(may31->caption.row, 0);
  EXPECT_EQ(may31->caption.column, 7);
  EXPECT_EQ(may31->caption.cell, (Rect{60, 0, 69, 9}));
  EXPECT_TRUE(may31->caption.drawn);
  // June continues one row lower in the same column; the week ends there.
  EXPECT_EQ(jun1->row, 1);
  EXPECT_EQ(jun1->column, 7);
  EXPECT_EQ(jun1->cell, (Rect{60, 10, 69, 19}));
  EXPECT_TRUE(jun1->rowEndsAfter);
  EXPECT_EQ(jun1->weekNumber.week, 22);
  EXPECT_EQ(jun1->weekNumber.firstRow, 0);
  EXPECT_EQ(jun1->weekNumber.lastRow, 1);
  EXPECT_EQ(jun1->weekNumber.top, 0);
  EXPECT_EQ(jun1->weekNumber.bottom, 19);
  EXPECT_EQ(jun2->row, 2);
  EXPECT_EQ(jun2->column, 1);
  // Only the ended row carries a number: no day of row 0 ends a row.
  for (const GridDay& d : days)
    if (d.row == 0) {
      EXPECT_FALSE(d.rowEndsAfter);
    }
  // 7 rows x 7 cells, less 7 cells for the May break; the June break comes after
  // 30 June in the last row, which then ends the walk.
  EXPECT_EQ(days.size(), 36u);
  EXPECT_EQ(days.back().date, D(2025, 6, 30));
  EXPECT_TRUE(days.back().monthBreakAfter);
  EXPECT_TRUE(days.back().rowEndsAfter);
}

TEST(WeekGrid, MonthBreakAfterColumnSevenPutsTheCaptionInTheNextRow) {
  // Sunday 31 August 2025 in column 7 (Monday start).
  auto days = Walk(Floating(D(2025, 8, 27), kMon, 7, 0));
  const GridDay* aug31 = Find(days, D(2025, 8, 31));
  const GridDay* sep1 = Find(days, D(2025, 9, 1));
  ASSERT_TRUE(aug31 && sep1);
  EXPECT_EQ(aug31->row, 0);
  EXPECT_EQ(aug31->column, 7);
  EXPECT_TRUE(aug31->monthBreakAfter);
  EXPECT_EQ(aug31->caption.row, 1);
  EXPECT_EQ(aug31->caption.column, 1);
  EXPECT_TRUE(aug31->rowEndsAfter);
  EXPECT_EQ(aug31->weekNumber.week, 35);
  // The number's cell spans the week's row and the caption row below it.
  EXPECT_EQ(aug31->weekNumber.firstRow, 0);
  EXPECT_EQ(aug31->weekNumber.lastRow, 1);
  EXPECT_EQ(aug31->weekNumber.bottom, 19);
  EXPECT_EQ(sep1->row, 2);
  EXPECT_EQ(sep1->column, 1);
}

TEST(WeekGrid, CaptionIsDrawnOnlyWithARowToSpareBelowIt) {
  // 5 rows, Monday start, from 2 June 2025: the break after 30 June (column 1) comes in
  // row 4, the last row; its caption cell bottom (49) plus a row (59) is not above 50.
  auto days = Walk(Floating(D(2025, 6, 2), kMon, 5, 0));
  const GridDay* jun30 = Find(days, D(2025, 6, 30));
  ASSERT_TRUE(jun30);
  EXPECT_EQ(jun30->row, 4);
  EXPECT_TRUE(jun30->monthBreakAfter);
  EXPECT_FALSE(jun30->caption.drawn);
  // The break pushed the position below the grid: the row ends and the walk with it.
  EXPECT_TRUE(jun30->rowEndsAfter);
  EXPECT_EQ(jun30->weekNumber.week, 27);
  EXPECT_EQ(jun30->weekNumber.bottom, 50);
  EXPECT_EQ(days.back().date, D(2025, 6, 30));

  // With 7 rows the same break lies in row 4 with two rows below: drawn.
  auto more = Walk(Floating(D(2025, 6, 2), kMon, 7, 0));
  EXPECT_TRUE(Find(more, D(2025, 6, 30))->caption.drawn);

  // The spare row must lie strictly above the grid bottom. Without gaps a caption in the
  // next-to-last row ends exactly one row above the bottom: not drawn, though July still
  // starts in the last row. With a gap it ends one pixel higher: drawn.
  GridLayout l5 = Floating(D(2025, 6, 9), kMon, 5, 0);
  auto noGap = Walk(l5, GridGeometry::FromEdges(0, 0, 70, 50, 5, 0));
  ASSERT_EQ(Find(noGap, D(2025, 6, 30))->caption.row, 3);
  EXPECT_EQ(Find(noGap, D(2025, 6, 30))->caption.cell.bottom, 40);
  EXPECT_FALSE(Find(noGap, D(2025, 6, 30))->caption.drawn);
  ASSERT_NE(Find(noGap, D(2025, 7, 1)), nullptr);
  EXPECT_EQ(Find(noGap, D(2025, 7, 1))->row, 4);
  auto gap = Walk(l5, GridGeometry::FromEdges(0, 0, 70, 50, 5, 1));
  EXPECT_TRUE(Find(gap, D(2025, 6, 30))->caption.drawn);

  GridLayout off = Floating(D(2025, 6, 2), kMon, 7, 0);
  off.showNextMonthCaption = false;
  auto hidden = Walk(off);
  EXPECT_FALSE(Find(hidden, D(2025, 6, 30))->caption.drawn);
  EXPECT_EQ(hidden.size(), more.size());  // the break still costs its row
}

TEST(WeekGrid, ColorClassesAndToday) {
  const double sunday = D(2025, 6, 15), saturday = D(2025, 6, 14), friday = D(2025, 6, 13);
  auto masks = [&](double d) -> uint32_t {
    if (d == sunday) return 2;       // green
    if (d == friday) return 0x128;   // yellow (bit 3) is the lowest set of bits 3, 5, 8
    if (d == D(2025, 6, 12)) return 0x100;  // no meaning: bits above 7
    return 0;
  };
  auto days = Walk(Floating(D(2025, 6, 14), kMon, 3, 1), Geometry(3), saturday + 0.7, masks);
  EXPECT_EQ(Find(days, sunday)->colorClass, 1);    // the code overrides the holiday
  EXPECT_EQ(Find(days, saturday)->colorClass, 0);  // weekday holiday red
  EXPECT_EQ(Find(days, friday)->colorClass, 3);
  EXPECT_EQ(Find(days, D(2025, 6, 12))->colorClass, -1);
  EXPECT_EQ(Find(days, D(2025, 6, 11))->colorClass, -1);
  int todays = 0;
  for (const GridDay& d : days) todays += d.isToday;
  EXPECT_EQ(todays, 1);
  EXPECT_TRUE(Find(days, saturday)->isToday);
  // Today outside the grid: no day is today.
  for (const GridDay& d : Walk(Floating(D(2025, 6, 14), kMon, 3, 1), Geometry(3), D(2030, 1, 1)))
    EXPECT_FALSE(d.isToday);
  // Holiday bits follow the start of week: Sunday start puts bit 6 in column 1.
  GridLayout sun = Floating(D(2025, 6, 18), kSun, 1, 0);
  sun.holidayBits = 1 << 6;
  auto row = Walk(sun);
  EXPECT_EQ(row[0].weekday, 6);
  EXPECT_EQ(row[0].colorClass, 0);
  EXPECT_EQ(row[1].colorClass, -1);
}

TEST(WeekGrid, TooSmallCellsDrawNothing) {
  GridLayout l = Floating(D(2025, 6, 14), kMon, 7, 2);
  // Column pitch 2 with gap 1: cells 1 pixel wide.
  EXPECT_TRUE(Walk(l, GridGeometry::FromEdges(0, 0, 14, 700, 7, 1)).empty());
  // Rows 1 pixel high.
  EXPECT_TRUE(Walk(l, GridGeometry::FromEdges(0, 0, 700, 14, 7, 1)).empty());
  // Inverted panel.
  EXPECT_TRUE(Walk(l, GridGeometry::FromEdges(100, 100, 0, 0, 7, 1)).empty());
  // Exactly 2 x 2 is drawn.
  EXPECT_FALSE(Walk(l, GridGeometry::FromEdges(0, 0, 21, 21, 7, 1)).empty());
}

TEST(WeekGrid, SettingsOutsideTheirRangesAreHeldAway) {
  Settings s;
  s.StartOfWeek = 9;
  s.VisibleWeeks = 10000;
  s.PastVisibleWeeks = -5;
  s.HolidayBits = -1;
  GridLayout l = GridLayoutFromSettings(s, D(2025, 6, 18));
  EXPECT_EQ(l.startOfWeek, 6);
  EXPECT_EQ(l.rows, 50);
  EXPECT_EQ(l.pastWeeks, 0);
  EXPECT_EQ(l.holidayBits, 127);
  for (int rows : {0, -5}) {
    GridLayout r = Floating(D(2025, 6, 18), 9, rows, 2);
    EXPECT_EQ(r.Sanitized().rows, 1);
    auto days = Walk(r, GridGeometry::FromEdges(0, 0, 70, 10, rows, 1));
    ASSERT_EQ(days.size(), 7u);  // one row: the week of DisplayDate, Sunday first
    EXPECT_EQ(days[0].date, D(2025, 6, 15));
  }
  auto big = Walk(Floating(D(2025, 6, 18), 0, 10000, 10000), GridGeometry::FromEdges(0, 0, 700, 5000, 10000, 1));
  // 50 rows of 7 cells, a row lost to each of the about eleven month breaks.
  EXPECT_GE(big.size(), 250u);
  EXPECT_LE(big.size(), 350u);
  EXPECT_EQ(big.back().weekNumber.lastRow, 49);
}

TEST(WeekGrid, EdgesOfTheDateRange) {
  // 1 January 0001 is a Monday; with a Sunday start the cell before it stays empty.
  auto first = Walk(Floating(D(1, 1, 3), kSun, 5, 2));
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first[0].date, kMinDay);
  EXPECT_EQ(first[0].column, 2);
  for (const GridDay& d : first) EXPECT_GE(d.date, kMinDay);
  // The walk stops after 31 December 9999.
  auto last = Walk(Floating(kMaxDay, kMon, 7, 2));
  ASSERT_FALSE(last.empty());
  EXPECT_EQ(last.back().date, kMaxDay);
  EXPECT_FALSE(last.back().monthBreakAfter);
  for (const GridDay& d : last) EXPECT_LE(d.date, kMaxDay);
  // Out-of-range and NaN display dates give sane grids.
  EXPECT_FALSE(Walk(Floating(1e15, kMon, 7, 2)).empty());
  EXPECT_FALSE(Walk(Floating(-1e15, kMon, 7, 2)).empty());
  EXPECT_EQ(FirstCellOf(Floating(std::numeric_limits<double>::quiet_NaN(), kMon, 1, 0)).date,
            D(1899, 12, 25));
}

// Rules every walk keeps, over many display dates, starts of week, row counts and modes.
TEST(WeekGrid, InvariantsOverManyLayouts) {
  int layouts = 0;
  for (double display = D(2023, 11, 1); display <= D(2025, 3, 1); display += 3) {
    for (int sow = 0; sow < 7; ++sow) {
      for (int rows : {1, 2, 5, 7, 13, 50}) {
        for (bool monthMode : {false, true}) {
          GridLayout l = monthMode ? MonthMode(display, sow, rows) : Floating(display, sow, rows, 3);
          const GridGeometry g = Geometry(rows);
          auto days = Walk(l, g);
          ++layouts;
          ASSERT_FALSE(days.empty());
          EXPECT_EQ(days[0].date, FirstCellOf(l).date);
          std::vector<bool> used(size_t(rows + 2) * 8);  // by row and column; rows start at 0
          for (size_t i = 0; i < days.size(); ++i) {
            const GridDay& d = days[i];
            // Consecutive days, each in its weekday's column, each cell used once.
            if (i > 0) {
              ASSERT_EQ(d.date, days[i - 1].date + 1);
            }
            ASSERT_EQ(d.column, ColumnOfIsoWeekday(sow, DayOfWeekIso(d.date)));
            ASSERT_TRUE(d.row >= 0 && d.row < rows + 2 && d.column >= 1 && d.column <= 7) << d.row << "," << d.column;
            ASSERT_FALSE(used[size_t(d.row) * 8 + size_t(d.column)]);
            used[size_t(d.row) * 8 + size_t(d.column)] = true;
            ASSERT_EQ(d.cell, g.CellAt(d.row, d.column));
            ASSERT_LE(d.cell.bottom, g.bottom);
            ASSERT_EQ(d.monthBreakAfter, DecodeDate(d.date + 1).day == 1);
            if (d.column == 7) {
              ASSERT_TRUE(d.rowEndsAfter);
            }
            if (d.rowEndsAfter) {
              ASSERT_EQ(d.weekNumber.week, IsoWeekNumber(d.date));
              ASSERT_LE(d.weekNumber.firstRow, d.row);
              ASSERT_GE(d.weekNumber.lastRow, d.row);
            }
            if (i > 0) {
              // A new month starts one row lower (two after a column-7 break).
              const GridDay& p = days[i - 1];
              int expectedRow = p.row + (p.monthBreakAfter ? 1 : 0) + (p.column == 7 ? 1 : 0);
              if (p.monthBreakAfter && p.column != 7 && p.rowEndsAfter) expectedRow += 1;
              ASSERT_EQ(d.row, expectedRow);
            }
          }
          // The walk ends only because the grid is full.
          EXPECT_TRUE(days.back().rowEndsAfter);
          EXPECT_GE(days.back().weekNumber.lastRow, rows - 1);
        }
      }
    }
  }
  EXPECT_GT(layouts, 10000);
}

}  // namespace
}  // namespace ov
