#pragma once
// One thing to be reminded of, whatever it comes from (a timed note line, an event of a
// subscribed calendar), and the interface every such source offers.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ov {

struct ReminderItem {
  double start = 0;                // local date and time the thing begins
  std::optional<int> leadMinutes;  // its own lead time; none: the user's setting
  std::string title;               // the text shown
  std::string origin;              // where it comes from (a section's name), may be empty
  int32_t day = 0;                 // the day whose cell a click opens
  // Stays the same exactly as long as origin, day, time and text stay the same: an edited
  // line is a new reminder, an unchanged one fires once.
  std::string key;
};

// The identity of a reminder (a fixed-width hash in hexadecimal).
std::string ReminderKey(const std::string& origin, int32_t day, int hour, int minute, const std::string& title);

class IReminderSource {
 public:
  virtual ~IReminderSource() = default;
  // Appends every reminder of the days firstDay..lastDay (day numbers).
  virtual void Collect(int32_t firstDay, int32_t lastDay, std::vector<ReminderItem>& out) = 0;
};

}  // namespace ov
