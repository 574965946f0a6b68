#pragma once
// The PC's own time zone, as the calendar's events are shown in it.
#include <cstdint>

namespace ov {

class ILocalZone {
 public:
  virtual ~ILocalZone() = default;
  // The PC's wall-clock time at the moment `utcSeconds` (both counted in seconds since
  // 1 January 1970, the wall-clock time as if it were UTC).
  virtual int64_t LocalFromUtc(int64_t utcSeconds) const = 0;
};

// A zone with a fixed offset from UTC, for tests and as the last resort.
class FixedLocalZone final : public ILocalZone {
 public:
  explicit FixedLocalZone(int32_t offsetSeconds = 0) : offset_(offsetSeconds) {}
  int64_t LocalFromUtc(int64_t utcSeconds) const override { return utcSeconds + offset_; }

 private:
  int32_t offset_;
};

}  // namespace ov
