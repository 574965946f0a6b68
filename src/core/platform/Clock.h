#pragma once
// The wall clock and the millisecond tick counter, injectable so that tests can move time.
#include <cstdint>

namespace ov {

class IClock {
 public:
  virtual ~IClock() = default;
  // Local date and time as days since 30 December 1899, the fraction being the time of day.
  virtual double Now() const = 0;
  // Milliseconds since some fixed moment; wraps around after 2^32.
  virtual uint32_t TickCount() const = 0;
};

// A clock the tests set by hand.
class ManualClock final : public IClock {
 public:
  explicit ManualClock(double now = 0, uint32_t tick = 0) : now_(now), tick_(tick) {}
  double Now() const override { return now_; }
  uint32_t TickCount() const override { return tick_; }
  void Set(double now) { now_ = now; }
  void SetTick(uint32_t tick) { tick_ = tick; }
  void Advance(double days) { now_ += days; }
  void AdvanceTick(uint32_t ms) { tick_ += ms; }

 private:
  double now_;
  uint32_t tick_;
};

}  // namespace ov
