#include "core/calendar/DisplayDate.h"

#include "core/calendar/DateTime.h"
#include "core/util/Numeric.h"

namespace ov {

double DisplayDateToday(const IClock& clock) { return ClampDateTime(clock.Now()); }

double DisplayDateNextMonth(double displayDate) { return IncMonth(displayDate, 1); }

double DisplayDatePreviousMonth(double displayDate) { return IncMonth(displayDate, -1); }

double DisplayDateMonthChosen(double displayDate, int month) {
  CivilDate c = DecodeDate(displayDate);
  return IncMonth(displayDate, Clamp(month, 1, 12) - c.month);
}

double DisplayDatePicked(double picked) { return ClampDateTime(picked); }

}  // namespace ov
