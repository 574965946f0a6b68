#pragma once
// The system clock: local time as days since 30 December 1899, and the tick counter.
#include "core/platform/Clock.h"

namespace ov {

class WinClock final : public IClock {
 public:
  double Now() const override;
  uint32_t TickCount() const override;
};

}  // namespace ov
