#include "core/ical/IcsCalendar.h"

#include <libical/ical.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <utility>

#include "core/calendar/DateTime.h"
#include "core/ical/WindowsZones.h"

namespace ov {
namespace {

constexpr int64_t kUnixEpochDay = 25569;  // 1 January 1970 in the program's day count
constexpr int64_t kDaySeconds = 86400;
// Bounds that keep a hostile calendar from taking the program's time or memory.
constexpr size_t kMaxLines = 200000;
// Lines one event gives one day: an event every quarter of an hour fits, one that repeats
// every minute (or whose long occurrences overlap) stops filling its days here, where it
// would take tens of thousands of lines for nobody to read.
constexpr uint32_t kMaxLinesPerEventDay = 100;
// The most days one call covers; a longer range is cut to its first days.
constexpr int64_t kMaxDays = 100000;
// Steps the library may take through the rules of one calendar for one view, all events
// together. A step costs a few microseconds, more with filters and zones, and a calendar
// of many events that each repeat every minute, or count from a thousand years back,
// would take minutes; once the steps are used up, the remaining repeating events show
// once. A calendar of 10,000 events, 2,000 of them repeating, takes some 12,000 steps
// over the shown weeks.
constexpr int64_t kMaxRuleSteps = 50000;
// A counted rule's last occurrence is worked out only within this distance of its start.
constexpr int64_t kMaxCountedSeconds = int64_t(10000) * 366 * 86400;
constexpr size_t kMaxDepth = 8;
// Steps the library may take through a rule that filters its occurrences (BY parts): it
// takes every step, matching or not, so a filter that never matches (30 February) costs
// all the steps up to the last shown day.
constexpr int64_t kMaxFilteredSteps = 1000000;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// A start or end as the calendar gives it: a date, an instant, or a floating wall-clock
// time that is read in the PC's zone.
struct When {
  enum Kind { kDate, kInstant, kFloating } kind = kDate;
  int64_t value = 0;  // day number, UTC seconds, or wall-clock seconds
  bool operator<(const When& o) const { return std::pair(kind, value) < std::pair(o.kind, o.value); }
  bool operator==(const When& o) const { return kind == o.kind && value == o.value; }
};

int64_t DayOf(const icaltimetype& t) { return DayNumberFromCivil(t.year, t.month, t.day); }

// `like` (its zone, and whether it is a date) moved to a wall-clock time, in seconds from
// the start of the program's day 0; a date keeps no time of day.
icaltimetype AtWallTime(const icaltimetype& like, int64_t wall) {
  const int64_t day = FloorDiv(wall, kDaySeconds), secondOfDay = wall - day * kDaySeconds;
  const CivilDate cd = CivilFromDayNumber(day);
  icaltimetype t = like;
  t.year = cd.year;
  t.month = cd.month;
  t.day = cd.day;
  if (!t.is_date) {
    t.hour = int(secondOfDay / 3600);
    t.minute = int(secondOfDay / 60 % 60);
    t.second = int(secondOfDay % 60);
  }
  return t;
}

// The length of one step of a rule that the library takes one at a time, or 0 for the
// monthly and yearly rules, which it takes a period at a time.
int64_t StepSeconds(icalrecurrencetype_frequency freq) {
  switch (freq) {
    case ICAL_SECONDLY_RECURRENCE: return 1;
    case ICAL_MINUTELY_RECURRENCE: return 60;
    case ICAL_HOURLY_RECURRENCE: return 3600;
    case ICAL_DAILY_RECURRENCE: return kDaySeconds;
    case ICAL_WEEKLY_RECURRENCE: return 7 * kDaySeconds;
    default: return 0;
  }
}

size_t CountOf(const short* values, size_t size) {
  size_t n = 0;
  while (n < size && values[n] != ICAL_RECURRENCE_ARRAY_MAX) ++n;
  return n;
}

bool HasByParts(const icalrecurrencetype& r) {
  return CountOf(r.by_second, ICAL_BY_SECOND_SIZE) || CountOf(r.by_minute, ICAL_BY_MINUTE_SIZE) ||
         CountOf(r.by_hour, ICAL_BY_HOUR_SIZE) || CountOf(r.by_day, ICAL_BY_DAY_SIZE) ||
         CountOf(r.by_month_day, ICAL_BY_MONTHDAY_SIZE) || CountOf(r.by_year_day, ICAL_BY_YEARDAY_SIZE) ||
         CountOf(r.by_week_no, ICAL_BY_WEEKNO_SIZE) || CountOf(r.by_month, ICAL_BY_MONTH_SIZE) ||
         CountOf(r.by_set_pos, ICAL_BY_SETPOS_SIZE);
}

// How many different values a BY part names (a value written twice counts once).
int64_t DistinctCount(const short* values, size_t size) {
  const size_t n = CountOf(values, size);
  return int64_t(std::set<short>(values, values + n).size());
}

// True when every BYSETPOS lies beyond the most occurrences one period of the rule can
// hold: no period ever has that position, and the library searches some eighteen
// thousand years of periods for one before it gives up.
bool SetPositionsOutOfReach(const icalrecurrencetype& r) {
  const size_t n = CountOf(r.by_set_pos, ICAL_BY_SETPOS_SIZE);
  if (n == 0) return false;
  int64_t days = 0;
  switch (r.freq) {
    case ICAL_YEARLY_RECURRENCE: days = 366; break;
    case ICAL_MONTHLY_RECURRENCE: days = 31; break;
    case ICAL_WEEKLY_RECURRENCE: days = 7; break;
    case ICAL_DAILY_RECURRENCE: days = 1; break;
    default: return false;
  }
  // The days of BYDAY are all the days a period can have. A month of 31 days is four
  // weeks and three days, a year of 366 fifty-two weeks and two: k weekdays named without
  // a number (each once, however often written) fall at most 4k + min(k, 3) times in a
  // month and 52k + min(k, 2) in a year; a numbered one (2SU) once a month or a year; any
  // weekday once a week. A yearly rule with BYMONTH counts them month by month.
  const int64_t months = DistinctCount(r.by_month, ICAL_BY_MONTH_SIZE);
  const size_t weekdays = CountOf(r.by_day, ICAL_BY_DAY_SIZE);
  if (weekdays > 0 && r.freq != ICAL_DAILY_RECURRENCE) {
    unsigned plain = 0;  // the weekdays named without a number, one bit each
    int64_t numbered = 0;
    for (size_t i = 0; i < weekdays; ++i) {
      if (icalrecurrencetype_day_position(r.by_day[i]) != 0) ++numbered;
      else plain |= 1u << (int(icalrecurrencetype_day_day_of_week(r.by_day[i])) & 31);
    }
    const int64_t k = std::popcount(plain);
    int64_t named = k + numbered;  // a week
    if (r.freq == ICAL_MONTHLY_RECURRENCE) named = 4 * k + std::min<int64_t>(k, 3) + numbered;
    if (r.freq == ICAL_YEARLY_RECURRENCE)
      named = months > 0 ? months * (4 * k + std::min<int64_t>(k, 3) + numbered) : 52 * k + std::min<int64_t>(k, 2) + numbered;
    days = std::min(days, named);
  }
  // Each day of the month that BYMONTHDAY names falls once a month, each day of the year
  // of BYYEARDAY once a year, and each week of BYWEEKNO has seven days; with BYDAY too
  // only the days both name remain.
  const int64_t monthDays = DistinctCount(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
  if (monthDays > 0 && r.freq == ICAL_MONTHLY_RECURRENCE) days = std::min(days, monthDays);
  if (monthDays > 0 && r.freq == ICAL_YEARLY_RECURRENCE) days = std::min(days, (months > 0 ? months : 12) * monthDays);
  const int64_t yearDays = DistinctCount(r.by_year_day, ICAL_BY_YEARDAY_SIZE);
  if (yearDays > 0 && r.freq == ICAL_YEARLY_RECURRENCE) days = std::min(days, yearDays);
  const int64_t weeks = DistinctCount(r.by_week_no, ICAL_BY_WEEKNO_SIZE);
  if (weeks > 0 && r.freq == ICAL_YEARLY_RECURRENCE) days = std::min(days, 7 * weeks);
  auto times = [](size_t count) { return int64_t(std::max<size_t>(count, 1)); };
  const int64_t most = days * times(CountOf(r.by_hour, ICAL_BY_HOUR_SIZE)) *
                       times(CountOf(r.by_minute, ICAL_BY_MINUTE_SIZE)) *
                       times(CountOf(r.by_second, ICAL_BY_SECOND_SIZE));
  for (size_t i = 0; i < n; ++i)
    if (std::abs(int64_t(r.by_set_pos[i])) <= most) return false;
  return true;
}

// The zone a TZID names: one of the calendar's VTIMEZONEs, a zone of the zone folder, or
// a Windows zone name that stands for one.
icaltimezone* ZoneByName(icalcomponent* event, const char* tzid) {
  if (!tzid || !*tzid) return nullptr;
  if (icaltimezone* z = icalcomponent_get_timezone(event, tzid)) return z;
  if (icaltimezone* z = icaltimezone_get_builtin_timezone(tzid)) return z;
  if (icaltimezone* z = icaltimezone_get_builtin_timezone_from_tzid(tzid)) return z;
  std::string_view iana = IanaZoneForWindowsName(tzid);
  if (!iana.empty()) return icaltimezone_get_builtin_timezone(std::string(iana).c_str());
  return nullptr;
}

int64_t WallClock(const icaltimezone* zone, int64_t utc) {
  icaltimetype t = icaltime_from_timet_with_zone(time_t(utc), 0, icaltimezone_get_utc_timezone());
  int isDaylight = 0;
  return utc + icaltimezone_get_utc_offset_of_utc_time(const_cast<icaltimezone*>(zone), &t, &isDaylight);
}

const char* TzidOf(icalproperty* prop) {
  icalparameter* p = prop ? icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER) : nullptr;
  return p ? icalparameter_get_tzid(p) : nullptr;
}

struct Event {
  icalcomponent* comp = nullptr;
  std::string uid;
  std::string title;
  icaltimezone* floatingZone = nullptr;  // X-WR-TIMEZONE of the calendar
  bool isOverride = false;
  When recurrenceId;
  // The days the event can touch, from its dates as written: the event's zone and the
  // PC's are less than two days apart, so shown days outside these need no zone
  // arithmetic. A repeating event without an end date may touch any day.
  int64_t reachFirst = INT64_MIN;
  int64_t reachLast = INT64_MAX;
};

// The written day of a time property, or nullopt when it has none.
std::optional<int64_t> WrittenDay(icaltimetype t) {
  if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t)) return std::nullopt;
  return DayOf(t);
}

