#pragma once
// Between the program's date-time (days since 30 December 1899) and SYSTEMTIME.
#include <windows.h>

namespace ov {

double DaysFromSystemTime(const SYSTEMTIME& st);
// Whole-day part only; the time of day is midnight.
SYSTEMTIME SystemTimeFromDays(double days);

}  // namespace ov
