#pragma once
// Turning the desktop button releases reported by the hook library into triple-clicks.
#include <cstdint>

namespace ov {

class ClickSeries {
 public:
  // A release at `tick` (milliseconds); doubleClickTime is the system's double-click
  // time. Returns true for exactly the third release of a quick series: a release that
  // comes more than doubleClickTime after the previous one starts a new series, and a
  // fourth or later quick release does nothing. Where the releases happened plays no part.
  bool Release(int32_t tick, uint32_t doubleClickTime);

  int32_t Count() const { return count_; }

 private:
  int32_t count_ = 0;
  int32_t lastTick_ = 0;
};

}  // namespace ov