// Sets reachFirst and reachLast of an event that happens once, or repeats by a rule that
// ends at an UNTIL date; other repeating events keep the whole range. The dates are read
// as written (the value itself, no zone looked up), which is cheap.
void BoundEvent(Event& ev) {
  icalcomponent* c = ev.comp;
  icalproperty* startProp = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
  const std::optional<int64_t> start = WrittenDay(icalproperty_get_dtstart(startProp));
  if (!start) return;
  int64_t end = *start;
  if (icalproperty* endProp = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY)) {
    const std::optional<int64_t> e = WrittenDay(icalproperty_get_dtend(endProp));
    if (!e) return;
    end = std::max(end, *e);
  } else if (icalproperty* durProp = icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY)) {
    const int64_t secs = icaldurationtype_as_int(icalproperty_get_duration(durProp));
    end = *start + std::max<int64_t>(secs, 0) / kDaySeconds + 1;
  }
  int64_t last = end;
  if (!ev.isOverride) {
    if (icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY)) return;
    if (icalproperty* rrule = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY)) {
      const icalrecurrencetype recur = icalproperty_get_rrule(rrule);
      const std::optional<int64_t> until = WrittenDay(recur.until);
      if (!until || recur.count != 0) return;
      // The last occurrence starts on the UNTIL day at the latest and lasts as long.
      last = std::max(end, *until + (end - *start));
    }
  }
  // Two days on either side: the event's zone and the PC's can be 26 hours apart.
  ev.reachFirst = *start - 2;
  ev.reachLast = last + 2;
}

