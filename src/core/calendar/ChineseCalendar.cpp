#include "core/calendar/ChineseCalendar.h"

#include <algorithm>
#include <array>

#include "core/calendar/DateTime.h"
#include "core/calendar/LunarTables.h"

namespace ov {

using lunar::kFirstTableYear;
using lunar::kLastTableYear;

namespace {

constexpr int kYears = kLastTableYear - kFirstTableYear + 1;

uint32_t Word(int year) { return lunar::kLunarYears[year - kFirstTableYear]; }
int LeapOfWord(uint32_t w) { return int((w >> 13) & 0xF); }
int MonthCount(uint32_t w) { return LeapOfWord(w) ? 13 : 12; }
int LengthAt(uint32_t w, int index) { return (w >> index) & 1 ? 30 : 29; }

// Day number of the first day of every lunar year in the table, computed once.
const std::array<int64_t, kYears>& YearStarts() {
  static const std::array<int64_t, kYears> starts = [] {
    std::array<int64_t, kYears> s{};
    for (int i = 0; i < kYears; ++i)
      s[size_t(i)] = DayNumberFromCivil(kFirstTableYear + i, 1, 1) + int64_t((lunar::kLunarYears[i] >> 17) & 0x3F);
    return s;
  }();
  return starts;
}

// Index (0..12) of a month within its year's sequence; -1 when the year has no such month.
int MonthIndex(uint32_t w, int month, bool leap) {
  const int leapMonth = LeapOfWord(w);
  if (month < 1 || month > 12 || (leap && leapMonth != month)) return -1;
  const int index = month - 1 + ((leapMonth && month > leapMonth) || leap ? 1 : 0);
  return index;
}

constexpr std::string_view kStems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
constexpr std::string_view kBranches[12] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
constexpr std::string_view kAnimals[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
constexpr std::string_view kMonths[12] = {"正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "冬", "腊"};
constexpr std::string_view kDigits[11] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
constexpr std::string_view kTerms[24] = {"小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨",
                                         "立夏", "小满", "芒种", "夏至", "小暑", "大暑", "立秋", "处暑",
                                         "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

int Mod(int64_t a, int m) { return int(((a % m) + m) % m); }

}  // namespace

int64_t LunarFirstDay() { return YearStarts()[0]; }
int64_t LunarLastDay() {
  static const int64_t last = DayNumberFromCivil(kLastTableYear, 12, 31);
  return last;
}
bool InLunarRange(int64_t day) { return day >= LunarFirstDay() && day <= LunarLastDay(); }

std::optional<LunarDate> ToLunar(int64_t day) {
  if (!InLunarRange(day)) return std::nullopt;
  const auto& starts = YearStarts();
  // The lunar year begins in the same Gregorian year or belongs to the one before.
  int year = CivilFromDayNumber(day).year;
  if (year > kLastTableYear || starts[size_t(year - kFirstTableYear)] > day) --year;
  const uint32_t w = Word(year);
  int64_t offset = day - starts[size_t(year - kFirstTableYear)];
  const int leapMonth = LeapOfWord(w);
  for (int i = 0; i < MonthCount(w); ++i) {
    const int length = LengthAt(w, i);
    if (offset < length) {
      LunarDate d;
      d.year = year;
      d.leap = leapMonth && i == leapMonth;
      d.month = leapMonth && i >= leapMonth ? i : i + 1;
      d.day = int(offset) + 1;
      return d;
    }
    offset -= length;
  }
  return std::nullopt;  // not reached: the years follow each other without gaps
}

std::optional<int64_t> FromLunar(const LunarDate& date) {
  if (date.year < kFirstTableYear || date.year > kLastTableYear) return std::nullopt;
  const uint32_t w = Word(date.year);
  const int index = MonthIndex(w, date.month, date.leap);
  if (index < 0 || date.day < 1 || date.day > LengthAt(w, index)) return std::nullopt;
  int64_t day = YearStarts()[size_t(date.year - kFirstTableYear)];
  for (int i = 0; i < index; ++i) day += LengthAt(w, i);
  day += date.day - 1;
  if (!InLunarRange(day)) return std::nullopt;
  return day;
}

int LeapMonthOf(int lunarYear) {
  if (lunarYear < kFirstTableYear || lunarYear > kLastTableYear) return 0;
  return LeapOfWord(Word(lunarYear));
}

int LunarMonthDays(int lunarYear, int month, bool leap) {
  if (lunarYear < kFirstTableYear || lunarYear > kLastTableYear) return 0;
  const uint32_t w = Word(lunarYear);
  const int index = MonthIndex(w, month, leap);
  return index < 0 ? 0 : LengthAt(w, index);
}

std::optional<int64_t> SameLunarDateIn(const LunarDate& anchor, int lunarYear) {
  LunarDate d = anchor;
  d.year = lunarYear;
  d.leap = anchor.leap && LeapMonthOf(lunarYear) == anchor.month;
  const int length = LunarMonthDays(lunarYear, d.month, d.leap);
  if (length == 0) return std::nullopt;
  d.day = std::min(d.day, length);
  return FromLunar(d);
}

std::string LunarYearName(int lunarYear) {
  return std::string(kStems[Mod(lunarYear - 4, 10)]) + std::string(kBranches[Mod(lunarYear - 4, 12)]);
}

std::string ZodiacName(int lunarYear) { return std::string(kAnimals[Mod(lunarYear - 4, 12)]); }

std::string LunarMonthName(int month, bool leap) {
  if (month < 1 || month > 12) return {};
  return std::string(leap ? "闰" : "") + std::string(kMonths[month - 1]) + "月";
}

std::string LunarDayName(int day) {
  if (day < 1 || day > 30) return {};
  if (day <= 10) return "初" + std::string(kDigits[day]);
  if (day < 20) return "十" + std::string(kDigits[day - 10]);
  if (day == 20) return "二十";
  if (day < 30) return "廿" + std::string(kDigits[day - 20]);
  return "三十";
}

std::string LunarDateText(const LunarDate& date) {
  return LunarYearName(date.year) + "年" + LunarMonthName(date.month, date.leap) + LunarDayName(date.day);
}

std::optional<int> SolarTermOn(int64_t day) {
  if (!InLunarRange(day)) return std::nullopt;
  const CivilDate c = CivilFromDayNumber(day);
  const auto& row = lunar::kTermDays[c.year - kFirstTableYear];
  for (int i = (c.month - 1) * 2; i < c.month * 2; ++i)
    if (row[i] == c.day) return i;
  return std::nullopt;
}

std::string_view SolarTermName(int index) { return index >= 0 && index < 24 ? kTerms[index] : std::string_view(); }

std::optional<int64_t> SolarTermDay(int year, int index) {
  if (year < kFirstTableYear || year > kLastTableYear || index < 0 || index >= 24) return std::nullopt;
  const int64_t day = DayNumberFromCivil(year, index / 2 + 1, lunar::kTermDays[year - kFirstTableYear][index]);
  if (!InLunarRange(day)) return std::nullopt;
  return day;
}

std::string_view FestivalOn(int64_t day) {
  const auto d = ToLunar(day);
  if (!d) return {};
  if (!d->leap) {
    struct Fixed {
      int month, day;
      std::string_view name;
    };
    static constexpr Fixed kFixed[] = {{1, 1, "春节"}, {1, 15, "元宵"}, {5, 5, "端午"}, {7, 7, "七夕"},
                                       {8, 15, "中秋"}, {9, 9, "重阳"}, {12, 8, "腊八"}};
    for (const Fixed& f : kFixed)
      if (f.month == d->month && f.day == d->day) return f.name;
  }
  // The year's last day, whether its last month has 29 or 30 days.
  const uint32_t w = Word(d->year);
  const int last = MonthCount(w) - 1;
  if (MonthIndex(w, d->month, d->leap) == last && d->day == LengthAt(w, last)) return "除夕";
  return {};
}

std::string LunarNote(int64_t day) {
  const auto d = ToLunar(day);
  if (!d) return {};
  if (auto festival = FestivalOn(day); !festival.empty()) return std::string(festival);
  if (auto term = SolarTermOn(day)) return std::string(SolarTermName(*term));
  return d->day == 1 ? LunarMonthName(d->month, d->leap) : LunarDayName(d->day);
}

}  // namespace ov
