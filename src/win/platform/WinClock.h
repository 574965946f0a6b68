#pragma once
// The system clock: local time as days since 30 December 1899, and the tick counter.
#include "core/platform/Clock.h"

namespace ov {

class WinClock final : public IClock {
 public:
  double Now() const override;
  uint32_t TickCount() const override;
  // Moves Now() by `days` from here on; the tick counter is left as it is. Only the
  // test clock (win/app/TestClock.h) calls it.
  void Shift(double days) { offset_ += days; }

 private:
  double offset_ = 0;
};

}  // namespace ov
