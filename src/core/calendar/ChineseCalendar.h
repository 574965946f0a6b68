#pragma once
// The Chinese (lunar) calendar of 31 January 1900 .. 31 December 2100 and the 24 solar
// terms of the same days, in Beijing time, from tables computed with an astronomical
// model (LunarTables.h). Days are whole day numbers as DayNumber() gives them (days since
// 30 December 1899). Outside the range every query answers "none": no lunar text is
// better than a wrong one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ov {

struct LunarDate {
  int year = 0;       // the Gregorian year in which the lunar year's first day falls
  int month = 1;      // 1..12
  bool leap = false;  // the leap month that follows month `month`
  int day = 1;        // 1..30
  constexpr bool operator==(const LunarDate& o) const {
    return year == o.year && month == o.month && leap == o.leap && day == o.day;
  }
};

// First and last day the lunar calendar covers (1900-01-31, 2100-12-31).
int64_t LunarFirstDay();
int64_t LunarLastDay();
bool InLunarRange(int64_t day);

std::optional<LunarDate> ToLunar(int64_t day);
// The day of a lunar date; nullopt when that year has no such month or day, or when the
// day lies outside the range.
std::optional<int64_t> FromLunar(const LunarDate& date);
// The leap month's number of a lunar year (0 = none or a year outside the table).
int LeapMonthOf(int lunarYear);
// 29 or 30; 0 when the year has no such month.
int LunarMonthDays(int lunarYear, int month, bool leap);

// The day of `anchor`'s lunar month and day in another lunar year: a leap-month date falls
// in the ordinary month of a year without that leap month, and day 30 on day 29 of a
// month that has 29 days. nullopt outside the range.
std::optional<int64_t> SameLunarDateIn(const LunarDate& anchor, int lunarYear);

// Sexagenary name of a lunar year ("丙午" for 2026) and its animal ("马").
std::string LunarYearName(int lunarYear);
std::string ZodiacName(int lunarYear);
// "正月", "二月" ... "十月", "冬月", "腊月"; a leap month with "闰" before it.
std::string LunarMonthName(int month, bool leap);
// "初一" ... "初十", "十一" ... "二十", "廿一" ... "廿九", "三十".
std::string LunarDayName(int day);
// "丙午年正月初一" (the year name, the month name and the day name).
std::string LunarDateText(const LunarDate& date);

// The solar term (0 = 小寒, 1 = 大寒, 2 = 立春 ... 23 = 冬至) that falls on a day.
std::optional<int> SolarTermOn(int64_t day);
std::string_view SolarTermName(int index);
// The day of solar term `index` in a Gregorian year, inside the range only.
std::optional<int64_t> SolarTermDay(int year, int index);

// The traditional festival on a day: 春节, 元宵, 端午, 七夕, 中秋, 重阳, 腊八 on their lunar
// dates (never in a leap month) and 除夕 on the last day of the lunar year; empty if none.
std::string_view FestivalOn(int64_t day);

// The note a day cell shows: the festival, else the solar term, else the lunar day (the
// month's name on its first day, "闰二月" for a leap month); empty outside the range.
std::string LunarNote(int64_t day);

}  // namespace ov
