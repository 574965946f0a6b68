#include "core/calendar/IsoDateTime.h"

#include <cmath>

#include "core/calendar/DateTime.h"
#include "core/util/Text.h"

namespace ov {

std::string FormatIsoDateTime(double dateTime) {
  const double t = ClampDateTime(dateTime);
  int64_t day = static_cast<int64_t>(std::floor(t));
  int64_t ms = std::llround((t - static_cast<double>(day)) * 86400000.0);
  if (ms >= 86400000) ++day, ms -= 86400000;
  const CivilDate c = CivilFromDayNumber(day);
  return Format("%04d-%02d-%02dT%02d:%02d:%02d.%03d", c.year, c.month, c.day, static_cast<int>(ms / 3600000),
                static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000));
}

std::optional<double> ParseIsoDateTime(std::string_view s) {
  auto num = [&s](size_t at, size_t len, int& v) {
    if (at + len > s.size()) return false;
    v = 0;
    for (size_t i = at; i < at + len; ++i) {
      if (s[i] < '0' || s[i] > '9') return false;
      v = v * 10 + (s[i] - '0');
    }
    return true;
  };
  int y, mo, d, h, mi, se, ms = 0;
  if (s.size() != 19 && s.size() != 23) return std::nullopt;
  if (!num(0, 4, y) || s[4] != '-' || !num(5, 2, mo) || s[7] != '-' || !num(8, 2, d) || s[10] != 'T' ||
      !num(11, 2, h) || s[13] != ':' || !num(14, 2, mi) || s[16] != ':' || !num(17, 2, se))
    return std::nullopt;
  if (s.size() == 23 && (s[19] != '.' || !num(20, 3, ms))) return std::nullopt;
  if (h > 23 || mi > 59 || se > 59) return std::nullopt;
  auto date = TryEncodeDate(y, mo, d);
  if (!date) return std::nullopt;
  return *date + (((h * 60 + mi) * 60 + se) * 1000 + ms) / 86400000.0;
}

}  // namespace ov
