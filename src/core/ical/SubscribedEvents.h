#pragma once
// The events of the active subscriptions as the day cells show them. The calendars are
// swapped in whole by the thread that read them; the drawing reads the lines of each day.
// Events are expanded over a window of weeks around the day asked for, never further.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "core/ical/IcsCalendar.h"
#include "core/render/DayDataSource.h"

namespace ov {

class SubscribedEvents {
 public:
  struct Source {
    std::shared_ptr<const IcsCalendar> calendar;
    uint32_t rgb = 0;  // the subscription's colour, 0xRRGGBB
  };
  // The window expanded at once: a few days before the day asked for and the weeks a
  // panel shows after it.
  static constexpr int64_t kDaysBefore = 7;
  static constexpr int64_t kDaysAfter = 7 * 9;

  explicit SubscribedEvents(const ILocalZone& zone) : zone_(zone) {}
  // Any thread. The order of the sources is the order of their lines within a day.
  // The new sources are expanded at once over the window last asked for, on the calling
  // thread (the reader's), so drawing the same days again costs nothing.
  void SetSources(std::vector<Source> sources);
  // Any thread.
  std::vector<DayEvent> EventsOf(int64_t day);
  // Whether the lines of `day` are expanded already (EventsOf returns them at once).
  bool Expanded(int64_t day);

 private:
  using Window = std::vector<std::vector<DayEvent>>;  // index: day - first day
  Window Expand(const std::vector<Source>& sources, int64_t first, int64_t last) const;

  const ILocalZone& zone_;
  std::mutex mutex_;
  std::vector<Source> sources_;
  bool windowValid_ = false;
  bool asked_ = false;  // a window was asked for: first_ and last_ name it
  int64_t first_ = 0, last_ = -1;
  Window window_;
};

// The notes' source with the day's event lines added (when `show` is on).
class EventDays final : public IDayDataSource {
 public:
  EventDays(IDayDataSource& notes, SubscribedEvents& events, const bool& show)
      : notes_(notes), events_(events), show_(show) {}
  DayData ReadDay(double date) override;

 private:
  IDayDataSource& notes_;
  SubscribedEvents& events_;
  const bool& show_;
};

}  // namespace ov
