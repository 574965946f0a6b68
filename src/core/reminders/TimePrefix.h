#pragma once
// Which note lines remind: a line that begins with a time of day.
//
// The rule, kept small on purpose:
//   - spaces and tabs before the time are skipped;
//   - the time is an hour of one or two digits (0..23), a colon (":" or the full-width
//     "："), and exactly two digits of minutes (00..59);
//   - a range may follow ("9:30-10:00", "9:30~10:00", "9:30～10:00", spaces allowed
//     around the sign); only the start time counts;
//   - the time (or range) must not run on into another digit or colon ("9:301",
//     "9:30:15" are not times);
//   - then the text, without the spaces in front of it; a line with no text does not
//     remind.
// So "2026-12-09" and "1:2" are not times.
#include <optional>
#include <string>
#include <string_view>

namespace ov {

struct TimePrefix {
  int hour = 0;
  int minute = 0;
  std::string text;  // the rest of the line
};

std::optional<TimePrefix> ParseTimePrefix(std::string_view line);

}  // namespace ov
