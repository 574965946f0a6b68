#include "win/platform/WinLocaleNames.h"

#include <windows.h>

#include "win/platform/Utf16.h"

namespace ov {

namespace {

std::wstring LocaleArg(const std::string& name) { return Widen(name); }

}  // namespace

std::string WinLocaleNames::Info(unsigned long lcType) const {
  std::wstring name = LocaleArg(localeName_);
  const wchar_t* loc = localeName_.empty() ? LOCALE_NAME_USER_DEFAULT : name.c_str();
  wchar_t buf[128];
  int n = GetLocaleInfoEx(loc, lcType, buf, 128);
  return n > 1 ? Narrow(std::wstring_view(buf, size_t(n - 1))) : std::string();
}

std::string WinLocaleNames::ShortDayName(int d) const {
  return d >= 1 && d <= 7 ? Info(LOCALE_SABBREVDAYNAME1 + unsigned(d - 1)) : std::string();
}
std::string WinLocaleNames::LongDayName(int d) const {
  return d >= 1 && d <= 7 ? Info(LOCALE_SDAYNAME1 + unsigned(d - 1)) : std::string();
}
std::string WinLocaleNames::ShortMonthName(int m) const {
  return m >= 1 && m <= 12 ? Info(LOCALE_SABBREVMONTHNAME1 + unsigned(m - 1)) : std::string();
}
std::string WinLocaleNames::LongMonthName(int m) const {
  return m >= 1 && m <= 12 ? Info(LOCALE_SMONTHNAME1 + unsigned(m - 1)) : std::string();
}

std::string WinLocaleNames::LongDate(const DateParts& d) const {
  if (d.year < 1601 || d.year > 30827 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31) return {};
  SYSTEMTIME st{};
  st.wYear = WORD(d.year);
  st.wMonth = WORD(d.month);
  st.wDay = WORD(d.day);
  st.wDayOfWeek = WORD(d.dayOfWeek % 7);  // SYSTEMTIME counts from Sunday = 0
  std::wstring name = LocaleArg(localeName_);
  const wchar_t* loc = localeName_.empty() ? LOCALE_NAME_USER_DEFAULT : name.c_str();
  wchar_t buf[256];
  int n = GetDateFormatEx(loc, DATE_LONGDATE, &st, nullptr, buf, 256, nullptr);
  return n > 1 ? Narrow(std::wstring_view(buf, size_t(n - 1))) : std::string();
}

std::string WinLocaleNames::TimeText(int h, int m, int s) const {
  if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return {};
  SYSTEMTIME st{};
  st.wYear = 2000;
  st.wMonth = 1;
  st.wDay = 1;
  st.wHour = WORD(h);
  st.wMinute = WORD(m);
  st.wSecond = WORD(s);
  std::wstring name = LocaleArg(localeName_);
  const wchar_t* loc = localeName_.empty() ? LOCALE_NAME_USER_DEFAULT : name.c_str();
  wchar_t buf[128];
  int n = GetTimeFormatEx(loc, 0, &st, nullptr, buf, 128);
  return n > 1 ? Narrow(std::wstring_view(buf, size_t(n - 1))) : std::string();
}

}  // namespace ov
