#include "core/calendar/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>

#include "core/calendar/DisplayDate.h"
#include "core/platform/Clock.h"

namespace ov {
namespace {

// --- An independent calendar, written from the textbook formulas, to check against ---

bool RefLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int RefMonthLength(int y, int m) {
  const int len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && RefLeap(y) ? 29 : len[m - 1];
}

int RefDayOfYear(int y, int m, int d) {
  int n = d;
  for (int i = 1; i < m; ++i) n += RefMonthLength(y, i);
  return n;
}

// Zeller's congruence, mapped to ISO (1 = Monday ... 7 = Sunday).
int RefIsoWeekday(int y, int m, int d) {
  if (m < 3) {
    m += 12;
    y -= 1;
  }
  int k = y % 100, j = y / 100;
  int h = (d + 13 * (m + 1) / 5 + k + k / 4 + j / 4 + 5 * j) % 7;  // 0 = Saturday
  return ((h + 5) % 7) + 1;
}

int RefWeeksInYear(int y) {
  auto p = [](int x) { return (x + x / 4 - x / 100 + x / 400) % 7; };
  return (p(y) == 4 || p(y - 1) == 3) ? 53 : 52;
}

// The ordinal-date rule: week = (ordinal - weekday + 10) div 7, then fold into the
// neighbouring years.
IsoWeek RefIsoWeek(int y, int m, int d) {
  int w = (RefDayOfYear(y, m, d) - RefIsoWeekday(y, m, d) + 10) / 7;
  if (w < 1) return {y - 1, RefWeeksInYear(y - 1)};
  if (w > RefWeeksInYear(y)) return {y + 1, 1};
  return {y, w};
}

TEST(DateTime, KnownDayNumbers) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(2025, 6, 14), 45822);
  EXPECT_EQ(EncodeDate(1, 1, 1), kMinDay);
  EXPECT_EQ(EncodeDate(9999, 12, 31), kMaxDay);
  EXPECT_EQ(DecodeDate(45822), (CivilDate{2025, 6, 14}));
  EXPECT_EQ(DecodeDate(-1), (CivilDate{1899, 12, 29}));
}

TEST(DateTime, EveryDayOfEightHundredYearsAgreesWithTheReferenceCalendar) {
  double expected = EncodeDate(1600, 1, 1);
  int checked = 0;
  for (int y = 1600; y <= 2400; ++y) {
    for (int m = 1; m <= 12; ++m) {
      ASSERT_EQ(DaysInMonth(y, m), RefMonthLength(y, m)) << y << "-" << m;
      for (int d = 1; d <= RefMonthLength(y, m); ++d) {
        const double day = EncodeDate(y, m, d);
        ASSERT_EQ(day, expected) << y << "-" << m << "-" << d;  // consecutive days
        ASSERT_EQ(DecodeDate(day + 0.75), (CivilDate{y, m, d}));
        ASSERT_EQ(DayOfWeekIso(day), RefIsoWeekday(y, m, d)) << y << "-" << m << "-" << d;
        ASSERT_EQ(DayOfYear(day), RefDayOfYear(y, m, d));
        ASSERT_EQ(IsoWeekOf(day), RefIsoWeek(y, m, d)) << y << "-" << m << "-" << d;
        expected += 1;
        ++checked;
      }
    }
  }
  EXPECT_EQ(checked, 292560);
}

#ifndef _WIN32
// The C library's own week numbering, a second independent source.
TEST(DateTime, IsoWeeksAgreeWithTheCLibrary) {
  for (double day = EncodeDate(1902, 1, 1); day <= EncodeDate(2098, 12, 31); day += 1) {
    CivilDate c = DecodeDate(day);
    std::tm tm{};
    tm.tm_year = c.year - 1900;
    tm.tm_mon = c.month - 1;
    tm.tm_mday = c.day;
    tm.tm_hour = 12;
    time_t t = timegm(&tm);
    std::tm out{};
    gmtime_r(&t, &out);
    char buf[16];
    strftime(buf, sizeof buf, "%G-%V", &out);
    IsoWeek w = IsoWeekOf(day);
    char mine[16];
    snprintf(mine, sizeof mine, "%04d-%02d", w.year, w.week);
    ASSERT_STREQ(buf, mine) << c.year << "-" << c.month << "-" << c.day;
  }
}
#endif

TEST(DateTime, IsoWeekAroundNewYear) {
  EXPECT_EQ(IsoWeekOf(EncodeDate(2008, 12, 29)), (IsoWeek{2009, 1}));
  EXPECT_EQ(IsoWeekOf(EncodeDate(2010, 1, 3)), (IsoWeek{2009, 53}));
  EXPECT_EQ(IsoWeekOf(EncodeDate(2005, 1, 1)), (IsoWeek{2004, 53}));
  EXPECT_EQ(IsoWeekOf(EncodeDate(2020, 12, 31)), (IsoWeek{2020, 53}));
  EXPECT_EQ(IsoWeekNumber(EncodeDate(2025, 6, 1)), 22);
}

TEST(DateTime, WholeDayPartIsLinearBefore1900) {
  EXPECT_EQ(DayNumber(-1.25), -2);
  EXPECT_DOUBLE_EQ(TimeOf(-1.25), 0.75);
  EXPECT_EQ(DecodeDate(-1.25), (CivilDate{1899, 12, 28}));
  EXPECT_TRUE(SameDay(45822.01, 45822.99));
  EXPECT_FALSE(SameDay(45822.99, 45823.0));
  EXPECT_EQ(DecodeDate(EncodeDate(1753, 1, 1)), (CivilDate{1753, 1, 1}));
}

