#pragma once
// Reads the subscribed calendars on a worker thread: local files when they change (and
// their cached copies in the Calendars folder when they cannot be read), web calendars
// from their cached copies at once and from the network at start-up and every
// refreshMinutes. Hands the calendars to the day cells and tells a window, by a posted
// message, that the wallpaper needs rebuilding or that a subscription's state changed.
#include <windows.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/ical/SubscribedEvents.h"
#include "core/ical/Subscriptions.h"

namespace ov {

// wParam 1: the day cells have new lines; 0: only the state texts changed.
inline constexpr UINT kMsgCalendarsChanged = WM_APP + 0x3D0;

class CalendarSubscriptions {
 public:
  CalendarSubscriptions(SubscribedEvents& events, std::filesystem::path calendarsFolder, HWND notify);
  // Stops the worker: a fetch under way is cancelled, and a fetch that does not end at
  // once is left to the worker, which then touches nothing of this object's owners.
  ~CalendarSubscriptions();
  CalendarSubscriptions(const CalendarSubscriptions&) = delete;
  CalendarSubscriptions& operator=(const CalendarSubscriptions&) = delete;

  // Replaces the list and reads it again (a fetch under way is cancelled); starts the
  // worker the first time.
  void Start(std::vector<Subscription> list);
  // Fetches every web calendar of the list now, whatever its interval.
  void RefreshNow();
  // The state text of a subscription for the list ("已更新 10:42", "无法连接: 超时", ...).
  std::string StateOf(const Subscription& s) const;
  // The calendar's own name (X-WR-CALNAME) once it has been read; empty before.
  std::string CalendarNameOf(const Subscription& s) const;

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  std::thread worker_;
};

}  // namespace ov