// The zone of the times read from `prop` of `ev` that carry none of their own: the TZID
// parameter's, the calendar's X-WR-TIMEZONE for floating times, or none (PC's zone).
const icaltimezone* ZoneOfProperty(icalproperty* prop, const Event& ev) {
  if (const char* tzid = TzidOf(prop)) return ZoneByName(ev.comp, tzid);
  return ev.floatingZone;
}

// A time in `zone` unless it carries its own.
When ResolveIn(icaltimetype t, const icaltimezone* zone) {
  if (t.is_date) return {When::kDate, DayOf(t)};
  if (icaltime_is_utc(t)) return {When::kInstant, int64_t(icaltime_as_timet(t))};
  if (t.zone) zone = t.zone;
  t.zone = nullptr;
  const int64_t wall = int64_t(icaltime_as_timet(t));
  if (!zone) return {When::kFloating, wall};
  const int64_t utc = int64_t(icaltime_as_timet_with_zone(t, zone));
  // A wall-clock time that happens twice (when the clocks go back) means the first of
  // the two; the library gives the second.
  for (int64_t earlier : {7200, 3600, 1800})
    if (WallClock(zone, utc - earlier) == wall) return {When::kInstant, utc - earlier};
  return {When::kInstant, utc};
}

// Resolves the zone of a time read from `prop` of `ev`.
When Resolve(icaltimetype t, icalproperty* prop, const Event& ev) {
  if (t.is_date || icaltime_is_utc(t) || t.zone) return ResolveIn(t, nullptr);
  return ResolveIn(t, ZoneOfProperty(prop, ev));
}

