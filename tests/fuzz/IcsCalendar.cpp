// Calendars as a subscription may serve them: any bytes. Reading keeps what it can, never
// crashes, and expanding the events over a few weeks stays bounded.
#include "FuzzCheck.h"
#include "core/ical/IcalSetup.h"
#include "core/ical/IcsCalendar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ov;
  static const bool zones = UseZoneFolder(ORV_ZONEINFO_DIR);
  (void)zones;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const IcsCalendar cal = IcsCalendar::Parse(bytes);
  FUZZ_CHECK(cal.FirstBadLine() >= 0);
  // Six weeks around 10 March 2026, seen from a zone east of UTC.
  const int64_t first = 46090, last = first + 41;
  const FixedLocalZone zone(8 * 3600);
  const std::vector<EventLine> lines = cal.Lines(first, last, zone);
  for (const EventLine& l : lines) {
    FUZZ_CHECK(l.day >= first && l.day <= last);
    FUZZ_CHECK(l.minuteOfDay >= 0 && l.minuteOfDay < 1440);
  }
  FUZZ_CHECK(cal.Lines(last, first, zone).empty());
  return 0;
}
