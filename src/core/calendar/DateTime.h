#pragma once
// Dates and times as the program keeps them: a double counting days since
// 30 December 1899, the fraction being the time of day. The calendar is the proleptic
// Gregorian one.
//
// Supported range: 1 January 0001 (day -693593) to 31 December 9999 (day 2958465).
// Every function accepts any double: values outside the range, infinities and NaN are
// held to the range (NaN counts as day 0, 30 December 1899), so no input can crash or
// produce a date that has no note file name. The scale is linear, also before 1900:
// -1.25 is 28 December 1899, 18:00, and its whole day is -2 (floor, not truncation).
#include <cstdint>
#include <optional>

namespace ov {

inline constexpr int32_t kMinDay = -693593;  // 1 January 0001
inline constexpr int32_t kMaxDay = 2958465;  // 31 December 9999
inline constexpr int kMinYear = 1;
inline constexpr int kMaxYear = 9999;

struct CivilDate {
  int year = 1899;
  int month = 12;
  int day = 30;
  constexpr bool operator==(const CivilDate& o) const {
    return year == o.year && month == o.month && day == o.day;
  }
};

bool IsLeapYear(int year);
// 28..31; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
int DaysInYear(int year);

// True for a finite value inside the supported range.
bool IsValidDateTime(double dateTime);
// The value held to the supported range (NaN gives 0).
double ClampDateTime(double dateTime);

// The whole-day part (floor) of the clamped value.
int32_t DayNumber(double dateTime);
inline double DateOf(double dateTime) { return DayNumber(dateTime); }
// The time of day as a fraction in [0, 1) of the clamped value.
double TimeOf(double dateTime);
// Whole-day comparison, the only way the calendar compares dates.
inline bool SameDay(double a, double b) { return DayNumber(a) == DayNumber(b); }

// nullopt unless year/month/day name a real day in 0001..9999.
std::optional<double> TryEncodeDate(int year, int month, int day);
// Out-of-range parts are held: the year to 1..9999, the month to 1..12, the day to
// 1..length of that month.
double EncodeDate(int year, int month, int day);
// Adds the time of day (hours, minutes, seconds, milliseconds) to EncodeDate.
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0);

// Day number conversions without range clamping, for day arithmetic on whole days
// (valid for any year that fits in int).
int64_t DayNumberFromCivil(int64_t year, int month, int day);
CivilDate CivilFromDayNumber(int64_t dayNumber);

CivilDate DecodeDate(double dateTime);
// ISO weekday: 1 = Monday ... 7 = Sunday.
int DayOfWeekIso(double dateTime);
int DayOfWeekIsoOfDay(int64_t dayNumber);
// 1 for 1 January ... 365 or 366.
int DayOfYear(double dateTime);

// Calendar-month and calendar-year steps: the day of month stays, clipped to the length
// of the target month (31 January + 1 month = 28 or 29 February); the time of day stays.
// A result outside the supported range is held to it.
double IncMonth(double dateTime, int64_t months);
double IncYear(double dateTime, int64_t years);

// ISO 8601 week: weeks begin on Monday; week 1 is the week that holds 4 January. The
// week-based year can differ from the calendar year near New Year.
struct IsoWeek {
  int year = 0;
  int week = 0;
  constexpr bool operator==(const IsoWeek& o) const { return year == o.year && week == o.week; }
};
IsoWeek IsoWeekOf(double dateTime);
IsoWeek IsoWeekOfDay(int64_t dayNumber);
inline int IsoWeekNumber(double dateTime) { return IsoWeekOf(dateTime).week; }

}  // namespace ov