// The changes of a zone's time (its rules' occurrences) that the library may list for
// one calendar. It lists every change of a zone from its rules' start on when a time in
// the zone is first converted, and keeps them with the calendar: a zone written as
// Outlook does (from 1601, two yearly rules) has about a thousand up to 2100, while a
// monthly rule from the year 1 has 25,000, and a file of a few megabytes can hold
// thousands of such zones.
constexpr int64_t kMaxZoneChanges = 100000;
constexpr int kZoneCoverageYear = 2100;  // the year up to which a zone's changes are counted

// How many times a yearly or monthly rule falls in one of its years or months at most.
// Its BY lists decide it: one that expands the period multiplies its times by its length
// (a weekday named without an ordinal falls up to 5 times in a month and 53 in a year, a
// week number holds a week), one that only limits it (BYMONTH of a monthly rule, BYDAY
// beside BYMONTHDAY or BYYEARDAY, BYSETPOS) keeps it or cuts it. Real zones fall once a
// period (BYMONTH=3;BYDAY=2SU); a rule naming every weekday, hour and minute falls tens of
// thousands of times.
int64_t TimesPerPeriod(const icalrecurrencetype& rule) {
  const bool yearly = rule.freq == ICAL_YEARLY_RECURRENCE;
  auto count = [](const short* values, size_t size) { return int64_t(CountOf(values, size)); };
  const int64_t months = count(rule.by_month, ICAL_BY_MONTH_SIZE);
  const int64_t monthDays = count(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
  const int64_t yearDays = count(rule.by_year_day, ICAL_BY_YEARDAY_SIZE);
  const int64_t weeks = count(rule.by_week_no, ICAL_BY_WEEKNO_SIZE);
  const int64_t weekdays = count(rule.by_day, ICAL_BY_DAY_SIZE);
  int64_t weekdayTimes = 0;  // what BYDAY makes of a month, or of a year without BYMONTH
  const bool perMonth = !yearly || months > 0;
  for (int64_t i = 0; i < weekdays; ++i)
    weekdayTimes += icalrecurrencetype_day_position(rule.by_day[i]) != 0 ? 1 : (perMonth ? 5 : 53);
  int64_t days = 1;
  if (yearly) {
    if (yearDays > 0) days = yearDays;
    else if (monthDays > 0) days = monthDays * (months > 0 ? months : 12);
    else if (weeks > 0) days = weeks * (weekdays > 0 ? weekdays : 1);
    else if (weekdays > 0) days = weekdayTimes * (months > 0 ? months : 1);
    else if (months > 0) days = months;
  } else if (monthDays > 0) {
    days = monthDays;
  } else if (weekdays > 0) {
    days = weekdayTimes;
  }
  auto atLeastOne = [&](const short* values, size_t size) { return std::max<int64_t>(1, count(values, size)); };
  int64_t times = days * atLeastOne(rule.by_hour, ICAL_BY_HOUR_SIZE) * atLeastOne(rule.by_minute, ICAL_BY_MINUTE_SIZE) *
                  atLeastOne(rule.by_second, ICAL_BY_SECOND_SIZE);
  const int64_t setPositions = count(rule.by_set_pos, ICAL_BY_SETPOS_SIZE);
  if (setPositions > 0) times = std::min(times, setPositions);
  return times;
}

// How many changes a rule of a zone part that starts in `firstYear` makes up to the
// coverage year: an estimate from above, which is all the budget needs.
int64_t ZoneRuleChanges(int firstYear, const icalrecurrencetype& rule) {
  int last = kZoneCoverageYear;
  if (!icaltime_is_null_time(rule.until)) last = std::min(last, rule.until.year);
  const int64_t years = std::max(0, last - firstYear + 1);
  const int64_t perYear = rule.freq == ICAL_MONTHLY_RECURRENCE ? 12 : 1;
  int64_t changes = years * perYear * TimesPerPeriod(rule) / std::max<int64_t>(1, rule.interval) + 1;
  if (rule.count > 0) changes = std::min<int64_t>(changes, rule.count);
  return changes;
}

// Zone rules repeat yearly in every real calendar (monthly at most in odd ones). The
// library expands a zone's rules into every change from the rule's start on, so a rule
// that repeats weekly or faster (from 1601, as Outlook writes zones) would make hundreds
// of thousands of changes, or billions by the minute: such a rule is dropped, and the
// zone keeps its offsets and its other rules. So is every rule met once the calendar's
// zones have used up the budget of changes. The library finds
// a zone in any component around the time that names it, so a VTIMEZONE at any depth is
// looked at (nesting is bounded when the file is read).
void DropRunawayZoneRules(icalcomponent* comp, int64_t& budget) {
  for (icalcomponent* child = icalcomponent_get_first_component(comp, ICAL_ANY_COMPONENT); child;
       child = icalcomponent_get_next_component(comp, ICAL_ANY_COMPONENT)) {
    if (icalcomponent_isa(child) != ICAL_VTIMEZONE_COMPONENT) {
      DropRunawayZoneRules(child, budget);
      continue;
    }
    for (icalcomponent* part = icalcomponent_get_first_component(child, ICAL_ANY_COMPONENT); part;
         part = icalcomponent_get_next_component(child, ICAL_ANY_COMPONENT)) {
      // Read before the rules are walked: the library has one property iterator per component.
      // A part with more than one DTSTART starts, for the library, at the last of them.
      icalproperty* dtstart = nullptr;
      for (icalproperty* p = icalcomponent_get_first_property(part, ICAL_DTSTART_PROPERTY); p;
           p = icalcomponent_get_next_property(part, ICAL_DTSTART_PROPERTY))
        dtstart = p;
      const icaltimetype start = dtstart ? icalproperty_get_dtstart(dtstart) : icaltime_null_time();
      const int firstYear = icaltime_is_null_time(start) ? 1 : start.year;
      std::vector<icalproperty*> runaway;
      for (icalproperty* p = icalcomponent_get_first_property(part, ICAL_RRULE_PROPERTY); p;
           p = icalcomponent_get_next_property(part, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(p);
        const bool slow = rule.freq == ICAL_YEARLY_RECURRENCE || rule.freq == ICAL_MONTHLY_RECURRENCE;
        const int64_t changes = slow ? ZoneRuleChanges(firstYear, rule) : 0;
        if (!slow || changes > budget) {
          runaway.push_back(p);
        } else {
          budget -= changes;
        }
      }
      for (icalproperty* p : runaway) {
        icalcomponent_remove_property(part, p);
        icalproperty_free(p);
      }
    }
  }
}

std::string FirstLine(const char* s) {
  std::string out = s ? s : "";
  out = out.substr(0, out.find_first_of("\r\n"));
  while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
  size_t lead = out.find_first_not_of(" \t");
  return lead == std::string::npos ? std::string() : out.substr(lead);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
         });
}

