#pragma once
// How the date the calendar is built around (DisplayDate) moves. Every result lies in
// the supported date range (DateTime.h); the caller stores it and rebuilds as needed.
#include "core/platform/Clock.h"

namespace ov {

// "今天": now.
double DisplayDateToday(const IClock& clock);
// "下个月" / "上个月": one calendar month on or back, the day clipped to the target month.
double DisplayDateNextMonth(double displayDate);
double DisplayDatePreviousMonth(double displayDate);
// A month chosen from the month list: same day and year in that month, the day clipped.
// A month outside 1..12 is held to that range.
double DisplayDateMonthChosen(double displayDate, int month);
// A date picked in a date picker.
double DisplayDatePicked(double picked);

}  // namespace ov
