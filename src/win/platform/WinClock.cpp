#include "win/platform/WinClock.h"

#include <windows.h>

namespace ov {

double WinClock::Now() const {
  SYSTEMTIME st;
  GetLocalTime(&st);
  double date = 0;
  // SystemTimeToVariantTime drops milliseconds; the day fraction is computed here instead.
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER u;
  u.LowPart = ft.dwLowDateTime;
  u.HighPart = ft.dwHighDateTime;
  // FILETIME counts 100 ns since 1 Jan 1601; 1 Jan 1601 is day -109205 of the 1899 epoch.
  date = static_cast<double>(u.QuadPart) / 864000000000.0 - 109205.0;
  return date + offset_;
}

uint32_t WinClock::TickCount() const { return GetTickCount(); }

}  // namespace ov
