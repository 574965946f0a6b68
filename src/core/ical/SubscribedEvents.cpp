#include "core/ical/SubscribedEvents.h"

#include <cmath>

#include "core/calendar/DateTime.h"

namespace ov {

SubscribedEvents::Window SubscribedEvents::Expand(const std::vector<Source>& sources, int64_t first,
                                                  int64_t last) const {
  Window window(size_t(last - first + 1));
  for (const Source& s : sources) {
    if (!s.calendar) continue;
    for (const EventLine& l : s.calendar->Lines(first, last, zone_))
      window[size_t(l.day - first)].push_back({FormatEventLine(l), s.rgb});
  }
  return window;
}

void SubscribedEvents::SetSources(std::vector<Source> sources) {
  int64_t first = 0, last = -1;
  bool asked = false;
  {
    std::lock_guard lock(mutex_);
    asked = asked_;
    first = first_;
    last = last_;
  }
  // Outside the lock: drawing goes on with the old lines meanwhile.
  Window window;
  if (asked) window = Expand(sources, first, last);
  {
    std::lock_guard lock(mutex_);
    sources_.swap(sources);
    // Kept only if no other window was asked for in the meantime.
    windowValid_ = asked && first_ == first && last_ == last;
    if (windowValid_) window_.swap(window);
  }
  // The old calendars and lines are freed here, after the lock is released.
}

std::vector<DayEvent> SubscribedEvents::EventsOf(int64_t day) {
  std::lock_guard lock(mutex_);
  if (!windowValid_ || day < first_ || day > last_) {
    first_ = day - kDaysBefore;
    last_ = day + kDaysAfter;
    asked_ = true;
    window_ = Expand(sources_, first_, last_);
    windowValid_ = true;
  }
  return window_[size_t(day - first_)];
}

bool SubscribedEvents::Expanded(int64_t day) {
  std::lock_guard lock(mutex_);
  return windowValid_ && day >= first_ && day <= last_;
}

DayData EventDays::ReadDay(double date) {
  DayData d = notes_.ReadDay(date);
  if (show_) d.events = events_.EventsOf(DayNumber(date));
  return d;
}

}  // namespace ov
