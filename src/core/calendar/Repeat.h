#pragma once
// Repeating entries: the choices of the repeat dialog "重复", the series they describe,
// and copying an entry (and its colour code) to every day of the series. Nothing is
// stored as a rule; repeating writes ordinary note and code files once.
#include <functional>
#include <optional>
#include <string>

#include "core/util/Rect.h"

namespace ov {

class EntryStore;

// "每": the step between two days of the series. Values are the radio buttons' tags.
// LunarYear: the same lunar month and day every lunar year (ChineseCalendar.h).
enum class RepeatKind { Day = 1, Week = 2, Month = 3, Year = 4, DayCount = 5, LunarYear = 6 };
// "结束": end after a number of units ("重复") or at a date ("单元").
enum class RepeatEnd { After, AtDate };
// Units of AfterMode, in item order: "天" "星期" "月" "年" "次".
enum class RepeatUnit { Days = 0, Weeks = 1, Months = 2, Years = 3, Times = 4 };
// "如果目标项目非空": what happens to a day that already has text.
enum class RepeatTarget { Merge, Replace, Skip };

inline constexpr int kMinRepeatCount = 1;
inline constexpr int kMaxRepeatCount = 356;  // both spins: n and k

// What the dialog holds; the dialog keeps them from one use to the next.
struct RepeatChoices {
  RepeatKind kind = RepeatKind::Day;
  int everyDays = 14;                      // n of "every n days", 1..356
  RepeatEnd end = RepeatEnd::After;
  int afterCount = 1;                      // k, 1..356
  RepeatUnit afterUnit = RepeatUnit::Days;
  double endDate = 0;                      // DateEndDate
  RepeatTarget target = RepeatTarget::Merge;
  bool repeatColors = true;                // CheckRepeatColorsAlso = RepeatColorWithEntry
};

// The AfterMode unit that choosing one of the first four kinds selects ("every n days"
// leaves AfterMode alone: returns `current`).
RepeatUnit UnitForKind(RepeatKind kind, RepeatUnit current);

// The series confirmed with OK.
struct RepeatSeries {
  double start = 0;  // whole day
  double end = 0;    // RepeatEndDate, never before start
  RepeatKind kind = RepeatKind::Day;
  int everyDays = 1; // n, used by DayCount
};

// RepeatEndDate for start S and the choices: at a date, that date; after k units:
// days S + k; weeks S + 7k - 1; months S + k calendar months - 1; years S + k calendar
// years - 1; times: S plus k steps of the kind minus one day. Never before S, never after
// 31 December 9999. Counts outside 1..356 are held to that range.
double RepeatEndDate(double start, const RepeatChoices& choices);
RepeatSeries ConfirmRepeat(double start, const RepeatChoices& choices);

// The next day of the series after `day`: +1 day, +7 days, +1 calendar month or year
// (from this day, the day clipped), +n days, or the same lunar date one lunar year on.
// nullopt after 31 December 9999 (for lunar years: outside the lunar calendar's range).
std::optional<double> NextSeriesDay(double day, RepeatKind kind, int everyDays);
// Calls f for every day of the series from start to end, in order. Stops at
// 31 December 9999. Lunar years are counted from the start's lunar date, so a day 30
// that fell on day 29 one year is day 30 again where the month has 30 days.
void ForEachSeriesDay(const RepeatSeries& series, const std::function<void(double)>& f);

struct RepeatOutcome {
  int targets = 0;  // days after the start visited
  int written = 0;  // note files written for them
};

// "重复项目...": writes the trimmed memo text as the start day's entry, then copies it to
// every later day of the series in the active section (merge: existing text, LF, source,
// trimmed; replace; skip: only empty days). With repeatColors each target day's colour
// code becomes the start day's (a start day without a code clears the targets' codes),
// written per year file. A day whose note file exists but cannot be read (the start day
// included) is left alone whatever was chosen, so a note nobody has seen is never
// replaced. Write failures are silent; the walk continues. Afterwards the store's code
// cache holds the start year.
RepeatOutcome RepeatEntryText(EntryStore& store, const RepeatSeries& series, const std::string& memoText,
                              RepeatTarget target, bool repeatColors);

// Where the dialog goes beside the entry pop-up: right of it, bottom-aligned with it;
// moved to the pop-up's left side when it would pass the desktop's right edge; at the
// pop-up window's top when it would start above the desktop.
Point RepeatDialogPosition(const Rect& popupRect, Size dialog, int32_t desktopWidth, int32_t popupWindowTop);
// The same within an area of the screen (the work area of the pop-up's monitor): its left
// and right edges take the place of 0 and the desktop width, its top that of 0.
Point RepeatDialogPosition(const Rect& popupRect, Size dialog, const Rect& area, int32_t popupWindowTop);
// Where the dialog goes for the pop-up window as it lies on the screen: RepeatDialogPosition
// of that window within the work area of its monitor, then moved back inside the work area
// wherever that rule leaves it hanging out (below the bottom, left of the left edge, or
// wider than the room left on either side of the pop-up).
Point RepeatDialogPlacement(const Rect& popupWindow, Size dialog, const Rect& workArea);

// Captions of the dialog.
inline constexpr char kRepeatDialogCaption[] = "重复";
inline constexpr const char* kRepeatUnitCaptions[5] = {"天", "星期", "月", "年", "次"};
inline constexpr char kRepeatEntryMenuCaption[] = "重复项目...";

}  // namespace ov
