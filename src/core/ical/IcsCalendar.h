#pragma once
// A calendar read from iCalendar text (RFC 5545) and its events over a range of days,
// as the day cells show them: in the PC's own time zone, one line per event and day.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/LocalZone.h"

namespace ov {

// One event on one day. Days are counted like the program's dates (days since
// 30 December 1899).
struct EventLine {
  int64_t day = 0;
  bool timed = false;     // false: all-day, or a later day of an event that began before
  int minuteOfDay = 0;    // the start in the PC's zone, for a timed line
  std::string title;      // the first line of SUMMARY
  bool operator==(const EventLine&) const = default;
};

// "HH:MM 标题" for a timed line, "标题" otherwise.
std::string FormatEventLine(const EventLine& line);

class IcsCalendar {
 public:
  // Text beyond this many bytes is not read at all.
  static constexpr size_t kMaxBytes = 20u << 20;

  IcsCalendar();
  ~IcsCalendar();
  IcsCalendar(IcsCalendar&&) noexcept;
  IcsCalendar& operator=(IcsCalendar&&) noexcept;

  // Reads what can be read: a malformed line or component loses only itself.
  static IcsCalendar Parse(std::string_view text);

  // X-WR-CALNAME, empty when the calendar has none.
  const std::string& Name() const { return name_; }
  size_t EventCount() const;
  // The first line (1-based, as in the file) that could not be read; 0 when all could.
  int FirstBadLine() const { return firstBadLine_; }
  // True when the text was too large or held no calendar at all.
  bool Unreadable() const { return unreadable_; }

  // The lines of the days firstDay..lastDay (inclusive), sorted by day, then all-day lines
  // before timed ones, then by time and title. Repeating events are expanded over these
  // days only.
  std::vector<EventLine> Lines(int64_t firstDay, int64_t lastDay, const ILocalZone& zone) const;

 private:
  struct Data;
  std::unique_ptr<Data> d_;
  std::string name_;
  int firstBadLine_ = 0;
  bool unreadable_ = false;
};

}  // namespace ov
