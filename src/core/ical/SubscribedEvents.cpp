#include "core/ical/SubscribedEvents.h"

#include <cmath>

#include "core/calendar/DateTime.h"

namespace ov {

void SubscribedEvents::SetSources(std::vector<Source> sources) {
  std::lock_guard lock(mutex_);
  sources_ = std::move(sources);
  windowValid_ = false;
}

std::vector<DayEvent> SubscribedEvents::EventsOf(int64_t day) {
  std::lock_guard lock(mutex_);
  if (!windowValid_ || day < first_ || day > last_) {
    first_ = day - kDaysBefore;
    last_ = day + kDaysAfter;
    window_.assign(size_t(last_ - first_ + 1), {});
    for (const Source& s : sources_) {
      if (!s.calendar) continue;
      for (const EventLine& l : s.calendar->Lines(first_, last_, zone_))
        window_[size_t(l.day - first_)].push_back({FormatEventLine(l), s.rgb});
    }
    windowValid_ = true;
  }
  return window_[size_t(day - first_)];
}

DayData EventDays::ReadDay(double date) {
  DayData d = notes_.ReadDay(date);
  if (show_) d.events = events_.EventsOf(DayNumber(date));
  return d;
}

}  // namespace ov
