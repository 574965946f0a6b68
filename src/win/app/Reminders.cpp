#include "win/app/Reminders.h"

#include <cmath>

#include "core/calendar/DateTime.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/app/Timers.h"
#include "win/desktop/DatePicker.h"
#include "win/shell/TrayIcon.h"

namespace ov {

namespace {

// A long wait is cut into pieces of at most a day; each piece only looks again.
constexpr double kMaxTimerMs = 86400000.0;

}  // namespace

ReminderNotifier::ReminderNotifier(App& app, HWND timerWindow)
    : app_(app),
      timerWindow_(timerWindow),
      schedule_(app.Folders.dataFolder / kFiredRemindersFile),
      source_(app.Folders.EntriesFolder(), *app.Shell, app.CodePage) {}

ReminderNotifier::~ReminderNotifier() {
  if (timerWindow_) KillTimer(timerWindow_, kTimerReminder);
}

void ReminderNotifier::Start() {
  if (schedule_.Load() == MarksLoad::Corrupt && app_.Tray) {
    // Said once: the next save replaces the file with a sound one.
    app_.Tray->ShowBalloon(kFiredMarksCorruptTitle, kFiredMarksCorruptBody);
  }
  started_ = true;
  Refresh(true);
}

std::vector<ReminderItem> ReminderNotifier::Collect(double now) {
  std::vector<ReminderItem> items;
  // Yesterday for what was missed overnight, tomorrow for reminders due before midnight.
  const int32_t today = DayNumber(now);
  source_.Collect(today - 1, today + 1, items);
  return items;
}

void ReminderNotifier::Refresh(bool catchUp) {
  if (!started_) return;
  KillTimer(timerWindow_, kTimerReminder);
  const double now = app_.Clock.Now();
  day_ = DayNumber(now);
  if (!app_.settings.RemindersEnabled || !app_.Entries) return;
  const std::vector<ReminderItem> items = Collect(now);
  const ReminderCheck check = schedule_.Evaluate(now, items, app_.settings.ReminderLead, catchUp);
  if (auto notice = NoticeFor(check, app_.Entries->CurrentSection())) {
    if (app_.Tray) app_.Tray->ShowBalloon(notice->title, notice->body);
    shown_ = std::move(notice);
  }
  // A failed save is tried again at the next look; until then a restart may repeat.
  schedule_.Save();
  if (check.next) {
    const double ms = std::min(kMaxTimerMs, std::ceil((*check.next - now) * 86400000.0) + 1);
    SetTimer(timerWindow_, kTimerReminder, static_cast<UINT>(std::max(1.0, ms)), nullptr);
  }
}

void ReminderNotifier::OnTick() {
  if (started_ && DayNumber(app_.Clock.Now()) != day_) Refresh();
}

void ReminderNotifier::NoticeClicked() {
  if (shown_) OpenDay(shown_->day);
}

void ReminderNotifier::OpenDay(int32_t day) {
  if (app_.Cells.CellForDate(day)) {
    app_.OpenEntryForDate(day);
  } else {
    // Not on the calendar: the date picker on that day, whose choice opens it.
    if (app_.DatePicker) app_.DatePicker->ShowFor(day);
  }
}

void ReminderNotifier::TogglePause() {
  const double now = app_.Clock.Now();
  schedule_.PauseUntil(schedule_.Paused(now) ? now : now + 1.0 / 24.0);
  Refresh();
}

bool ReminderNotifier::Paused() const { return schedule_.Paused(app_.Clock.Now()); }

std::vector<ReminderItem> ReminderNotifier::Upcoming(size_t count) {
  const double now = app_.Clock.Now();
  return schedule_.Upcoming(now, Collect(now), app_.settings.ReminderLead, count);
}

}  // namespace ov
