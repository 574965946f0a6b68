#include <gtest/gtest.h>

#include "CalendarTestSupport.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/ChineseCalendar.h"

namespace ov {
namespace {

using test::Day;

TEST(ChineseCalendarTest, KnownDates) {
  struct Case {
    int y, m, d;
    LunarDate lunar;
    const char* note;
  } cases[] = {
      {1900, 1, 31, {1900, 1, false, 1}, "春节"},
      {2026, 2, 17, {2026, 1, false, 1}, "春节"},
      {2026, 2, 16, {2025, 12, false, 29}, "除夕"},  // a 29-day 12th month
      {2024, 2, 9, {2023, 12, false, 30}, "除夕"},   // a 30-day one
      {2033, 12, 22, {2033, 11, true, 1}, "闰冬月"},
      {2033, 12, 21, {2033, 11, false, 30}, "冬至"},
      {2023, 3, 22, {2023, 2, true, 1}, "闰二月"},
      {2025, 8, 29, {2025, 7, false, 7}, "七夕"},
      {2026, 9, 25, {2026, 8, false, 15}, "中秋"},
      {2026, 3, 3, {2026, 1, false, 15}, "元宵"},
      {2026, 6, 19, {2026, 5, false, 5}, "端午"},
      {2026, 10, 18, {2026, 9, false, 9}, "重阳"},
      {2026, 1, 26, {2025, 12, false, 8}, "腊八"},
      {2026, 6, 5, {2026, 4, false, 20}, "芒种"},
      {2026, 4, 5, {2026, 2, false, 18}, "清明"},
      {2026, 5, 17, {2026, 4, false, 1}, "四月"},
      {2026, 5, 30, {2026, 4, false, 14}, "十四"},
      {2100, 12, 31, {2100, 12, false, 1}, "腊月"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    const auto lunar = ToLunar(Day(c.y, c.m, c.d));
    ASSERT_TRUE(lunar);
    EXPECT_EQ(*lunar, c.lunar) << lunar->year << " " << lunar->month << (lunar->leap ? "L " : " ") << lunar->day;
    EXPECT_EQ(LunarNote(Day(c.y, c.m, c.d)), c.note);
    EXPECT_EQ(FromLunar(c.lunar), Day(c.y, c.m, c.d));
  }
  EXPECT_EQ(LunarYearName(2026), "丙午");
  EXPECT_EQ(ZodiacName(2026), "马");
  EXPECT_EQ(LunarYearName(1984), "甲子");
  EXPECT_EQ(ZodiacName(1984), "鼠");
  EXPECT_EQ(LunarDateText(*ToLunar(Day(2026, 2, 17))), "丙午年正月初一");
  EXPECT_EQ(LeapMonthOf(2033), 11);
  EXPECT_EQ(LeapMonthOf(2026), 0);
}

TEST(ChineseCalendarTest, NothingOutsideTheRange) {
  for (int64_t day : {Day(1900, 1, 30), Day(1800, 6, 1), Day(2101, 1, 1), Day(9999, 12, 31), int64_t(-700000)}) {
    EXPECT_FALSE(ToLunar(day));
    EXPECT_EQ(LunarNote(day), "");
    EXPECT_EQ(FestivalOn(day), "");
    EXPECT_FALSE(SolarTermOn(day));
  }
  EXPECT_FALSE(SolarTermDay(1900, 0));  // 6 January 1900 lies before the range
  EXPECT_FALSE(SolarTermDay(2101, 5));
  EXPECT_FALSE(FromLunar({1899, 12, false, 1}));
  EXPECT_FALSE(FromLunar({2100, 12, false, 30}));  // 2101
}

// Every day of the range converts and back, days and months follow each other, and the
// month lengths and festival rules hold throughout.
TEST(ChineseCalendarTest, EveryDayRoundTripsAndMonthsAreConsistent) {
  std::optional<LunarDate> prev;
  int newYears = 0, eves = 0, leapMonths = 0;
  for (int64_t day = LunarFirstDay(); day <= LunarLastDay(); ++day) {
    const auto d = ToLunar(day);
    ASSERT_TRUE(d) << day;
    ASSERT_EQ(FromLunar(*d), day);
    ASSERT_GE(LunarMonthDays(d->year, d->month, d->leap), d->day);
    if (prev) {
      if (d->day == 1) {
        ASSERT_TRUE(prev->day == 29 || prev->day == 30);
        ASSERT_EQ(prev->day, LunarMonthDays(prev->year, prev->month, prev->leap));
        if (d->leap) {
          ASSERT_EQ(d->month, prev->month);
          ++leapMonths;
        } else {
          ASSERT_EQ(d->month, prev->month % 12 + 1);
        }
      } else {
        ASSERT_EQ(*d, (LunarDate{prev->year, prev->month, prev->leap, prev->day + 1}));
      }
    }
    if (FestivalOn(day) == "春节") ++newYears;
    if (FestivalOn(day) == "除夕") {
      ++eves;
      ASSERT_EQ(FestivalOn(day + 1), "春节") << day;
    }
    prev = d;
  }
  EXPECT_EQ(newYears, 201);
  EXPECT_EQ(eves, 200);
  EXPECT_EQ(leapMonths, 74);
}

TEST(ChineseCalendarTest, SolarTermsInOrderOncePerHalfMonth) {
  EXPECT_EQ(SolarTermDay(2026, 10), Day(2026, 6, 5));  // 芒种
  EXPECT_EQ(SolarTermDay(2026, 6), Day(2026, 4, 5));   // 清明
  EXPECT_EQ(SolarTermDay(2021, 23), Day(2021, 12, 21));  // 冬至 at 23:59 Beijing time
  EXPECT_EQ(SolarTermName(2), "立春");
  for (int y = 1901; y <= 2100; ++y) {
    int64_t last = 0;
    for (int i = 0; i < 24; ++i) {
      const auto day = SolarTermDay(y, i);
      ASSERT_TRUE(day);
      ASSERT_GT(*day, last + 12) << y << " " << i;
      ASSERT_EQ(SolarTermOn(*day), i);
      last = *day;
    }
  }
}

TEST(ChineseCalendarTest, Names) {
  EXPECT_EQ(LunarDayName(1), "初一");
  EXPECT_EQ(LunarDayName(10), "初十");
  EXPECT_EQ(LunarDayName(11), "十一");
  EXPECT_EQ(LunarDayName(20), "二十");
  EXPECT_EQ(LunarDayName(21), "廿一");
  EXPECT_EQ(LunarDayName(30), "三十");
  EXPECT_EQ(LunarDayName(31), "");
  EXPECT_EQ(LunarMonthName(1, false), "正月");
  EXPECT_EQ(LunarMonthName(12, false), "腊月");
  EXPECT_EQ(LunarMonthName(2, true), "闰二月");
}

}  // namespace
}  // namespace ov