TEST(DateTime, ValuesOutsideTheRangeAreHeldToIt) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(DecodeDate(-1e9), (CivilDate{1, 1, 1}));
  EXPECT_EQ(DecodeDate(1e12), (CivilDate{9999, 12, 31}));
  EXPECT_EQ(DecodeDate(inf), (CivilDate{9999, 12, 31}));
  EXPECT_EQ(DecodeDate(-inf), (CivilDate{1, 1, 1}));
  EXPECT_EQ(DayNumber(nan), 0);
  EXPECT_FALSE(IsValidDateTime(nan));
  EXPECT_FALSE(IsValidDateTime(kMaxDay + 1.0));
  EXPECT_TRUE(IsValidDateTime(kMaxDay + 0.999));
  EXPECT_FALSE(IsValidDateTime(kMinDay - 0.001));
  EXPECT_LT(ClampDateTime(1e300), kMaxDay + 1.0);
  EXPECT_EQ(DayNumber(1e300), kMaxDay);
}

TEST(DateTime, EncodingRejectsOrClampsImpossibleDates) {
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29));
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1));
  EXPECT_FALSE(TryEncodeDate(2024, 13, 1));
  EXPECT_FALSE(TryEncodeDate(2024, 4, 31));
  EXPECT_EQ(EncodeDate(2023, 2, 31), EncodeDate(2023, 2, 28));
  EXPECT_EQ(EncodeDate(-50, 0, 0), kMinDay);
  EXPECT_EQ(EncodeDate(12000, 14, 40), kMaxDay);
  EXPECT_EQ(DaysInMonth(2024, 0), 0);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_NEAR(EncodeDateTime(2025, 6, 14, 18, 0), 45822.75, 1e-9);
}

TEST(DateTime, MonthStepsClipTheDayAndKeepTheTime) {
  const double jan31 = EncodeDate(2023, 1, 31) + 0.5;
  EXPECT_EQ(DecodeDate(IncMonth(jan31, 1)), (CivilDate{2023, 2, 28}));
  EXPECT_DOUBLE_EQ(TimeOf(IncMonth(jan31, 1)), 0.5);
  EXPECT_EQ(DecodeDate(IncMonth(EncodeDate(2024, 1, 31), 1)), (CivilDate{2024, 2, 29}));
  EXPECT_EQ(DecodeDate(IncMonth(EncodeDate(2024, 3, 31), -1)), (CivilDate{2024, 2, 29}));
  EXPECT_EQ(DecodeDate(IncMonth(EncodeDate(2024, 12, 15), 1)), (CivilDate{2025, 1, 15}));
  EXPECT_EQ(DecodeDate(IncMonth(EncodeDate(2024, 1, 15), -13)), (CivilDate{2022, 12, 15}));
  EXPECT_EQ(DecodeDate(IncYear(EncodeDate(2024, 2, 29), 1)), (CivilDate{2025, 2, 28}));
  EXPECT_EQ(DecodeDate(IncYear(EncodeDate(2024, 2, 29), 4)), (CivilDate{2028, 2, 29}));
  // Steps over the edges of the range stop at them.
  EXPECT_EQ(DayNumber(IncMonth(EncodeDate(9999, 12, 15), 1)), kMaxDay);
  EXPECT_EQ(DayNumber(IncMonth(EncodeDate(1, 1, 15), -1)), kMinDay);
  EXPECT_EQ(DayNumber(IncYear(EncodeDate(2000, 1, 1), std::numeric_limits<int64_t>::max())), kMaxDay);
  EXPECT_EQ(DayNumber(IncMonth(EncodeDate(2000, 1, 1), std::numeric_limits<int64_t>::min())), kMinDay);
}

TEST(DisplayDate, NavigationMovesByCalendarMonths) {
  ManualClock clock(45822.4);
  EXPECT_DOUBLE_EQ(DisplayDateToday(clock), 45822.4);
  const double jan31 = EncodeDate(2025, 1, 31);
  EXPECT_EQ(DecodeDate(DisplayDateNextMonth(jan31)), (CivilDate{2025, 2, 28}));
  EXPECT_EQ(DecodeDate(DisplayDatePreviousMonth(EncodeDate(2025, 3, 31))), (CivilDate{2025, 2, 28}));
  EXPECT_EQ(DecodeDate(DisplayDateMonthChosen(jan31, 4)), (CivilDate{2025, 4, 30}));
  EXPECT_EQ(DecodeDate(DisplayDateMonthChosen(jan31, 12)), (CivilDate{2025, 12, 31}));
  EXPECT_EQ(DecodeDate(DisplayDateMonthChosen(jan31, 99)), (CivilDate{2025, 12, 31}));
  EXPECT_EQ(DecodeDate(DisplayDateMonthChosen(jan31, -3)), (CivilDate{2025, 1, 31}));
  EXPECT_DOUBLE_EQ(DisplayDatePicked(40000.25), 40000.25);
  EXPECT_EQ(DayNumber(DisplayDatePicked(std::nan(""))), 0);
  EXPECT_EQ(DayNumber(DisplayDateNextMonth(kMaxDay)), kMaxDay);
  clock.Set(-1e20);
  EXPECT_EQ(DayNumber(DisplayDateToday(clock)), kMinDay);
}

}  // namespace
}  // namespace ov
