#pragma once
// Where the calendar drawing gets each day's entry text and colour-code mask.
#include <cstdint>
#include <string>

namespace ov {

struct DayData {
  std::string text;        // the entry text, empty for none
  uint32_t colorCodes = 0; // bit i = colour code i
};

class IDayDataSource {
 public:
  virtual ~IDayDataSource() = default;
  // The data of the whole day of `date` (days since 30 December 1899).
  virtual DayData ReadDay(double date) = 0;
};

}  // namespace ov
