#pragma once
// Names of days and months and the date and time formats of the user's locale.
#include <cstdint>
#include <string>

namespace ov {

// A calendar date broken into its parts; dayOfWeek is ISO (1 = Monday .. 7 = Sunday).
struct DateParts {
  int32_t year = 1900, month = 1, day = 1, dayOfWeek = 1;
};

class ILocaleNames {
 public:
  virtual ~ILocaleNames() = default;
  // Weekday names, isoWeekday 1 = Monday .. 7 = Sunday ("ddd" and "dddd").
  virtual std::string ShortDayName(int isoWeekday) const = 0;
  virtual std::string LongDayName(int isoWeekday) const = 0;
  // Month names, month 1..12 ("mmm" and "mmmm").
  virtual std::string ShortMonthName(int month) const = 0;
  virtual std::string LongMonthName(int month) const = 0;
  // The long date format ("dddddd").
  virtual std::string LongDate(const DateParts& date) const = 0;
  // The time format of the locale.
  virtual std::string TimeText(int hour, int minute, int second) const = 0;
  // "mmmm yyyy": long month name, a space, the four-digit year.
  std::string MonthYear(const DateParts& date) const;
};

// Fixed English names and formats for native tests ("Tuesday, March 12, 2024",
// "13:05:09"). Out-of-range numbers give an empty name.
class FakeLocaleNames final : public ILocaleNames {
 public:
  std::string ShortDayName(int isoWeekday) const override;
  std::string LongDayName(int isoWeekday) const override;
  std::string ShortMonthName(int month) const override;
  std::string LongMonthName(int month) const override;
  std::string LongDate(const DateParts& date) const override;
  std::string TimeText(int hour, int minute, int second) const override;
};

}  // namespace ov
