#pragma once
// The decisions about reminders: which are due now, which came due while nobody watched
// (the program was not running, the PC slept, the clock jumped), which fired already, and
// when to look next. Driven by the time it is told, so tests can move the clock at will.
//
// What has fired is kept in a small file ("fired marks"), so that a restart neither
// repeats a reminder nor loses one. A mark is kept for some days after its due time.
#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/reminders/Reminder.h"

namespace ov {

inline constexpr int kDefaultReminderLead = 5;  // minutes
inline constexpr int kMaxReminderLead = 120;
// A reminder found due at most this late was watched coming due: it is shown as itself.
inline constexpr double kOnTimeWindow = 60.0 / 86400.0;
// Older than this, a missed reminder is dropped instead of shown.
inline constexpr double kMissedWindow = 12.0 / 24.0;
// Marks are forgotten this long after their due time.
inline constexpr double kMarksKeptDays = 3.0;
// The file's name in the data folder and its first line.
inline constexpr char kFiredRemindersFile[] = "FiredReminders.txt";
inline constexpr char kFiredRemindersHeader[] = "Orvinta fired reminders 1";

struct FiredMark {
  double due = 0;    // when it was due
  double shown = 0;  // when it was shown (or dropped)
};

enum class MarksLoad { Loaded, Missing, Corrupt };

struct ReminderCheck {
  std::vector<ReminderItem> due;     // show now
  std::vector<ReminderItem> missed;  // came due unwatched, less than 12 hours ago
  std::optional<double> next;        // when to look again (none: nothing left to wait for)
};

class ReminderSchedule {
 public:
  explicit ReminderSchedule(std::filesystem::path marksFile) : file_(std::move(marksFile)) {}

  // Reads the fired marks. Corrupt: the marks start empty and the next Save rebuilds the
  // file (only "already fired" is lost).
  MarksLoad Load();
  // Writes the marks when they changed (to a temporary file, then replacing the old one).
  bool Save();

  // When a reminder is due: its start minus its own lead time or else `leadMinutes`.
  static double DueTime(const ReminderItem& item, int leadMinutes);

  // Decides at `now` over every reminder the sources know. `catchUp`: the program has
  // just started or the PC woke up, so whatever came due in between was missed rather
  // than typed in late. Every reminder it hands out (or drops) is marked fired.
  ReminderCheck Evaluate(double now, const std::vector<ReminderItem>& items, int leadMinutes, bool catchUp);

  // The next `count` reminders still to come, soonest first.
  std::vector<ReminderItem> Upcoming(double now, const std::vector<ReminderItem>& items, int leadMinutes,
                                     size_t count) const;

  // Nothing is shown before `until`; what came due meanwhile is shown as missed then.
  void PauseUntil(double until) { pausedUntil_ = until; }
  bool Paused(double now) const { return now < pausedUntil_; }

  const std::map<std::string, FiredMark>& Marks() const { return marks_; }

 private:
  std::filesystem::path file_;
  std::map<std::string, FiredMark> marks_;
  std::set<std::string> seen_;  // the reminders of the last evaluation
  double pausedUntil_ = 0;
  bool dirty_ = false;
};

}  // namespace ov
