#pragma once
// The PC's zone given by an IANA name, read from the zone folder (see UseZoneFolder).
// Tests use it to look at a calendar from any place; the program uses the system's zone.
#include <string>

#include "core/platform/LocalZone.h"

namespace ov {

class IanaLocalZone final : public ILocalZone {
 public:
  // An unknown name gives UTC; Known() tells.
  explicit IanaLocalZone(const std::string& name);
  bool Known() const { return zone_ != nullptr; }
  int64_t LocalFromUtc(int64_t utcSeconds) const override;

 private:
  void* zone_ = nullptr;  // the library's zone, which lives as long as the process
};

}  // namespace ov
