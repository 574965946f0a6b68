#pragma once
// The PC's time zone, with the system's own rules for each year.
#include "core/platform/LocalZone.h"

namespace ov {

class WinLocalZone final : public ILocalZone {
 public:
  int64_t LocalFromUtc(int64_t utcSeconds) const override;
};

}  // namespace ov
