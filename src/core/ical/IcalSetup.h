#pragma once
// One-time set-up of the iCalendar library for the whole process.
#include <string>

namespace ov {

// Points the iCalendar library at the zone folder (zones.tab and one VTIMEZONE file per
// zone) and makes it read zones only from there. Call once, on the main thread, before
// any calendar is read. Returns false when the folder has no zones.tab: zones named in
// calendars then stay unknown and their times are read as UTC.
// The path is in the form the C library's fopen takes (on Windows the ANSI code page).
bool UseZoneFolder(const std::string& folder);

}  // namespace ov
