#include "core/calendar/Holidays.h"

#include <algorithm>
#include <set>

#include "core/calendar/ChineseCalendar.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/LunarTables.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace {

// "YYYY-MM-DD" naming a real day.
std::optional<int64_t> ParseDay(std::string_view s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-') return std::nullopt;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
  auto num = [&](size_t at, size_t n) {
    int v = 0;
    for (size_t i = 0; i < n; ++i) v = v * 10 + (s[at + i] - '0');
    return v;
  };
  const auto date = TryEncodeDate(num(0, 4), num(5, 2), num(8, 2));
  if (!date) return std::nullopt;
  return DayNumber(*date);
}

constexpr int kQingmingTerm = 6;  // 0 = 小寒 ... 6 = 清明

// The days off the holiday law fixes for every year, bridging days and make-up working
// days aside (those only a yearly notice decides).
bool StatutoryDayOff(int64_t day) {
  const CivilDate civil = CivilFromDayNumber(day);
  if (civil.year < lunar::kFirstTableYear || civil.year > lunar::kLastTableYear) return false;
  if (civil.month == 1 && civil.day == 1) return true;
  if (civil.month == 5 && civil.day <= 2) return true;
  if (civil.month == 10 && civil.day <= 3) return true;
  if (SolarTermOn(day) == kQingmingTerm) return true;
  if (const auto l = ToLunar(day); l && !l->leap) {
    if (l->month == 1 && l->day <= 3) return true;
    if (l->month == 5 && l->day == 5) return true;
    if (l->month == 8 && l->day == 15) return true;
  }
  // 除夕: the day before 正月初一, whether the twelfth month has 29 days or 30.
  const auto next = ToLunar(day + 1);
  return next && next->month == 1 && !next->leap && next->day == 1;
}

}  // namespace

std::vector<int> HolidayCalendar::Add(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<int> bad;
  std::vector<Day> added;
  std::set<int> years;
  int number = 0;
  for (const std::string& raw : SplitLines(text)) {
    ++number;
    const std::string line = TrimControl(raw);
    if (line.empty() || line[0] == '#') continue;
    const size_t tab1 = line.find('\t');
    const size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    const auto day = ParseDay(std::string_view(line).substr(0, tab1));
    const std::string off = tab1 == std::string::npos ? "" : TrimControl(line.substr(tab1 + 1, tab2 - tab1 - 1));
    if (!day || tab2 == std::string::npos || (off != "0" && off != "1")) {
      bad.push_back(number);
      continue;
    }
    added.push_back({*day, off == "1" ? DayOff::Off : DayOff::Work});
    years.insert(CivilFromDayNumber(*day).year);
  }
  std::erase_if(days_, [&](const Day& d) { return years.count(CivilFromDayNumber(d.day).year) != 0; });
  // A day listed twice keeps its last line.
  std::reverse(added.begin(), added.end());
  std::stable_sort(added.begin(), added.end(), [](const Day& a, const Day& b) { return a.day < b.day; });
  added.erase(std::unique(added.begin(), added.end(), [](const Day& a, const Day& b) { return a.day == b.day; }),
              added.end());
  days_.insert(days_.end(), added.begin(), added.end());
  listedYears_.insert(years.begin(), years.end());
  std::sort(days_.begin(), days_.end(), [](const Day& a, const Day& b) { return a.day < b.day; });
  return bad;
}

DayOff HolidayCalendar::On(int64_t day) const {
  auto it = std::lower_bound(days_.begin(), days_.end(), day, [](const Day& d, int64_t v) { return d.day < v; });
  if (it != days_.end() && it->day == day) return it->kind;
  if (listedYears_.count(CivilFromDayNumber(day).year) != 0) return DayOff::None;
  return StatutoryDayOff(day) ? DayOff::Off : DayOff::None;
}

const HolidayCalendar& HolidayCalendar::BuiltIn() {
  static const HolidayCalendar built = [] {
    HolidayCalendar c;
    c.Add(kBuiltInHolidays);
    return c;
  }();
  return built;
}

HolidayLoad LoadHolidays(const std::filesystem::path& file) {
  HolidayLoad load{HolidayCalendar::BuiltIn(), {}};
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return load;
  const std::string name = PathToUtf8(file);
  const auto bytes = ReadFileBytes(file, size_t(4) << 20);
  if (!bytes) {
    load.message = "无法读取节假日文件“" + name + "”。";
    return load;
  }
  const std::vector<int> bad = load.calendar.Add(*bytes);
  if (!bad.empty()) {
    std::string lines;
    for (size_t i = 0; i < bad.size() && i < 10; ++i) lines += (i ? "、" : "") + std::to_string(bad[i]);
    if (bad.size() > 10) lines += " 等";
    load.message = "节假日文件“" + name + "”第 " + lines + " 行的格式不正确，已忽略这些行。";
  }
  return load;
}

int LayerColorClass(int colorClass, uint32_t colorMask, DayOff kind) {
  if ((colorMask & 0xFF) != 0) return colorClass;
  switch (kind) {
    case DayOff::Off: return 0;
    case DayOff::Work: return colorClass == 0 ? -1 : colorClass;
    default: return colorClass;
  }
}

}  // namespace ov
