#include "core/ical/IcsExport.h"

#include <libical/ical.h>

#include <cstdio>
#include <cstdlib>

#include "core/calendar/DateTime.h"

namespace ov {
namespace {

icaltimetype DateValue(int64_t day) {
  const CivilDate c = CivilFromDayNumber(day);
  icaltimetype t = icaltime_null_date();
  t.year = c.year;
  t.month = c.month;
  t.day = c.day;
  return t;
}

// A short fixed fingerprint of the section name (FNV-1a), so UIDs of different sections
// differ and stay the same from one export to the next.
std::string SectionTag(const std::string& name) {
  uint64_t h = 1469598103934665603ULL;
  for (unsigned char c : name) h = (h ^ c) * 1099511628211ULL;
  char buf[20];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
  return buf;
}

}  // namespace

std::string NotesAsIcs(const std::string& sectionName, const std::vector<ExportedNote>& notes,
                       int64_t stampUtcSeconds) {
  icalcomponent* cal = icalcomponent_vanew(
      ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"),
      icalproperty_new_prodid("-//Orvinta//Orvinta 3//ZH"), icalproperty_new_calscale("GREGORIAN"),
      icalproperty_new_method(ICAL_METHOD_PUBLISH), nullptr);
  icalproperty* name = icalproperty_new_x(sectionName.c_str());
  icalproperty_set_x_name(name, "X-WR-CALNAME");
  icalcomponent_add_property(cal, name);

  const icaltimetype stamp =
      icaltime_from_timet_with_zone(time_t(stampUtcSeconds), 0, icaltimezone_get_utc_timezone());
  const std::string tag = SectionTag(sectionName);
  for (const ExportedNote& n : notes) {
    const icaltimetype start = DateValue(n.day);
    const std::string firstLine = n.text.substr(0, n.text.find('\n'));
    char uid[96];
    std::snprintf(uid, sizeof uid, "%04d%02d%02d-%s@orvinta", start.year, start.month, start.day, tag.c_str());
    icalcomponent* ev = icalcomponent_vanew(
        ICAL_VEVENT_COMPONENT, icalproperty_new_uid(uid), icalproperty_new_dtstamp(stamp),
        icalproperty_new_dtstart(start), icalproperty_new_dtend(DateValue(n.day + 1)),
        icalproperty_new_summary(firstLine.c_str()), icalproperty_new_description(n.text.c_str()),
        icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT), nullptr);
    for (const std::string& c : n.categories) icalcomponent_add_property(ev, icalproperty_new_categories(c.c_str()));
    icalcomponent_add_component(cal, ev);
  }
  char* text = icalcomponent_as_ical_string_r(cal);
  std::string out = text ? text : "";
  free(text);
  icalcomponent_free(cal);
  return out;
}

}  // namespace ov
