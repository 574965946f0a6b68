#include "core/desktop/ClickSeries.h"

namespace ov {

bool ClickSeries::Release(int32_t tick, uint32_t doubleClickTime) {
  bool third = false;
  // The sum is taken in 64 bits, so it cannot wrap around.
  if (static_cast<int64_t>(tick) > static_cast<int64_t>(lastTick_) + doubleClickTime) {
    count_ = 1;
  } else {
    ++count_;
    third = count_ == 3;
  }
  lastTick_ = tick;
  return third;
}

}  // namespace ov
