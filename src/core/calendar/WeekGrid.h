#pragma once
// The week grid: which date sits in which cell of the calendar panel. The renderer
// computes its geometry (fonts, panel) and then calls WalkGrid once per render; the walk
// hands it every day with its cell, row ends with their week numbers, month breaks with
// their captions, colour classes and today, so no grid rule lives in the renderer.
//
// Weekdays are numbered 0 = Monday ... 6 = Sunday (StartOfWeek, HolidayBits bit i);
// grid columns are 1..7 counted from the start-of-week day; rows from 0.
#include <cstdint>
#include <functional>

#include "core/util/Rect.h"

namespace ov {

struct Settings;

inline constexpr int kMinVisibleWeeks = 1;
inline constexpr int kMaxVisibleWeeks = 50;
inline constexpr int kMaxPastVisibleWeeks = 32;

// What the grid depends on besides geometry. Values from the settings store are taken as
// stored; Sanitized() holds them to what the grid can use.
struct GridLayout {
  double displayDate = 0;          // the date the grid is built around
  int startOfWeek = 0;             // StartOfWeek, 0..6
  int rows = 7;                    // VisibleWeeks
  int pastWeeks = 2;               // PastVisibleWeeks as stored (ClampPastWeeks is applied)
  bool fromStartOfMonth = false;   // CalendarFromStartOfMonth
  int holidayBits = 96;            // HolidayBits, bit 0 = Monday
  bool showNextMonthCaption = true;

  // startOfWeek held to 0..6, rows to 1..50, pastWeeks to 0..32, holidayBits masked to
  // seven bits, displayDate to the supported date range (the same nearest-end rule as
  // the settings loader: StartOfWeek 9 becomes 6, VisibleWeeks 0 or -5 becomes 1,
  // 10000 becomes 50).
  GridLayout Sanitized() const;
};

// The layout the wallpaper uses: the grid settings of `s` around `displayDate`.
GridLayout GridLayoutFromSettings(const Settings& s, double displayDate);

// The past weeks actually shown for `rows` week rows: at least rows/4 + 1 rows follow the
// week of DisplayDate, and a single row shows only that week. Negative input gives 0.
int ClampPastWeeks(int pastWeeks, int rows);

struct FirstCell {
  double date = 0;  // FirstCellDate, a whole day
  int column = 1;   // its GridColumn
};
// Month mode: the first of DisplayDate's month in its weekday's column. Floating mode: the
// start-of-week day on or before DisplayDate minus the clamped past weeks, column 1.
// A first cell that would lie before 1 January 0001 becomes that day in its own column
// (the cells before it stay empty, as in month mode).
FirstCell FirstCellOf(const GridLayout& layout);

// Weekday (0 = Monday) shown in a column (1..7).
int WeekdayOfColumn(int startOfWeek, int column);
// Column (1..7) of an ISO weekday (1 = Monday ... 7 = Sunday).
int ColumnOfIsoWeekday(int startOfWeek, int isoWeekday);

// Colour class of a day: the lowest set colour code among bits 0..7 of `mask`; else code 0
// (holiday red) when the weekday's bit of `holidayBits` is set; else -1 (none).
int ColorClassOf(uint32_t mask, int weekday, int holidayBits);

// Geometry of the grid in surface pixels, as the renderer computed it.
struct GridGeometry {
  int32_t left = 0;         // left edge of column 1 (X0)
  int32_t top = 0;          // top edge of row 0
  int32_t bottom = 0;       // grid bottom: no cell may end below it
  int32_t columnPitch = 0;  // distance between the left edges of two columns
  int32_t rowPitch = 0;     // distance between the tops of two rows
  int32_t cellGap = 0;      // CellGap: a cell is pitch - gap wide and high

  // Pitches from the grid's edges: columnPitch = (right - left) div 7,
  // rowPitch = (bottom - top) div rows (rows held to 1..50).
  static GridGeometry FromEdges(int32_t left, int32_t top, int32_t right, int32_t bottom, int rows,
                                int32_t cellGap);

  int64_t CellWidth() const { return int64_t(columnPitch) - cellGap; }
  int64_t CellHeight() const { return int64_t(rowPitch) - cellGap; }
  // No day is drawn when a cell would be under 2 x 2 pixels.
  bool CellsDrawable() const { return CellWidth() >= 2 && CellHeight() >= 2; }
  // The cell at a row and column (1..7); right and bottom exclusive, as drawn. Values that
  // do not fit 32 bits are saturated.
  Rect CellAt(int64_t row, int column) const;
};

// The cell where a new month's caption goes: the position right of the month's last day
// (column 1 of the next row after column 7).
struct MonthCaption {
  double firstDay = 0;  // the new month's first day
  int row = 0;
  int column = 1;
  Rect cell;            // the day cell at that position; the renderer sizes the caption in it
  bool drawn = false;   // ShowNextMonthCaption and the cell's bottom plus one row pitch lies
                        // strictly above the grid bottom
};

// The week number that labels a row that has just ended, and the rows it spans: a week
// split by a month break spans two grid rows and gets one number.
struct WeekNumberCell {
  int week = 0;        // ISO 8601 week number of the last day drawn in the row
  int firstRow = 0;
  int lastRow = 0;
  int32_t top = 0;     // top of firstRow
  int32_t bottom = 0;  // the smaller of lastRow's cell bottom and the grid bottom
};

struct GridDay {
  double date = 0;      // a whole day
  int column = 1;       // GridColumn
  int row = 0;
  Rect cell;            // right and bottom exclusive; what goes into DayCellTable
  int weekday = 0;      // 0 = Monday
  uint32_t colorMask = 0;
  int colorClass = -1;  // index into ColorCodeTable, -1 none
  bool isToday = false;
  bool monthBreakAfter = false;  // the next day opens a new month
  MonthCaption caption;          // valid when monthBreakAfter
  bool rowEndsAfter = false;     // the row ends after this day
  WeekNumberCell weekNumber;     // valid when rowEndsAfter
};

struct GridWalkResult {
  int days = 0;         // number of days yielded
  double lastDay = 0;   // the last day yielded (valid when days > 0)
};

// Colour-code mask of a day (the renderer passes the entry store's cached codes).
using ColorMaskLookup = std::function<uint32_t(double day)>;

// Walks the grid in drawing order (row by row, left to right) and calls onDay for every
// drawn day. `today` is compared by whole day. No day is yielded when cells would be
// under 2 x 2 pixels. The walk ends when a day's cell would end below the grid bottom,
// and after 31 December 9999. An empty maskLookup means no colour codes.
GridWalkResult WalkGrid(const GridLayout& layout, const GridGeometry& geometry, double today,
                        const ColorMaskLookup& maskLookup,
                        const std::function<void(const GridDay&)>& onDay);

}  // namespace ov