std::string XProperty(icalcomponent* comp, const char* name) {
  for (icalproperty* p = icalcomponent_get_first_property(comp, ICAL_X_PROPERTY); p;
       p = icalcomponent_get_next_property(comp, ICAL_X_PROPERTY)) {
    const char* n = icalproperty_get_x_name(p);
    if (n && EqualsIgnoringCase(n, name)) {
      const char* v = icalproperty_get_x(p);
      return v ? v : "";
    }
  }
  return {};
}

}  // namespace

struct IcsCalendar::Data {
  std::vector<icalcomponent*> roots;
  std::vector<Event> events;
  ~Data() {
    for (icalcomponent* c : roots) icalcomponent_free(c);
  }
};

IcsCalendar::IcsCalendar() : d_(std::make_unique<Data>()) {}
IcsCalendar::~IcsCalendar() = default;
IcsCalendar::IcsCalendar(IcsCalendar&&) noexcept = default;
IcsCalendar& IcsCalendar::operator=(IcsCalendar&&) noexcept = default;

size_t IcsCalendar::EventCount() const { return d_->events.size(); }

std::string FormatEventLine(const EventLine& line) {
  if (!line.timed) return line.title;
  char hm[8];
  std::snprintf(hm, sizeof hm, "%02d:%02d", line.minuteOfDay / 60 % 24, line.minuteOfDay % 60);
  return line.title.empty() ? std::string(hm) : std::string(hm) + " " + line.title;
}

