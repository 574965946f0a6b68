#pragma once
// Reads the subscribed calendars on a worker thread: local files when they change (and
// their cached copies in the Calendars folder when they cannot be read), web calendars
// from their cached copies. Hands the calendars to the day cells and tells a window, by
// a posted message, that the wallpaper needs rebuilding.
#include <windows.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "core/ical/SubscribedEvents.h"
#include "core/ical/Subscriptions.h"

namespace ov {

inline constexpr UINT kMsgCalendarsChanged = WM_APP + 0x3D0;

class CalendarSubscriptions {
 public:
  CalendarSubscriptions(SubscribedEvents& events, std::filesystem::path calendarsFolder, HWND notify);
  ~CalendarSubscriptions();  // stops the worker
  CalendarSubscriptions(const CalendarSubscriptions&) = delete;
  CalendarSubscriptions& operator=(const CalendarSubscriptions&) = delete;

  // Replaces the list and reads it again; starts the worker the first time.
  void Start(std::vector<Subscription> list);

 private:
  struct Entry {
    Subscription sub;
    std::shared_ptr<const IcsCalendar> calendar;
    std::filesystem::file_time_type seen{};
    bool loaded = false;
  };
  void Run();
  bool Refresh(Entry& e);  // true when the calendar changed

  SubscribedEvents& events_;
  const std::filesystem::path folder_;
  const HWND notify_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Subscription> pending_;
  bool hasPending_ = false;
  bool stop_ = false;
  std::thread worker_;
};

}  // namespace ov
