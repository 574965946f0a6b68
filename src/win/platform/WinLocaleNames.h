#pragma once
// Day and month names and date/time formats from the system locale.
#include <string>

#include "core/platform/LocaleNames.h"

namespace ov {

class WinLocaleNames final : public ILocaleNames {
 public:
  // The user's locale, or an explicit one such as "zh-CN".
  WinLocaleNames() = default;
  explicit WinLocaleNames(std::string localeName) : localeName_(std::move(localeName)) {}

  std::string ShortDayName(int isoWeekday) const override;
  std::string LongDayName(int isoWeekday) const override;
  std::string ShortMonthName(int month) const override;
  std::string LongMonthName(int month) const override;
  std::string LongDate(const DateParts& date) const override;
  std::string TimeText(int hour, int minute, int second) const override;

 private:
  std::string Info(unsigned long lcType) const;
  std::string localeName_;  // empty: the user's default
};

}  // namespace ov
