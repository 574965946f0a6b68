#include "core/calendar/Repeat.h"

#include <algorithm>
#include <optional>

#include "core/calendar/ChineseCalendar.h"
#include "core/calendar/ColorCodes.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/util/Numeric.h"
#include "core/util/Text.h"

namespace ov {

namespace {

int HeldCount(int v) { return Clamp(v, kMinRepeatCount, kMaxRepeatCount); }

// The day `steps` steps of the kind after `start`, counted from the start (not stepwise);
// nullopt when that day lies after 31 December 9999.
std::optional<double> StepsAfter(double start, RepeatKind kind, int steps, int everyDays) {
  double days = 0;
  switch (kind) {
    case RepeatKind::Day: days = steps; break;
    case RepeatKind::Week: days = 7.0 * steps; break;
    case RepeatKind::DayCount: days = double(steps) * HeldCount(everyDays); break;
    case RepeatKind::LunarYear: {
      if (steps == 0) return start;
      const auto anchor = ToLunar(DayNumber(start));
      if (!anchor) return std::nullopt;
      const auto day = SameLunarDateIn(*anchor, anchor->year + steps);
      if (!day) return std::nullopt;
      return double(*day);
    }
    case RepeatKind::Month:
    case RepeatKind::Year: {
      const int64_t months = kind == RepeatKind::Month ? steps : int64_t(steps) * 12;
      const CivilDate c = DecodeDate(start);
      if (int64_t(c.year) * 12 + (c.month - 1) + months > int64_t(kMaxYear) * 12 + 11) return std::nullopt;
      return IncMonth(start, months);
    }
  }
  if (start + days > kMaxDay) return std::nullopt;
  return start + days;
}

}  // namespace

RepeatUnit UnitForKind(RepeatKind kind, RepeatUnit current) {
  switch (kind) {
    case RepeatKind::Day: return RepeatUnit::Days;
    case RepeatKind::Week: return RepeatUnit::Weeks;
    case RepeatKind::Month: return RepeatUnit::Months;
    case RepeatKind::Year: return RepeatUnit::Years;
    case RepeatKind::LunarYear: return RepeatUnit::Years;
    case RepeatKind::DayCount: return current;
  }
  return current;
}

double RepeatEndDate(double start, const RepeatChoices& c) {
  const double s = DateOf(start);
  double end;
  if (c.end == RepeatEnd::AtDate) {
    end = DateOf(c.endDate);
  } else {
    const int k = HeldCount(c.afterCount);
    switch (c.afterUnit) {
      case RepeatUnit::Days: end = ClampDateTime(s + k); break;  // k days after the start
      case RepeatUnit::Weeks: end = ClampDateTime(s + 7.0 * k - 1); break;
      case RepeatUnit::Months: end = StepsAfter(s, RepeatKind::Month, k, 1).value_or(kMaxDay + 1.0) - 1; break;
      case RepeatUnit::Years: end = StepsAfter(s, RepeatKind::Year, k, 1).value_or(kMaxDay + 1.0) - 1; break;
      case RepeatUnit::Times: end = StepsAfter(s, c.kind, k, c.everyDays).value_or(kMaxDay + 1.0) - 1; break;
      default: end = s; break;
    }
  }
  return std::max(end, s);
}

RepeatSeries ConfirmRepeat(double start, const RepeatChoices& c) {
  RepeatSeries r;
  r.start = DateOf(start);
  r.end = RepeatEndDate(start, c);
  r.kind = c.kind;
  r.everyDays = c.kind == RepeatKind::DayCount ? HeldCount(c.everyDays) : 1;
  return r;
}

std::optional<double> NextSeriesDay(double day, RepeatKind kind, int everyDays) {
  return StepsAfter(DateOf(day), kind, 1, everyDays);
}

void ForEachSeriesDay(const RepeatSeries& series, const std::function<void(double)>& f) {
  double d = DateOf(series.start);
  const double end = DateOf(series.end);
  if (series.kind == RepeatKind::LunarYear) {
    for (int n = 0; n <= kMaxYear; ++n) {
      const std::optional<double> day = StepsAfter(d, RepeatKind::LunarYear, n, 1);
      if (!day || *day > end) break;
      f(*day);
    }
    return;
  }
  while (d <= end) {
    f(d);
    std::optional<double> next = NextSeriesDay(d, series.kind, series.everyDays);
    if (!next || *next <= d) break;  // past the end of the date range
    d = *next;
  }
}

RepeatOutcome RepeatEntryText(EntryStore& store, const RepeatSeries& series, const std::string& memoText,
                              RepeatTarget target, bool repeatColors) {
  RepeatOutcome out;
  const double start = DateOf(series.start);
  const std::string source = TrimControl(memoText);
  // A note that cannot be read is never replaced: its text was never seen by the user.
  if (store.TryReadNoteText(start)) store.WriteNoteText(source, start);
  const uint32_t mask = store.ReadDayEntry(start).ColorCodes;

  YearCodesEditor codes(store.EntriesFolder());
  ForEachSeriesDay(series, [&](double d) {
    if (d == start) return;
    ++out.targets;
    std::optional<std::string> existing = store.TryReadNoteText(d);
    bool write = false;
    std::string text;
    switch (target) {
      case RepeatTarget::Merge:
        write = existing.has_value();
        if (write) text = TrimControl(*existing + "\n" + source);
        break;
      case RepeatTarget::Replace:
        write = existing.has_value();
        text = source;
        break;
      case RepeatTarget::Skip:
        write = existing.has_value() && existing->empty();
        text = source;
        break;
    }
    if (write && store.WriteNoteText(text, d)) ++out.written;
    if (repeatColors) codes.Set(d, mask);
  });
  codes.Flush();
  store.ReloadCodes(DecodeDate(start).year);
  return out;
}

Point RepeatDialogPosition(const Rect& popupRect, Size dialog, int32_t desktopWidth, int32_t popupWindowTop) {
  return RepeatDialogPosition(popupRect, dialog, Rect{0, 0, desktopWidth, 0}, popupWindowTop);
}

Point RepeatDialogPosition(const Rect& popupRect, Size dialog, const Rect& area, int32_t popupWindowTop) {
  int64_t left = popupRect.right;
  int64_t top = int64_t(popupRect.bottom) - dialog.height;
  if (left < area.left) left = int64_t(area.right) - dialog.width;
  if (left + dialog.width > area.right) left = int64_t(popupRect.left) - dialog.width;
  if (top < area.top) top = popupWindowTop;
  auto sat = [](int64_t v) { return static_cast<int32_t>(Clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  return {sat(left), sat(top)};
}

Point RepeatDialogPlacement(const Rect& popupWindow, Size dialog, const Rect& workArea) {
  Point p = RepeatDialogPosition(popupWindow, dialog, workArea, popupWindow.top);
  int64_t left = p.x, top = p.y;
  // The right and bottom edges first, so a dialog larger than the area shows its top-left.
  if (left + dialog.width > workArea.right) left = int64_t(workArea.right) - dialog.width;
  if (left < workArea.left) left = workArea.left;
  if (top + dialog.height > workArea.bottom) top = int64_t(workArea.bottom) - dialog.height;
  if (top < workArea.top) top = workArea.top;
  auto sat = [](int64_t v) { return static_cast<int32_t>(Clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  return {sat(left), sat(top)};
}

}  // namespace ov
