#include "core/platform/LocaleNames.h"

#include "core/util/Text.h"

namespace ov {

std::string ILocaleNames::MonthYear(const DateParts& date) const {
  return LongMonthName(date.month) + " " + Format("%.4d", date.year);
}

namespace {

const char* const kDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

}  // namespace

std::string FakeLocaleNames::LongDayName(int d) const { return d >= 1 && d <= 7 ? kDays[d - 1] : ""; }
std::string FakeLocaleNames::ShortDayName(int d) const { return LongDayName(d).substr(0, 3); }
std::string FakeLocaleNames::LongMonthName(int m) const { return m >= 1 && m <= 12 ? kMonths[m - 1] : ""; }
std::string FakeLocaleNames::ShortMonthName(int m) const { return LongMonthName(m).substr(0, 3); }

std::string FakeLocaleNames::LongDate(const DateParts& d) const {
  return LongDayName(d.dayOfWeek) + ", " + LongMonthName(d.month) + " " + std::to_string(d.day) + ", " +
         std::to_string(d.year);
}

std::string FakeLocaleNames::TimeText(int h, int m, int s) const { return Format("%.2d:%.2d:%.2d", h, m, s); }

}  // namespace ov
