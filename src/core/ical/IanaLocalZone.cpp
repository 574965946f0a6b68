#include "core/ical/IanaLocalZone.h"

#include <libical/ical.h>

namespace ov {

IanaLocalZone::IanaLocalZone(const std::string& name) : zone_(icaltimezone_get_builtin_timezone(name.c_str())) {}

int64_t IanaLocalZone::LocalFromUtc(int64_t utcSeconds) const {
  if (!zone_) return utcSeconds;
  icaltimezone* zone = static_cast<icaltimezone*>(zone_);
  icaltimetype t = icaltime_from_timet_with_zone(time_t(utcSeconds), 0, icaltimezone_get_utc_timezone());
  int isDaylight = 0;
  return utcSeconds + icaltimezone_get_utc_offset_of_utc_time(zone, &t, &isDaylight);
}

}  // namespace ov
