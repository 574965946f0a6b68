#pragma once
// Shared set-up of the calendar tests: the zone folder of this build, calendars written
// as lists of lines, and days written as ISO dates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/calendar/DateTime.h"
#include "core/ical/IcalSetup.h"

namespace ov::test {

class IcalEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(UseZoneFolder(ORV_ZONEINFO_DIR)) << ORV_ZONEINFO_DIR; }
};

// Joins lines with CRLF, wrapped in VCALENDAR.
inline std::string Calendar(const std::vector<std::string>& body) {
  std::string s = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n";
  for (const auto& l : body) s += l + "\r\n";
  return s + "END:VCALENDAR\r\n";
}

// "2026-03-08" as the program's day number.
inline int64_t Day(const std::string& iso) {
  return DayNumberFromCivil(std::stoi(iso.substr(0, 4)), std::stoi(iso.substr(5, 2)), std::stoi(iso.substr(8, 2)));
}

inline std::string Iso(int64_t day) {
  CivilDate c = CivilFromDayNumber(day);
  char b[16];
  std::snprintf(b, sizeof b, "%04d-%02d-%02d", c.year, c.month, c.day);
  return b;
}

}  // namespace ov::test