IcsCalendar IcsCalendar::Parse(std::string_view text) {
  IcsCalendar cal;
  if (text.size() > kMaxBytes) {
    cal.unreadable_ = true;
    return cal;
  }
  icalparser* parser = icalparser_new();
  std::string logical;
  int logicalLine = 0;
  std::vector<std::string> open;  // the components begun and not yet ended
  int tooDeep = 0;                 // components skipped for nesting too deep
  auto flush = [&] {
    if (logical.empty()) return;
    std::string_view name(logical);
    name = name.substr(0, name.find(':'));
    const bool begin = EqualsIgnoringCase(name, "BEGIN");
    const bool end = EqualsIgnoringCase(name, "END");
    // Calendars nest three deep at most (VCALENDAR, VEVENT, VALARM); deeper nesting is
    // skipped, as the library frees components recursively.
    if (tooDeep > 0 || (begin && open.size() >= kMaxDepth)) {
      tooDeep += begin ? 1 : end ? -1 : 0;
      if (!cal.firstBadLine_) cal.firstBadLine_ = logicalLine;
      logical.clear();
      return;
    }
    // The component's name after the colon (a BEGIN or END line may have none).
    const std::string value = name.size() < logical.size() ? logical.substr(name.size() + 1) : std::string();
    if (begin) {
      open.push_back(value);
    } else if (end && !open.empty() && EqualsIgnoringCase(value, open.back())) {
      open.pop_back();
    }
    icalerror_clear_errno();
    icalcomponent* done = icalparser_add_line(parser, logical.data());
    if ((icalparser_get_state(parser) == ICALPARSER_ERROR || icalerrno != ICAL_NO_ERROR) && !cal.firstBadLine_)
      cal.firstBadLine_ = logicalLine;
    if (done) cal.d_->roots.push_back(done);
    logical.clear();
  };
  int lineNo = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
      logical.append(line.substr(1));  // a folded line continues the one before
      continue;
    }
    flush();
    if (line.empty()) continue;
    logical.assign(line);
    // libical reads up to the first NUL; a NUL inside a line makes the rest of it unreadable.
    if (logical.find('\0') != std::string::npos) {
      logical.resize(logical.find('\0'));
      if (!cal.firstBadLine_) cal.firstBadLine_ = lineNo;
    }
    logicalLine = lineNo;
  }
  flush();
  // A file cut off before its END lines keeps what was read up to there: the missing END
  // lines are added.
  while (!open.empty()) {
    logical = "END:" + open.back();
    flush();
  }
  icalparser_free(parser);
  icalerror_clear_errno();

  int64_t zoneChanges = kMaxZoneChanges;
  for (icalcomponent* root : cal.d_->roots) {
    DropRunawayZoneRules(root, zoneChanges);
    icaltimezone* floating = nullptr;
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) {
      if (cal.name_.empty()) cal.name_ = FirstLine(XProperty(root, "X-WR-CALNAME").c_str());
      std::string tz = XProperty(root, "X-WR-TIMEZONE");
      if (!tz.empty()) floating = ZoneByName(root, tz.c_str());
    }
    auto add = [&](icalcomponent* c) {
      if (!icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY)) return;
      Event ev;
      ev.comp = c;
      ev.floatingZone = floating;
      const char* uid = icalcomponent_get_uid(c);
      ev.uid = uid ? uid : "";
      ev.title = FirstLine(icalcomponent_get_summary(c));
      if (icalproperty* rid = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) {
        ev.isOverride = !ev.uid.empty();
        ev.recurrenceId = Resolve(icalcomponent_get_recurrenceid(c), rid, ev);
      }
      BoundEvent(ev);
      cal.d_->events.push_back(std::move(ev));
    };
    if (icalcomponent_isa(root) == ICAL_VEVENT_COMPONENT) add(root);
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT))
      add(c);
  }
  if (cal.d_->roots.empty()) cal.unreadable_ = true;
  return cal;
}

namespace {

// The occurrences of one event already shown. A rule gives them in ascending order, so
// they are kept in a vector; the few that come out of order (an RDATE, two wall-clock
// times that a zone change makes one instant) go to a set.
class SeenOccurrences {
 public:
  // True the first time `w` is offered.
  bool Insert(const When& w) {
    if (ascending_.empty() || ascending_.back() < w) {
      ascending_.push_back(w);
      return true;
    }
    if (std::binary_search(ascending_.begin(), ascending_.end(), w)) return false;
    return others_.insert(w).second;
  }

 private:
  std::vector<When> ascending_;
  std::set<When> others_;
};

// A line before its title is known: the event it comes from stands for the title, so the
// lines are sorted without copying titles, and each title is copied once at the end.
struct LineKey {
  int64_t day = 0;
  bool timed = false;
  int minuteOfDay = 0;
  uint32_t event = 0;
};

}  // namespace

