#include "core/reminders/ReminderSchedule.h"

#include <algorithm>

#include "core/calendar/IsoDateTime.h"
#include "core/util/FileIo.h"
#include "core/util/Text.h"

namespace ov {

namespace {

// A few thousand marks at most are ever written; anything much larger is not ours.
constexpr size_t kMaxMarksFileBytes = size_t(4) << 20;
// A timer may wake a little early: what is due within this is taken as due.
constexpr double kEarlyTolerance = 0.05 / 86400.0;

bool EarlierStart(const ReminderItem& a, const ReminderItem& b) { return a.start < b.start; }

}  // namespace

MarksLoad ReminderSchedule::Load() {
  marks_.clear();
  std::error_code ec;
  if (!std::filesystem::exists(file_, ec) && !ec) return MarksLoad::Missing;
  auto bytes = ReadFileBytes(file_, kMaxMarksFileBytes);
  std::vector<std::string> lines = bytes ? SplitLines(*bytes) : std::vector<std::string>{};
  bool ok = !lines.empty() && lines[0] == kFiredRemindersHeader;
  for (size_t i = 1; ok && i < lines.size(); ++i) {
    // "<key> <due> <shown>"
    const std::string& line = lines[i];
    const size_t a = line.find(' '), b = a == std::string::npos ? a : line.find(' ', a + 1);
    if (b == std::string::npos || a != 16) {
      ok = false;
      break;
    }
    auto due = ParseIsoDateTime(std::string_view(line).substr(a + 1, b - a - 1));
    auto shown = ParseIsoDateTime(std::string_view(line).substr(b + 1));
    if (!due || !shown || line.find_first_not_of("0123456789abcdef") < a) {
      ok = false;
      break;
    }
    marks_[line.substr(0, a)] = FiredMark{*due, *shown};
  }
  if (ok) return MarksLoad::Loaded;
  marks_.clear();
  dirty_ = true;  // the next save replaces the broken file
  return MarksLoad::Corrupt;
}

bool ReminderSchedule::Save() {
  if (!dirty_) return true;
  std::string out = std::string(kFiredRemindersHeader) + "\r\n";
  for (const auto& [key, mark] : marks_)
    out += key + ' ' + FormatIsoDateTime(mark.due) + ' ' + FormatIsoDateTime(mark.shown) + "\r\n";
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  if (!WriteFileAtomic(file_, out)) return false;
  dirty_ = false;
  return true;
}

double ReminderSchedule::DueTime(const ReminderItem& item, int leadMinutes) {
  const int lead = std::clamp(item.leadMinutes.value_or(leadMinutes), 0, 7 * 1440);
  return item.start - lead / 1440.0;
}

ReminderCheck ReminderSchedule::Evaluate(double now, const std::vector<ReminderItem>& items, int leadMinutes,
                                         bool catchUp) {
  ReminderCheck check;
  if (Paused(now)) {
    check.next = pausedUntil_;
    return check;
  }
  if (pausedUntil_ != 0) {
    // The pause is over: what came due during it was missed.
    pausedUntil_ = 0;
    catchUp = true;
  }
  std::set<std::string> seen;
  for (const ReminderItem& item : items) {
    seen.insert(item.key);
    if (marks_.count(item.key)) continue;
    const double due = DueTime(item, leadMinutes);
    if (due > now + kEarlyTolerance) {
      if (!check.next || due < *check.next) check.next = due;
      continue;
    }
    const double age = now - due;
    if (catchUp || seen_.count(item.key)) {
      // Watched coming due, or due while nobody watched.
      if (age <= kOnTimeWindow) check.due.push_back(item);
      else if (age < kMissedWindow) check.missed.push_back(item);
    } else if (now < item.start) {
      // Typed in after its reminder time but before the thing itself: remind now.
      check.due.push_back(item);
    }
    // Otherwise typed in after the time it names: nothing to remind of, only marked.
    marks_[item.key] = FiredMark{due, now};
    dirty_ = true;
  }
  seen_ = std::move(seen);
  for (auto it = marks_.begin(); it != marks_.end();) {
    if (it->second.due < now - kMarksKeptDays) {
      it = marks_.erase(it);
      dirty_ = true;
    } else {
      ++it;
    }
  }
  std::stable_sort(check.due.begin(), check.due.end(), EarlierStart);
  std::stable_sort(check.missed.begin(), check.missed.end(), EarlierStart);
  return check;
}

std::vector<ReminderItem> ReminderSchedule::Upcoming(double now, const std::vector<ReminderItem>& items,
                                                     int leadMinutes, size_t count) const {
  std::vector<ReminderItem> out;
  for (const ReminderItem& item : items)
    if (!marks_.count(item.key) && DueTime(item, leadMinutes) > now) out.push_back(item);
  std::stable_sort(out.begin(), out.end(), [leadMinutes](const ReminderItem& a, const ReminderItem& b) {
    return DueTime(a, leadMinutes) < DueTime(b, leadMinutes);
  });
  if (out.size() > count) out.resize(count);
  return out;
}

}  // namespace ov
