#pragma once
// Where the calendar drawing gets each day's entry text and colour-code mask.
#include <cstdint>
#include <string>
#include <vector>

namespace ov {

// One line of a subscribed calendar's event: "HH:MM 标题" or "标题".
struct DayEvent {
  std::string text;
  uint32_t rgb = 0;  // the subscription's colour, 0xRRGGBB
  bool operator==(const DayEvent&) const = default;
};

struct DayData {
  std::string text;        // the entry text, empty for none
  uint32_t colorCodes = 0; // bit i = colour code i
  std::vector<DayEvent> events;  // the subscribed calendars' lines of the day, in order
};

class IDayDataSource {
 public:
  virtual ~IDayDataSource() = default;
  // The data of the whole day of `date` (days since 30 December 1899).
  virtual DayData ReadDay(double date) = 0;
};

}  // namespace ov
