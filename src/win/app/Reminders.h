#pragma once
// Reminders while the program runs: one timer set to the next due reminder, a balloon
// from the tray icon when one is due, and the day's pop-up when the balloon is clicked.
// The decisions are the core's (core/reminders); this class only asks and shows.
#include <windows.h>

#include <optional>
#include <vector>

#include "core/reminders/NoteReminders.h"
#include "core/reminders/ReminderNotice.h"
#include "core/reminders/ReminderSchedule.h"

namespace ov {

struct App;

class ReminderNotifier {
 public:
  // `timerWindow` receives kTimerReminder (the main window passes it to OnTimer).
  ReminderNotifier(App& app, HWND timerWindow);
  ~ReminderNotifier();

  // Reads what has fired and shows what came due while the program was not running.
  void Start();
  // Looks again now: the notes, the clock, the time zone or the settings changed.
  // `catchUp`: the PC has just woken up, so what came due meanwhile was missed.
  void Refresh(bool catchUp = false);
  void OnTimer() { Refresh(); }
  // The housekeeping tick: a new day brings the next day's notes into view.
  void OnTick();
  // The balloon was clicked: the day's pop-up over its cell, or the date picker on that
  // day when the calendar does not show it.
  void NoticeClicked();
  void OpenDay(int32_t day);

  // "暂停提醒一小时" on and off.
  void TogglePause();
  bool Paused() const;
  // The next reminders, soonest first, for the tray menu.
  std::vector<ReminderItem> Upcoming(size_t count);

 private:
  std::vector<ReminderItem> Collect(double now);

  App& app_;
  HWND timerWindow_;
  ReminderSchedule schedule_;
  NoteReminderSource source_;
  std::optional<ReminderNotice> shown_;  // the notice a click refers to
  int32_t day_ = 0;                      // the day of the last look
  bool started_ = false;
};

}  // namespace ov
