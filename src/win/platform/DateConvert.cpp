#include "win/platform/DateConvert.h"

#include <oleauto.h>

#include <cmath>

namespace ov {

double DaysFromSystemTime(const SYSTEMTIME& st) {
  SYSTEMTIME day = st;
  day.wHour = day.wMinute = day.wSecond = day.wMilliseconds = 0;
  double v = 0;
  if (!SystemTimeToVariantTime(&day, &v)) return 0;
  return v;
}

SYSTEMTIME SystemTimeFromDays(double days) {
  SYSTEMTIME st{};
  // OLE dates before 1899 count the fraction the other way; only the whole day is used.
  double whole = std::trunc(days);
  if (!VariantTimeToSystemTime(whole, &st)) GetLocalTime(&st);
  st.wHour = st.wMinute = st.wSecond = st.wMilliseconds = 0;
  return st;
}

}  // namespace ov