std::vector<EventLine> IcsCalendar::Lines(int64_t firstDay, int64_t lastDay, const ILocalZone& zone) const {
  std::vector<EventLine> out;
  if (lastDay < firstDay) return out;
  if (uint64_t(lastDay) - uint64_t(firstDay) >= uint64_t(kMaxDays)) lastDay = firstDay + kMaxDays - 1;

  // Occurrences replaced by an override (same UID and RECURRENCE-ID).
  std::set<std::pair<std::string, When>> overridden;
  for (const Event& ev : d_->events)
    if (ev.isOverride) overridden.insert({ev.uid, ev.recurrenceId});

  std::vector<LineKey> keys;
  // The lines the current event gave each shown day: an entry of another event counts
  // from zero again.
  struct DayUse {
    uint32_t event = UINT32_MAX;
    uint32_t lines = 0;
  };
  std::vector<DayUse> perDay(size_t(lastDay - firstDay + 1));
  uint32_t eventIndex = 0;
  auto add = [&](int64_t day, bool timed, int minute) {
    DayUse& use = perDay[size_t(day - firstDay)];
    if (use.event != eventIndex) use = {eventIndex, 0};
    if (use.lines == kMaxLinesPerEventDay || keys.size() >= kMaxLines) return;
    ++use.lines;
    keys.push_back({day, timed, minute, eventIndex});
  };

  auto localSeconds = [&](const When& w) {
    return w.kind == When::kInstant ? zone.LocalFromUtc(w.value) : w.value;
  };
  // Adds the lines of one occurrence; `length` is days for a date, seconds otherwise.
  auto emit = [&](const When& start, int64_t length) {
    if (start.kind == When::kDate) {
      const int64_t from = std::max(start.value, firstDay);
      const int64_t to = std::min(start.value + std::max<int64_t>(length, 1) - 1, lastDay);
      for (int64_t d = from; d <= to; ++d) add(d, false, 0);
      return;
    }
    const int64_t ls = localSeconds(start);
    const int64_t startDay = FloorDiv(ls, kDaySeconds) + kUnixEpochDay;
    // The end is exclusive: an event that ends at midnight does not show on the next day.
    const int64_t endDay = length > 0 ? FloorDiv(ls + length - 1, kDaySeconds) + kUnixEpochDay : startDay;
    const int minute = int(FloorDiv(ls, 60) - FloorDiv(ls, kDaySeconds) * 1440);
    for (int64_t d = std::max(startDay, firstDay); d <= std::min(endDay, lastDay); ++d)
      add(d, d == startDay, d == startDay ? minute : 0);
  };

  int64_t stepsLeft = kMaxRuleSteps;
  for (; eventIndex < d_->events.size() && keys.size() < kMaxLines; ++eventIndex) {
    const Event& ev = d_->events[eventIndex];
    if (ev.reachLast < firstDay || ev.reachFirst > lastDay) continue;
    icalcomponent* c = ev.comp;
    if (icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED) continue;
    icalproperty* startProp = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    const icaltimetype dtstart = icalcomponent_get_dtstart(c);
    if (icaltime_is_null_time(dtstart) || !icaltime_is_valid_time(dtstart)) continue;
    const When start = Resolve(dtstart, startProp, ev);

    // The length: DTEND, DURATION, or the default (one day for a date, none otherwise).
    int64_t length = start.kind == When::kDate ? 1 : 0;
    if (icalproperty* endProp = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY)) {
      const icaltimetype dtend = icalproperty_get_dtend(endProp);
      if (!icaltime_is_null_time(dtend)) {
        When end = Resolve(dtend, endProp, ev);
        if (start.kind == When::kDate) length = end.kind == When::kDate ? end.value - start.value : 1;
        else if (end.kind != When::kDate) length = localSeconds(end) - localSeconds(start);
      }
    } else if (icalproperty* durProp = icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY)) {
      const int64_t secs = icaldurationtype_as_int(icalproperty_get_duration(durProp));
      length = start.kind == When::kDate ? secs / kDaySeconds : secs;
    }
    length = std::max<int64_t>(length, 0);
    // How far before the first shown day an occurrence can start and still reach it.
    const int64_t reachDays = (start.kind == When::kDate ? length : length / kDaySeconds) + 2;

    if (ev.isOverride) {
      emit(start, length);
      continue;
    }
    icalproperty* rrule = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY);
    icalproperty* rdate = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY);
    if (!rrule && !rdate) {
      emit(start, length);
      continue;
    }

    std::set<When> excluded;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
      icaltimetype t = icalproperty_get_exdate(p);
      if (!icaltime_is_null_time(t)) excluded.insert(Resolve(t, p, ev));
    }
    SeenOccurrences seen;
    auto occurrence = [&](const When& w) {
      if (!seen.Insert(w) || excluded.count(w) || (!overridden.empty() && overridden.count({ev.uid, w}))) return;
      emit(w, length);
    };
    // A date occurrence's day, or an instant's day in the PC's zone.
    auto shownDay = [&](const When& w) {
      return w.kind == When::kDate ? w.value : FloorDiv(localSeconds(w), kDaySeconds) + kUnixEpochDay;
    };

    if (rrule) {
      icalrecurrencetype recur = icalproperty_get_rrule(rrule);
      // A rule that steps by hours, minutes or seconds from a date has no meaning, and
      // the library's iterator never moves off the date (it would loop for ever): the
      // event is taken as happening once.
      const bool subDaily = recur.freq == ICAL_SECONDLY_RECURRENCE || recur.freq == ICAL_MINUTELY_RECURRENCE ||
                            recur.freq == ICAL_HOURLY_RECURRENCE;
      const int64_t step = StepSeconds(recur.freq) * std::max<int64_t>(recur.interval, 1);
      const int64_t startWall = DayOf(dtstart) * kDaySeconds +
                                (dtstart.is_date ? 0 : dtstart.hour * 3600 + dtstart.minute * 60 + dtstart.second);
      // A counted rule without filters that steps evenly ends at a time that can be worked
      // out; as a rule with that end it can start at the shown days instead of stepping
      // from its start, which may lie centuries back.
      if (recur.count > 0 && step > 0 && !HasByParts(recur)) {
        const int64_t last = int64_t(recur.count - 1) <= kMaxCountedSeconds / step
                                 ? startWall + int64_t(recur.count - 1) * step
                                 : INT64_MAX;
        recur.count = 0;
        if (last < (lastDay + 4) * kDaySeconds) {
          const icaltimetype end = AtWallTime(dtstart, last);
          // A rule that also gives UNTIL (it should not) ends at whichever comes first.
          if (icaltime_is_null_time(recur.until) || icaltime_compare(recur.until, end) > 0) recur.until = end;
        }
      }
      // Where the iteration starts: the shown days when the rule can be started there (not
      // with COUNT, whose occurrences have to be counted from the first).
      const int64_t skipTo = firstDay - reachDays;
      const bool skip = recur.count == 0 && skipTo > DayOf(dtstart);
      // The iteration ends after the shown days whatever the rule's own end: the library
      // then stops looking there instead of at its horizon centuries away.
      icaltimetype until = dtstart;
      const CivilDate untilDay = CivilFromDayNumber(lastDay + 4);
      until.year = untilDay.year;
      until.month = untilDay.month;
      until.day = untilDay.day;
      until.hour = until.minute = until.second = 0;
      if (icaltime_is_null_time(recur.until) || icaltime_compare(recur.until, until) > 0) recur.until = until;
      // A rule with filters that steps by seconds over weeks, or by minutes over years,
      // costs every step, and positions that no period holds cost centuries of periods:
      // such an event is taken as happening once.
      const int64_t steps = step ? (lastDay + 4 - (skip ? skipTo : DayOf(dtstart))) * kDaySeconds / step : 0;
      const bool unbounded = (HasByParts(recur) && steps > kMaxFilteredSteps) || SetPositionsOutOfReach(recur);
      icalrecur_iterator* it =
          (dtstart.is_date && subDaily) || unbounded || stepsLeft <= 0 ? nullptr : icalrecur_iterator_new(recur, dtstart);
      // The occurrences are in the start's zone: looked up once, not for each of them.
      const icaltimezone* ruleZone = ZoneOfProperty(startProp, ev);
      if (!it) {
        icalerror_clear_errno();
        occurrence(start);
      } else {
        if (skip) {
          // A rule taken a step at a time restarts a whole number of steps after its
          // start, so it keeps its rhythm (every twelve hours from 09:00 stays at 09:00
          // and 21:00); monthly and yearly rules restart at the shown days' first.
          int64_t wall = skipTo * kDaySeconds;
          if (step) wall = startWall + (wall - startWall) / step * step;
          icalrecur_iterator_set_start(it, AtWallTime(dtstart, wall));
        }
        while (stepsLeft-- > 0) {
          icaltimetype t = icalrecur_iterator_next(it);
          if (icaltime_is_null_time(t)) break;
          // The written day is less than two days from the shown one, so occurrences far
          // from the shown days (a counted rule that began centuries ago) are stepped
          // over without the zone arithmetic, which costs far more than the step.
          const int64_t written = DayOf(t);
          if (written + reachDays + 2 < firstDay) continue;
          if (written > lastDay + 3) break;
          const When w = ResolveIn(t, ruleZone);
          if (shownDay(w) > lastDay + 1) break;
          if (shownDay(w) + reachDays >= firstDay) occurrence(w);
        }
        icalrecur_iterator_free(it);
      }
    } else {
      occurrence(start);  // DTSTART is the first occurrence of an RDATE set
    }
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_RDATE_PROPERTY)) {
      icaldatetimeperiodtype dp = icalproperty_get_rdate(p);
      icaltimetype t = icaltime_is_null_time(dp.time) ? dp.period.start : dp.time;
      if (!icaltime_is_null_time(t)) occurrence(Resolve(t, p, ev));
    }
    icalerror_clear_errno();
  }

  const auto& events = d_->events;
  std::sort(keys.begin(), keys.end(), [&](const LineKey& a, const LineKey& b) {
    if (std::tie(a.day, a.timed, a.minuteOfDay) != std::tie(b.day, b.timed, b.minuteOfDay))
      return std::tie(a.day, a.timed, a.minuteOfDay) < std::tie(b.day, b.timed, b.minuteOfDay);
    return a.event != b.event && events[a.event].title < events[b.event].title;
  });
  out.reserve(keys.size());
  for (const LineKey& k : keys) out.push_back({k.day, k.timed, k.minuteOfDay, events[k.event].title});
  return out;
}

}  // namespace ov
