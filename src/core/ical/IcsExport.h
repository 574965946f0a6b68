#pragma once
// The notes of a section written as an iCalendar file: one all-day event per note day,
// in the form Outlook, web calendars and phones import.
#include <cstdint>
#include <string>
#include <vector>

namespace ov {

struct ExportedNote {
  int64_t day = 0;              // days since 30 December 1899
  std::string text;             // UTF-8, lines separated by LF
  std::vector<std::string> categories;  // the names of the day's colour codes
};

// UTF-8 text with CRLF line ends, lines folded at 75 octets. The UID of each event is
// stable for the section and the date, so importing again updates instead of doubling.
// stampUtcSeconds is the DTSTAMP (seconds since 1 January 1970, UTC).
std::string NotesAsIcs(const std::string& sectionName, const std::vector<ExportedNote>& notes,
                       int64_t stampUtcSeconds);

}  // namespace ov
