// The lunar calendar and the solar terms against the reference tools of the build machine
// (Debian packages python3-lunardate, lunar and python3-ephem, run with /usr/bin/python3).
// Skipped where the tools are missing, and under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/calendar/DateTime.h"
#include "core/calendar/ChineseCalendar.h"
#include "support/TempDir.h"

namespace ov {
namespace {

#ifndef _WIN32
// The source tree: the test data folder is its tests/data.
const std::string kRoot = std::filesystem::path(ORV_TEST_DATA_DIR).parent_path().parent_path().string();

std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    if (pclose(p) != 0) out.clear();
  }
  return out;
}

bool Have(const std::string& check) { return std::system((check + " >/dev/null 2>&1").c_str()) == 0; }

std::string Iso(int64_t day) {
  const CivilDate c = CivilFromDayNumber(day);
  char b[16];
  std::snprintf(b, sizeof b, "%04d-%02d-%02d", c.year, c.month, c.day);
  return b;
}

int64_t ParseIso(const std::string& s) {
  return DayNumberFromCivil(std::stoi(s.substr(0, 4)), std::stoi(s.substr(5, 2)), std::stoi(s.substr(8, 2)));
}

// Where the tools' tables and the astronomical rules part: the first day that differs and
// why. The tools agree with each other on all of them.
struct Known {
  const char* first;
  const char* reason;
};
const Known kKnownDifferences[] = {
    {"1914-11-17", "new moon 1914-11-18 00:01 UTC+8 = 23:47 Beijing local mean time, in use before 1929"},
    {"1916-02-03", "new moon 1916-02-04 00:05 UTC+8 = 23:51 Beijing local mean time, in use before 1929"},
    {"1920-11-10", "new moon 1920-11-11 00:04 UTC+8 = 23:50 Beijing local mean time, in use before 1929"},
    {"1933-07-22", "new moon 1933-07-23 00:03 UTC+8, 3 minutes after midnight; the tools begin the month on 07-22"},
    {"1954-11-25", "new moon 1954-11-25 20:30 UTC+8 begins the 11th month; no midnight margin: the tools' table starts it a day late"},
    {"1956-12-02", "new moon 1956-12-02 16:12 UTC+8 begins the 11th month; no midnight margin: the tools' table starts it a day late"},
    {"1978-09-02", "new moon 1978-09-03 00:08 UTC+8, 8 minutes after midnight; the tools begin the month on 09-02"},
};

const Known* Explain(int64_t day) {
  for (const Known& k : kKnownDifferences) {
    const int64_t first = ParseIso(k.first);
    if (day >= first && day < first + 31) return &k;
  }
  return nullptr;
}

// Compares "YYYY-MM-DD year month day leap" lines with ToLunar; returns the days compared.
int Compare(const std::string& tool, const std::string& lines) {
  std::istringstream in(lines);
  std::string iso, year;
  int compared = 0;
  std::map<const Known*, int> explained;
  while (in >> iso >> year) {
    if (year == "-") continue;
    int month, day, leap;
    in >> month >> day >> leap;
    const int64_t d = ParseIso(iso);
    const auto ours = ToLunar(d);
    ++compared;
    const LunarDate theirs{std::stoi(year), month, leap != 0, day};
    if (ours && *ours == theirs) continue;
    if (const Known* k = Explain(d)) {
      ++explained[k];
      continue;
    }
    ADD_FAILURE() << tool << " " << iso << ": tool " << theirs.year << "-" << (theirs.leap ? "闰" : "") << theirs.month
                  << "-" << theirs.day << ", ours "
                  << (ours ? LunarDateText(*ours) : std::string("none"));
  }
  for (const auto& [k, days] : explained)
    std::printf("  %s: %d day(s) from %s differ: %s\n", tool.c_str(), days, k->first, k->reason);
  return compared;
}

TEST(LunarReferenceTest, EveryDayAgainstLunardate) {
  if (!Have("/usr/bin/python3 -c 'import lunardate'")) GTEST_SKIP() << "python3-lunardate is not installed";
  const std::string out =
      Capture("/usr/bin/python3 " + kRoot + "/tests/core/calendar/lunar_reference.py lunardate 1900-01-31 2099-12-31");
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(Compare("lunardate", out), DayNumberFromCivil(2099, 12, 31) - DayNumberFromCivil(1900, 1, 31) + 1);
}

// The `lunar` command costs a process per day: it is asked about the first day of every
// month and the day before, which pins every month's start and length, over the years it
// knows (1900..2049).
TEST(LunarReferenceTest, MonthBoundariesAgainstTheLunarCommand) {
  if (!Have("command -v lunar")) GTEST_SKIP() << "lunar is not installed";
  const test::TempDir temp;
  const auto list = temp.Path() / "days.txt";
  {
    std::ofstream f(list);
    for (int64_t d = LunarFirstDay(); d <= DayNumberFromCivil(2049, 12, 31); ++d)
      if (ToLunar(d)->day == 1) f << Iso(d - 1) << "\n" << Iso(d) << "\n";
  }
  const std::string out =
      Capture("/usr/bin/python3 " + kRoot + "/tests/core/calendar/lunar_reference.py lunar < " + list.string());
  ASSERT_FALSE(out.empty());
  EXPECT_GT(Compare("lunar", out), 3600);
}

// The committed tables against a fresh run of their generator: every solar term of
// 1901..2100 on the same Beijing civil date, and every month start.
TEST(LunarReferenceTest, TablesMatchTheEphemerisModel) {
  if (!Have("/usr/bin/python3 -c 'import ephem'")) GTEST_SKIP() << "python3-ephem is not installed";
  // One run of the generator prints both: the terms (three fields) and the months (four).
  std::istringstream lines(Capture("/usr/bin/python3 " + kRoot + "/tools/lunar/gen_lunar_tables.py --terms --months"));
  int count = 0, starts = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string iso, time;
    int index, year, month, leap;
    if (std::count(line.begin(), line.end(), '\t') == 2) {
      ASSERT_TRUE(fields >> iso >> index >> time) << line;
      if (std::stoi(iso.substr(0, 4)) < 1901) continue;
      EXPECT_EQ(SolarTermDay(std::stoi(iso.substr(0, 4)), index), ParseIso(iso))
          << iso << " " << SolarTermName(index) << " " << time;
      ++count;
    } else {
      ASSERT_TRUE(fields >> iso >> year >> month >> leap) << line;
      const int64_t d = ParseIso(iso);
      if (!InLunarRange(d)) continue;
      EXPECT_EQ(ToLunar(d), (LunarDate{year, month, leap != 0, 1})) << iso;
      ++starts;
    }
  }
  EXPECT_EQ(count, 200 * 24);
  EXPECT_GT(starts, 2480);
}
#endif

}  // namespace
}  // namespace ov
