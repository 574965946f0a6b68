#pragma once
// Official days off and make-up working days of mainland China. The program carries the
// announced years (CnHolidaysData.cpp); an optional file in the data folder with the same
// format adds later years or replaces a year whose plan changed. A year that neither lists
// (1900..2100) still has the statutory days off of the holiday law: 元旦 1 January, 春节
// 除夕 to 正月初三, 清明 on its solar term, 劳动节 1 and 2 May, 端午 五月初五, 中秋
// 八月十五 and 国庆 1 to 3 October; only the yearly notice adds bridging days and make-up
// working days.
//
// Format, one day per line: date (YYYY-MM-DD) TAB off (1 = day off, 0 = make-up working
// day) TAB name. Lines starting with '#' and blank lines are skipped.
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

extern const char* const kBuiltInHolidays;

// The name of the optional file in the data folder.
inline constexpr const char* kHolidayFileName = "cn-holidays.tsv";

enum class DayOff : uint8_t { None, Off, Work };

class HolidayCalendar {
 public:
  // The days of the text. Every year that the text names replaces the days of that year
  // already held. Returns the 1-based numbers of the lines that were malformed (and left
  // out; the other lines are used).
  std::vector<int> Add(std::string_view text);

  // The listed kind of a day; in a year nothing lists, the statutory days off.
  DayOff On(int64_t day) const;
  bool Empty() const { return days_.empty(); }

  // The compiled-in years.
  static const HolidayCalendar& BuiltIn();

 private:
  struct Day {
    int64_t day;
    DayOff kind;
  };
  std::vector<Day> days_;  // sorted by day, unique
  std::set<int> listedYears_;  // years with at least one listed day
};

struct HolidayLoad {
  HolidayCalendar calendar;
  // Empty, or the one message that names the file and its malformed lines.
  std::string message;
};

// The compiled-in days plus those of `file` when it exists. A file that cannot be read or
// has malformed lines gives a message; what could be read is still used.
HolidayLoad LoadHolidays(const std::filesystem::path& file);

// The colour class a day takes with the holiday layer: an official day off takes the
// holiday colour (0) like a weekend; a make-up working day loses the weekend's; a colour
// code (mask not zero) always wins.
int LayerColorClass(int colorClass, uint32_t colorMask, DayOff kind);

}  // namespace ov
