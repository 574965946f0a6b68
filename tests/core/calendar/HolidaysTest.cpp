#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "CalendarTestSupport.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/Holidays.h"
#include "support/TempDir.h"

namespace ov {
namespace {

using test::Day;

TEST(HolidaysTest, BuiltInYears) {
  const HolidayCalendar& c = HolidayCalendar::BuiltIn();
  EXPECT_EQ(c.On(Day(2026, 2, 17)), DayOff::Off);   // 春节
  EXPECT_EQ(c.On(Day(2026, 2, 14)), DayOff::Work);  // a Saturday worked
  EXPECT_EQ(c.On(Day(2026, 2, 13)), DayOff::None);
  EXPECT_EQ(c.On(Day(2007, 1, 1)), DayOff::Off);
  EXPECT_EQ(c.On(Day(2006, 12, 30)), DayOff::Work);
  EXPECT_EQ(c.On(Day(2026, 10, 10)), DayOff::Work);
}

// Every day of the listed years is exactly what the list says: the statutory days off
// of unlisted years add nothing to them.
TEST(HolidaysTest, ListedYearsKeepTheirListExactly) {
  std::map<int64_t, DayOff> listed;
  std::istringstream in(kBuiltInHolidays);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const int64_t day = Day(std::stoi(line.substr(0, 4)), std::stoi(line.substr(5, 2)), std::stoi(line.substr(8, 2)));
    listed[day] = line.substr(11, 1) == "1" ? DayOff::Off : DayOff::Work;
  }
  ASSERT_GT(listed.size(), 600u);
  const HolidayCalendar& c = HolidayCalendar::BuiltIn();
  for (int64_t day = Day(2007, 1, 1); day <= Day(2026, 12, 31); ++day) {
    const auto it = listed.find(day);
    ASSERT_EQ(c.On(day), it == listed.end() ? DayOff::None : it->second)
        << CivilFromDayNumber(day).year << "-" << CivilFromDayNumber(day).month << "-" << CivilFromDayNumber(day).day;
  }
}

// A year without a notice gets the statutory days off and no make-up working days.
// 除夕 falls on 腊月二十九 in 2027 and on 腊月三十 in 2030.
TEST(HolidaysTest, UnlistedYearsGetTheStatutoryDaysOff) {
  struct Year {
    int year;
    std::vector<std::pair<int, int>> off;  // month, day
  } years[] = {
      {2027, {{1, 1}, {2, 5}, {2, 6}, {2, 7}, {2, 8}, {4, 5}, {5, 1}, {5, 2}, {6, 9}, {9, 15}, {10, 1}, {10, 2}, {10, 3}}},
      {2030, {{1, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {4, 5}, {5, 1}, {5, 2}, {6, 5}, {9, 12}, {10, 1}, {10, 2}, {10, 3}}},
  };
  const HolidayCalendar& c = HolidayCalendar::BuiltIn();
  for (const Year& y : years) {
    std::set<int64_t> expected;
    for (const auto& [m, d] : y.off) expected.insert(Day(y.year, m, d));
    for (int64_t day = Day(y.year, 1, 1); day <= Day(y.year, 12, 31); ++day)
      ASSERT_EQ(c.On(day), expected.count(day) ? DayOff::Off : DayOff::None)
          << y.year << " day " << day - Day(y.year, 1, 1) + 1;
  }
  // Beyond the years the lunar tables cover, nothing.
  EXPECT_EQ(c.On(Day(1899, 1, 1)), DayOff::None);
  EXPECT_EQ(c.On(Day(2101, 1, 1)), DayOff::None);
  EXPECT_EQ(c.On(Day(2100, 10, 1)), DayOff::Off);
}

TEST(HolidaysTest, LaterYearsFromTextAndMalformedLinesLeftOut) {
  HolidayCalendar c = HolidayCalendar::BuiltIn();
  const auto bad = c.Add(
      "\xEF\xBB\xBF# a later year\r\n"
      "2027-01-01\t1\t元旦\r\n"
      "2027-02-06\t1\t春节\n"
      "2027-02-07\t0\t春节\n"
      "\n"
      "2027-02-30\t1\t春节\n"   // no such day
      "2027-02-08\t2\t春节\n"   // off is neither 0 nor 1
      "2027-02-09 1 春节\n"     // spaces, not tabs
      "garbage\n"
      "2026-10-08\t1\t国庆节\n");  // a listed year replaces the built-in one
  EXPECT_EQ(bad, (std::vector<int>{6, 7, 8, 9}));
  EXPECT_EQ(c.On(Day(2027, 1, 1)), DayOff::Off);
  EXPECT_EQ(c.On(Day(2027, 2, 7)), DayOff::Work);
  EXPECT_EQ(c.On(Day(2027, 2, 8)), DayOff::None);
  EXPECT_EQ(c.On(Day(2026, 10, 8)), DayOff::Off);
  EXPECT_EQ(c.On(Day(2026, 10, 1)), DayOff::None);  // 2026 now comes from the text alone
  EXPECT_EQ(c.On(Day(2025, 10, 1)), DayOff::Off);
}

TEST(HolidaysTest, LoadReportsTheFileOnce) {
  const test::TempDir dir;
  const auto file = dir.Path() / kHolidayFileName;
  HolidayLoad none = LoadHolidays(file);
  EXPECT_TRUE(none.message.empty());
  EXPECT_EQ(none.calendar.On(Day(2026, 2, 17)), DayOff::Off);
  EXPECT_EQ(none.calendar.On(Day(2027, 10, 3)), DayOff::Off);  // statutory
  {
    std::ofstream f(file, std::ios::binary);
    f << "2027-01-01\t1\t元旦\n2027-13-01\t1\tx\nbad\n";
  }
  HolidayLoad load = LoadHolidays(file);
  EXPECT_EQ(load.calendar.On(Day(2027, 1, 1)), DayOff::Off);
  EXPECT_EQ(load.calendar.On(Day(2027, 10, 3)), DayOff::None);  // the file's 2027 replaces the law's
  EXPECT_EQ(load.calendar.On(Day(2026, 2, 17)), DayOff::Off);
  EXPECT_NE(load.message.find("第 2、3 行"), std::string::npos) << load.message;
}

TEST(HolidaysTest, LayerColourClass) {
  struct Case {
    int colorClass;
    uint32_t mask;
    DayOff kind;
    int expected;
  } cases[] = {
      {-1, 0, DayOff::Off, 0},    // a weekday off turns red like a weekend
      {0, 0, DayOff::Work, -1},   // a Saturday worked is an ordinary day
      {-1, 0, DayOff::Work, -1},
      {0, 0, DayOff::None, 0},
      {2, 0x4, DayOff::Off, 2},   // colour codes win
      {2, 0x4, DayOff::Work, 2},
      {0, 0x1, DayOff::Work, 0},  // the red code set by the user stays
  };
  for (const Case& c : cases) EXPECT_EQ(LayerColorClass(c.colorClass, c.mask, c.kind), c.expected);
}

}  // namespace
}  // namespace ov
