#include "core/calendar/DateTime.h"

#include <algorithm>
#include <cmath>

#include "core/util/Numeric.h"

namespace ov {

namespace {

// The civil algorithms below count from 1 January 1970, which is day 25569 of the
// program's scale.
constexpr int64_t kUnixEpochDay = 25569;

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

int DaysInYear(int year) { return IsLeapYear(year) ? 366 : 365; }

int64_t DayNumberFromCivil(int64_t y, int month, int day) {
  // Counts March-based years so that the leap day is the last day of a year.
  const int64_t m = month;
  y -= m <= 2;
  const int64_t era = FloorDiv(y, 400);
  const int64_t yoe = y - era * 400;                                   // 0..399
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + day - 1;  // 0..365
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;            // 0..146096
  return era * 146097 + doe - 719468 + kUnixEpochDay;
}

CivilDate CivilFromDayNumber(int64_t dayNumber) {
  const int64_t z = dayNumber - kUnixEpochDay + 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  CivilDate c;
  c.year = static_cast<int>(yoe + era * 400 + (m <= 2));
  c.month = static_cast<int>(m);
  c.day = static_cast<int>(d);
  return c;
}

bool IsValidDateTime(double dateTime) {
  return std::isfinite(dateTime) && dateTime >= kMinDay && dateTime < double(kMaxDay) + 1.0;
}

double ClampDateTime(double dateTime) {
  if (std::isnan(dateTime)) return 0;
  if (dateTime < kMinDay) return kMinDay;
  // The last representable moment of 31 December 9999.
  const double kLast = std::nextafter(double(kMaxDay) + 1.0, 0.0);
  if (dateTime > kLast) return kLast;
  return dateTime;
}

int32_t DayNumber(double dateTime) {
  return static_cast<int32_t>(std::floor(ClampDateTime(dateTime)));
}

double TimeOf(double dateTime) {
  double d = ClampDateTime(dateTime);
  return d - std::floor(d);
}

std::optional<double> TryEncodeDate(int year, int month, int day) {
  if (year < kMinYear || year > kMaxYear || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    return std::nullopt;
  return static_cast<double>(DayNumberFromCivil(year, month, day));
}

double EncodeDate(int year, int month, int day) {
  year = Clamp(year, kMinYear, kMaxYear);
  month = Clamp(month, 1, 12);
  day = Clamp(day, 1, DaysInMonth(year, month));
  return static_cast<double>(DayNumberFromCivil(year, month, day));
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int ms) {
  double t = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + ms) / 86400000.0;
  return ClampDateTime(EncodeDate(year, month, day) + t);
}

CivilDate DecodeDate(double dateTime) { return CivilFromDayNumber(DayNumber(dateTime)); }

int DayOfWeekIsoOfDay(int64_t dayNumber) {
  // Day 0, 30 December 1899, was a Saturday (ISO 6).
  return static_cast<int>(FloorMod(dayNumber + 5, 7)) + 1;
}

int DayOfWeekIso(double dateTime) { return DayOfWeekIsoOfDay(DayNumber(dateTime)); }

int DayOfYear(double dateTime) {
  int32_t day = DayNumber(dateTime);
  CivilDate c = CivilFromDayNumber(day);
  return static_cast<int>(day - DayNumberFromCivil(c.year, 1, 1)) + 1;
}

double IncMonth(double dateTime, int64_t months) {
  double clamped = ClampDateTime(dateTime);
  double time = clamped - std::floor(clamped);
  CivilDate c = DecodeDate(clamped);
  // Saturate the step: anything beyond the range ends at its edge anyway.
  months = Clamp<int64_t>(months, -200000, 200000);
  int64_t total = int64_t(c.year) * 12 + (c.month - 1) + months;
  int64_t year = FloorDiv(total, 12);
  int month = static_cast<int>(FloorMod(total, 12)) + 1;
  if (year < kMinYear) return kMinDay;
  if (year > kMaxYear) return ClampDateTime(double(kMaxDay) + time);
  int day = std::min(c.day, DaysInMonth(static_cast<int>(year), month));
  return static_cast<double>(DayNumberFromCivil(year, month, day)) + time;
}

double IncYear(double dateTime, int64_t years) {
  return IncMonth(dateTime, Clamp<int64_t>(years, -20000, 20000) * 12);
}

IsoWeek IsoWeekOfDay(int64_t dayNumber) {
  // The week belongs to the year that holds its Thursday.
  int64_t thursday = dayNumber - DayOfWeekIsoOfDay(dayNumber) + 4;
  CivilDate c = CivilFromDayNumber(thursday);
  int64_t ordinal = thursday - DayNumberFromCivil(c.year, 1, 1);
  return {c.year, static_cast<int>(ordinal / 7) + 1};
}

IsoWeek IsoWeekOf(double dateTime) { return IsoWeekOfDay(DayNumber(dateTime)); }

}  // namespace ov
