// Reading calendars and expanding their events into day-cell lines, against dates
// computed independently (reference_dates.py: dateutil and Python's zoneinfo).
#include <algorithm>
#include <chrono>

#include "IcalTestSupport.h"
#include "core/ical/IanaLocalZone.h"
#include "core/ical/IcsCalendar.h"

namespace ov::test {
namespace {

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new IcalEnvironment);

struct Shown {
  std::string day;
  std::string time;  // "HH:MM", or empty for an all-day line
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) { *os << s.day << " " << s.time; }

std::vector<Shown> ShownLines(const std::string& ics, const std::string& zone, const std::string& from,
                              const std::string& to, std::vector<std::string>* titles = nullptr) {
  IanaLocalZone pc(zone);
  EXPECT_TRUE(pc.Known()) << zone;
  std::vector<Shown> out;
  for (const EventLine& l : IcsCalendar::Parse(ics).Lines(Day(from), Day(to), pc)) {
    std::string text = FormatEventLine(l);
    out.push_back({Iso(l.day), l.timed ? text.substr(0, 5) : ""});
    if (titles) titles->push_back(text);
  }
  return out;
}

std::string Event(const std::vector<std::string>& props) {
  std::string s = "BEGIN:VEVENT\r\nUID:" + std::to_string(std::hash<std::string>{}(props.front())) + "\r\n";
  for (const auto& p : props) s += p + "\r\n";
  return s + "END:VEVENT";
}

// The traps of date-only and zone-crossing events, each seen from the far ends of the
// world's zones.
TEST(IcsCalendarTraps, DaysCoveredWhateverThePcZone) {
  struct Case {
    const char* what;
    std::vector<std::string> event;
    const char* pcZone;
    std::vector<Shown> expected;
  };
  const std::vector<std::string> allDay = {"SUMMARY:Holiday", "DTSTART;VALUE=DATE:20260310",
                                           "DTEND;VALUE=DATE:20260311"};
  const std::vector<std::string> threeDays = {"SUMMARY:Trip", "DTSTART;VALUE=DATE:20260310",
                                              "DTEND;VALUE=DATE:20260313"};
  // "Out of office" as some services export it: midnight to midnight in the organiser's
  // zone (here without a VTIMEZONE: the zone folder has to resolve the name).
  const std::vector<std::string> midnight = {"SUMMARY:OOO", "DTSTART;TZID=America/New_York:20260310T000000",
                                             "DTEND;TZID=America/New_York:20260311T000000"};
  const std::vector<Case> cases = {
      {"all day, west", allDay, "Pacific/Honolulu", {{"2026-03-10", ""}}},
      {"all day, east", allDay, "Pacific/Kiritimati", {{"2026-03-10", ""}}},
      {"three days", threeDays, "Asia/Shanghai", {{"2026-03-10", ""}, {"2026-03-11", ""}, {"2026-03-12", ""}}},
      {"midnight to midnight, same zone", midnight, "America/New_York", {{"2026-03-10", "00:00"}}},
      {"midnight to midnight, from Shanghai", midnight, "Asia/Shanghai",
       {{"2026-03-10", "12:00"}, {"2026-03-11", ""}}},
      {"01:30 before the spring change", {"SUMMARY:A", "DTSTART;TZID=America/New_York:20260308T013000"},
       "Asia/Shanghai", {{"2026-03-08", "14:30"}}},
      {"01:30 that happens twice in autumn", {"SUMMARY:B", "DTSTART;TZID=America/New_York:20261101T013000"},
       "Asia/Shanghai", {{"2026-11-01", "13:30"}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShownLines(Calendar({Event(c.event)}), c.pcZone, "2026-03-01", "2026-11-30"), c.expected) << c.what;
  }
}

// Shown days are asked for a few at a time: an event whose written date lies two days from
// the day it shows on (zones 25 hours apart, a long duration) is still found when only
// that day is asked for.
TEST(IcsCalendarTraps, OneShownDayFindsEventsWrittenDaysAway) {
  struct Case {
    std::vector<std::string> event;
    const char* pcZone;
    const char* day;
    std::vector<Shown> expected;
  };
  const std::vector<Case> cases = {
      {{"SUMMARY:E", "DTSTART;TZID=Pacific/Kiritimati:20260310T003000"}, "Pacific/Pago_Pago", "2026-03-08",
       {{"2026-03-08", "23:30"}}},
      {{"SUMMARY:W", "DTSTART;TZID=Pacific/Pago_Pago:20260308T233000"}, "Pacific/Kiritimati", "2026-03-10",
       {{"2026-03-10", "00:30"}}},
      {{"SUMMARY:L", "DTSTART:20260310T120000Z", "DURATION:P2DT1H"}, "UTC", "2026-03-12", {{"2026-03-12", ""}}},
      {{"SUMMARY:D", "DTSTART;VALUE=DATE:20260310", "DTEND;VALUE=DATE:20260315"}, "Asia/Shanghai", "2026-03-14",
       {{"2026-03-14", ""}}},
      {{"SUMMARY:N", "DTSTART;VALUE=DATE:20260310", "DTEND;VALUE=DATE:20260315"}, "Asia/Shanghai", "2026-03-15", {}},
      // The last occurrences of rules that end: one a day after UNTIL in the PC's zone,
      // one whose five days reach past it.
      {{"SUMMARY:U", "DTSTART;TZID=Pacific/Pago_Pago:20260301T233000", "RRULE:FREQ=WEEKLY;UNTIL=20260309T120000Z"},
       "Pacific/Kiritimati", "2026-03-10", {{"2026-03-10", "00:30"}}},
      {{"SUMMARY:F", "DTSTART;VALUE=DATE:20260302", "DTEND;VALUE=DATE:20260307", "RRULE:FREQ=WEEKLY;UNTIL=20260309"},
       "Asia/Shanghai", "2026-03-13", {{"2026-03-13", ""}}},
      {{"SUMMARY:G", "DTSTART;VALUE=DATE:20260302", "DTEND;VALUE=DATE:20260307", "RRULE:FREQ=WEEKLY;UNTIL=20260309"},
       "Asia/Shanghai", "2026-03-14", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShownLines(Calendar({Event(c.event)}), c.pcZone, c.day, c.day), c.expected) << c.event[0];
  }
}

// Outlook writes Windows zone names as TZID, with its own VTIMEZONE; a weekly meeting has
// to land at the right hour on both sides of both daylight-saving changes.
TEST(IcsCalendarTraps, OutlookWindowsZoneAcrossDaylightSaving) {
  const std::string ics = Calendar({
      "BEGIN:VTIMEZONE", "TZID:Eastern Standard Time",
      "BEGIN:STANDARD", "DTSTART:16010101T020000", "TZOFFSETFROM:-0400", "TZOFFSETTO:-0500",
      "RRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11", "END:STANDARD",
      "BEGIN:DAYLIGHT", "DTSTART:16010101T020000", "TZOFFSETFROM:-0500", "TZOFFSETTO:-0400",
      "RRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3", "END:DAYLIGHT", "END:VTIMEZONE",
      Event({"SUMMARY:Weekly", "DTSTART;TZID=Eastern Standard Time:20260223T090000",
             "DTEND;TZID=Eastern Standard Time:20260223T100000", "RRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=40"})});
  const std::vector<Shown> spring = {
      {"2026-02-23", "22:00"}, {"2026-03-02", "22:00"}, {"2026-03-09", "21:00"}, {"2026-03-16", "21:00"}};
  const std::vector<Shown> autumn = {{"2026-10-26", "21:00"}, {"2026-11-02", "22:00"}, {"2026-11-09", "22:00"}};
  EXPECT_EQ(ShownLines(ics, "Asia/Shanghai", "2026-02-23", "2026-03-16"), spring);
  EXPECT_EQ(ShownLines(ics, "Asia/Shanghai", "2026-10-26", "2026-11-09"), autumn);
  // The same name without a VTIMEZONE resolves through the Windows zone names table.
  const std::string bare = Calendar({Event({"SUMMARY:Bare", "DTSTART;TZID=China Standard Time:20260310T090000"})});
  EXPECT_EQ(ShownLines(bare, "America/New_York", "2026-03-09", "2026-03-10"), (std::vector<Shown>{{"2026-03-09", "21:00"}}));
}

TEST(IcsCalendarTraps, FloatingTimesReadInTheCalendarsZone) {
  const std::string body = "DTSTART:20260310T090000";
  const std::string withZone = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-TIMEZONE:America/New_York\r\n" +
                               Event({"SUMMARY:F", body}) + "\r\nEND:VCALENDAR\r\n";
  EXPECT_EQ(ShownLines(withZone, "Asia/Shanghai", "2026-03-10", "2026-03-11"),
            (std::vector<Shown>{{"2026-03-10", "21:00"}}));
  // Without X-WR-TIMEZONE a floating time is the PC's own wall-clock time.
  EXPECT_EQ(ShownLines(Calendar({Event({"SUMMARY:F", body})}), "Asia/Shanghai", "2026-03-10", "2026-03-11"),
            (std::vector<Shown>{{"2026-03-10", "09:00"}}));
}

// BYSETPOS, UNTIL, EXDATE, RDATE and RECURRENCE-ID overrides (moved and cancelled).
TEST(IcsCalendarRecurrence, RuleWithExceptionsAndOverrides) {
  const std::string ics = Calendar({
      "BEGIN:VEVENT", "UID:close", "SUMMARY:Close", "DTSTART;VALUE=DATE:20260130",
      "RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1;UNTIL=20261231", "EXDATE;VALUE=DATE:20260430",
      "RDATE;VALUE=DATE:20260515", "END:VEVENT",
      "BEGIN:VEVENT", "UID:close", "SUMMARY:Close early", "RECURRENCE-ID;VALUE=DATE:20260630",
      "DTSTART;VALUE=DATE:20260629", "END:VEVENT",
      "BEGIN:VEVENT", "UID:close", "SUMMARY:Close", "RECURRENCE-ID;VALUE=DATE:20260731", "STATUS:CANCELLED",
      "DTSTART;VALUE=DATE:20260731", "END:VEVENT"});
  std::vector<std::string> titles;
  const std::vector<Shown> expected = {
      {"2026-01-30", ""}, {"2026-02-27", ""}, {"2026-03-31", ""}, {"2026-05-15", ""},
      {"2026-05-29", ""}, {"2026-06-29", ""}, {"2026-08-31", ""}, {"2026-09-30", ""},
      {"2026-10-30", ""}, {"2026-11-30", ""}, {"2026-12-31", ""}};
  EXPECT_EQ(ShownLines(ics, "Asia/Shanghai", "2026-01-01", "2027-03-01", &titles), expected);
  ASSERT_EQ(titles.size(), expected.size());
  EXPECT_EQ(titles[5], "Close early");
}

// A rule with millions of occurrences costs only the shown days.
TEST(IcsCalendarRecurrence, EndlessRulesExpandOnlyOverTheShownDays) {
  const std::string ics = Calendar({
      Event({"SUMMARY:Tick", "DTSTART:19700101T000000Z", "RRULE:FREQ=MINUTELY;INTERVAL=30"}),
      Event({"SUMMARY:Daily", "DTSTART;VALUE=DATE:19000101", "RRULE:FREQ=DAILY"})});
  IanaLocalZone utc("UTC");
  const auto t0 = std::chrono::steady_clock::now();
  const auto lines = IcsCalendar::Parse(ics).Lines(Day("2026-03-02"), Day("2026-03-08"), utc);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
  EXPECT_EQ(lines.size(), 7u * 48 + 7u);
  EXPECT_EQ(FormatEventLine(lines.at(1)), "00:00 Tick");
  EXPECT_EQ(FormatEventLine(lines.at(2)), "00:30 Tick");

  // A counted rule with filters is stepped from its start, here over a century back; the
  // steps far from the shown days skip the zone arithmetic. One without filters has a
  // known last day and starts at the shown days. Either way the edges land right where
  // the event's zone and the PC's are a day apart, and a count ends on its last day in
  // the event's zone (46,089 days from 1 January 1900 end on 9 March 2026, 46,085 on 5 March).
  struct Counted {
    const char* start;
    const char* rule;
    const char* pcZone;
    std::vector<Shown> expected;
  };
  const char* kiritimati = "DTSTART;TZID=Pacific/Kiritimati:19000101T003000";
  const char* pagoPago = "DTSTART;TZID=Pacific/Pago_Pago:19000101T233000";
  const char* filtered = "FREQ=DAILY;BYMONTH=1,2,3,4,5,6,7,8,9,10,11,12;COUNT=2000000";
  const char* plain = "FREQ=DAILY;COUNT=2000000";
  const std::vector<Shown> lateEvenings = {{"2026-03-07", "23:30"}, {"2026-03-08", "23:30"}, {"2026-03-09", "23:30"}};
  const std::vector<Shown> earlyMornings = {{"2026-03-07", "00:30"}, {"2026-03-08", "00:30"}, {"2026-03-09", "00:30"}};
  const std::vector<Counted> counted = {
      {kiritimati, filtered, "Pacific/Pago_Pago", lateEvenings},
      {kiritimati, plain, "Pacific/Pago_Pago", lateEvenings},
      {pagoPago, filtered, "Pacific/Kiritimati", earlyMornings},
      {pagoPago, plain, "Pacific/Kiritimati", earlyMornings},
      {kiritimati, "FREQ=DAILY;COUNT=46089", "Pacific/Pago_Pago", {{"2026-03-07", "23:30"}}},
      {pagoPago, "FREQ=DAILY;BYMONTH=1,2,3,4,5,6,7,8,9,10,11,12;COUNT=46085", "Pacific/Kiritimati",
       {{"2026-03-07", "00:30"}}},
  };
  for (const Counted& c : counted) {
    const std::string ics = Calendar({Event({"SUMMARY:Old", c.start, std::string("RRULE:") + c.rule})});
    EXPECT_EQ(ShownLines(ics, c.pcZone, "2026-03-07", "2026-03-09"), c.expected) << c.start << " " << c.rule;
  }

  // Each of these events steps weekly from the year 1500. The steps of one calendar are
  // bounded all events together: the first event still reaches the shown days, and once
  // the steps are used up the repeating events after it show once (the daily one only on
  // its start day).
  std::vector<std::string> stepHungry;
  for (int i = 0; i < 40; ++i)
    stepHungry.push_back(Event({"SUMMARY:Old" + std::to_string(i), "DTSTART:15000111T090000",
                                "RRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=2090000"}));
  stepHungry.push_back(Event({"SUMMARY:Daily", "DTSTART:20260310T080000", "RRULE:FREQ=DAILY"}));
  EXPECT_EQ(ShownLines(Calendar(stepHungry), "UTC", "2026-03-09", "2026-03-12"),
            (std::vector<Shown>{{"2026-03-09", "09:00"}, {"2026-03-10", "08:00"}}));

  // Hours from a date mean nothing, and the library's iterator would never leave the
  // date looking for the next one: the event happens once.
  for (const char* freq : {"HOURLY", "MINUTELY", "SECONDLY"}) {
    const std::string ics = Calendar({Event({"SUMMARY:H", "DTSTART;VALUE=DATE:20260310",
                                             std::string("RRULE:FREQ=") + freq + ";BYDAY=MO;COUNT=80"})});
    EXPECT_EQ(ShownLines(ics, "UTC", "2026-03-09", "2026-03-17"), (std::vector<Shown>{{"2026-03-10", ""}})) << freq;
  }

  // Filters that never match, and positions no month holds, would have the library step
  // to its horizon centuries away (minutes and hours of processor time); the events end
  // after the shown days, or happen once when even that is too many steps.
  const auto t1 = std::chrono::steady_clock::now();
  struct Hopeless {
    const char* start;
    const char* rule;
    std::vector<Shown> expected;
  };
  const std::vector<Hopeless> hopeless = {
      {"DTSTART:20260310T090000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=42", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260310T090000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=31", {{"2026-03-10", "09:00"}}},
      // Five weekdays fill at most 23 days of a month, a weekday written twice counts once,
      // and a year has at most 53 Tuesdays.
      {"DTSTART:20260310T090000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=24", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260310T090000", "FREQ=MONTHLY;BYDAY=MO,TU,MO,TU;BYSETPOS=-11", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260310T090000", "FREQ=YEARLY;BYDAY=TU;BYSETPOS=54", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260310T090000", "FREQ=YEARLY;BYMONTH=3,4;BYDAY=TU;BYSETPOS=11", {{"2026-03-10", "09:00"}}},
      // A day of the month falls once a month (a weekday filter keeps fewer), a day of
      // the year once a year, and a week has seven days.
      {"DTSTART:20260310T090000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYMONTHDAY=28;BYSETPOS=-2", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260310T090000", "FREQ=MONTHLY;BYMONTHDAY=10,10;BYSETPOS=2", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260310T090000", "FREQ=YEARLY;BYMONTH=3,3;BYMONTHDAY=10;BYSETPOS=2", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260310T090000", "FREQ=YEARLY;BYYEARDAY=69,70;BYSETPOS=3", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260310T090000", "FREQ=YEARLY;BYWEEKNO=11;BYSETPOS=8", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260310T090000", "FREQ=YEARLY;BYMONTH=3;BYHOUR=9,10;BYSETPOS=-800", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260130T090000", "FREQ=HOURLY;BYMONTH=2;BYMONTHDAY=30", {}},
      {"DTSTART:20260130T090000", "FREQ=MINUTELY;BYMONTH=2;BYMONTHDAY=30", {}},
      {"DTSTART:19900101T000000", "FREQ=MINUTELY;COUNT=5;BYMONTH=2;BYMONTHDAY=30", {}},
      {"DTSTART:20260220T090000", "FREQ=SECONDLY;COUNT=100000;BYMINUTE=0;BYSECOND=0", {}},
      // Still expanded, in their rhythm: a filter that matches, and a position some months hold.
      {"DTSTART:20260101T090000", "FREQ=HOURLY;INTERVAL=12;BYMONTHDAY=10", {{"2026-03-10", "09:00"}, {"2026-03-10", "21:00"}}},
      {"DTSTART:20260101T090000", "FREQ=MONTHLY;BYDAY=TU;BYSETPOS=2", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260101T090000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=7", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260101T090000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=23", {}},
      {"DTSTART:20260101T090000", "FREQ=YEARLY;BYDAY=TU;BYSETPOS=10", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260101T090000", "FREQ=YEARLY;BYMONTH=3;BYDAY=TU,2TU;BYSETPOS=2", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260101T090000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYMONTHDAY=10,11,14;BYSETPOS=-2", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260101T090000", "FREQ=YEARLY;BYMONTH=3,4;BYMONTHDAY=10;BYSETPOS=1", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260101T090000", "FREQ=YEARLY;BYWEEKNO=11;BYDAY=TU,WE;BYSETPOS=1", {{"2026-03-10", "09:00"}}},
      {"DTSTART:20260101T090000", "FREQ=DAILY;INTERVAL=3", {{"2026-03-11", "09:00"}}},
      {"DTSTART:20260113T090000", "FREQ=WEEKLY;INTERVAL=2;BYDAY=TU", {{"2026-03-10", "09:00"}}},
  };
  for (const Hopeless& h : hopeless) {
    const std::string ics = Calendar({Event({"SUMMARY:Never", h.start, std::string("RRULE:") + h.rule})});
    EXPECT_EQ(ShownLines(ics, "UTC", "2026-03-09", "2026-03-12"), h.expected) << h.rule;
  }
  // Positions beyond what a period can hold cost the library a search of its whole
  // horizon for each event, found or not: a calendar of many stays quick all the same.
  std::vector<std::string> outOfReach;
  for (int i = 0; i < 15; ++i)
    for (const Hopeless& h : std::vector<Hopeless>(hopeless.begin() + 2, hopeless.begin() + 11))
      outOfReach.push_back(Event({"SUMMARY:P" + std::to_string(i), h.start, std::string("RRULE:") + h.rule}));
  EXPECT_EQ(ShownLines(Calendar(outOfReach), "UTC", "2026-03-09", "2026-03-12").size(), outOfReach.size());
  EXPECT_LT(std::chrono::steady_clock::now() - t1, std::chrono::seconds(5));

  // A zone whose offset changes every minute would have the library list every change
  // since 2000 (gigabytes); the rule is dropped and the zone keeps its offset, wherever
  // the zone stands: where calendars put it, or inside the event that names it.
  const std::string runaway = "BEGIN:VTIMEZONE\r\nTZID:Runaway\r\nBEGIN:STANDARD\r\nDTSTART:20000101T020000\r\n"
                              "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nRRULE:FREQ=MINUTELY\r\nEND:STANDARD\r\n"
                              "END:VTIMEZONE";
  for (const std::string& ics :
       {Calendar({runaway, Event({"SUMMARY:Z", "DTSTART;TZID=Runaway:20260310T090000"})}),
        Calendar({Event({"SUMMARY:Z", "DTSTART;TZID=Runaway:20260310T090000", runaway})})})
    EXPECT_EQ(ShownLines(ics, "UTC", "2026-03-10", "2026-03-10"), (std::vector<Shown>{{"2026-03-10", "14:00"}}));

  // A yearly or monthly zone rule that falls many times a period is counted as it falls
  // (every weekday of every month from the year 1: half a million changes; every hour of
  // every day since 2000: nearly a million): the daylight rule is dropped and the event
  // stays in standard time. Daylight from the second Sunday of March, written with seven
  // month days and one weekday as older zones write it, keeps its rule. A part with two
  // starts begins at the last, as the library reads it.
  auto zoneWith = [](const std::string& start, const std::string& daylightRule) {
    return "BEGIN:VTIMEZONE\r\nTZID:Counted\r\nBEGIN:STANDARD\r\nDTSTART:" + start +
           "\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\n"
           "END:STANDARD\r\nBEGIN:DAYLIGHT\r\nDTSTART:" + start +
           "\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nRRULE:" + daylightRule + "\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE";
  };
  std::string everyHour = "FREQ=YEARLY;BYHOUR=0";
  for (int h = 1; h < 24; ++h) everyHour += "," + std::to_string(h);
  everyHour += ";BYYEARDAY=1";
  for (int d = 2; d <= 366; ++d) everyHour += "," + std::to_string(d);
  const struct {
    const char* start;
    std::string rule;
    const char* shown;
  } countedRules[] = {
      {"00010101T020000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR", "14:00"},
      {"20000101T020000", everyHour, "14:00"},
      {"19700101T020000", "FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=8,9,10,11,12,13,14;BYDAY=SU", "13:00"},
      {"20200101T020000\r\nDTSTART:00010101T020000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR", "14:00"},
  };
  const auto t2 = std::chrono::steady_clock::now();
  for (const auto& c : countedRules) {
    const std::string ics = Calendar({zoneWith(c.start, c.rule), Event({"SUMMARY:C", "DTSTART;TZID=Counted:20260310T090000"})});
    EXPECT_EQ(ShownLines(ics, "UTC", "2026-03-10", "2026-03-10"), (std::vector<Shown>{{"2026-03-10", c.shown}})) << c.rule;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - t2, std::chrono::seconds(5));

  // Monthly zone rules from the year 1 make 25,000 changes each: a few hundred such zones
  // took minutes and gigabytes. Once the calendar's budget of changes is used up, the
  // other zones lose their rules and keep their offsets: of two events in the first and
  // the last of 300 such zones, one shows as its zone gives it with the rules, the other
  // as without them.
  auto monthlyZone = [](const std::string& tzid, bool rules) {
    const std::string rule = rules ? "RRULE:FREQ=MONTHLY\r\n" : "";
    return "BEGIN:VTIMEZONE\r\nTZID:" + tzid + "\r\nBEGIN:STANDARD\r\nDTSTART:00010101T020000\r\n" +
           "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\n" + rule + "END:STANDARD\r\nBEGIN:DAYLIGHT\r\n" +
           "DTSTART:00010115T020000\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\n" + rule +
           "END:DAYLIGHT\r\nEND:VTIMEZONE";
  };
  auto at9 = [](const std::string& tzid) { return Event({"SUMMARY:" + tzid, "DTSTART;TZID=" + tzid + ":20260310T090000"}); };
  auto timeIn = [&](bool rules) {
    return ShownLines(Calendar({monthlyZone("Alone", rules), at9("Alone")}), "UTC", "2026-03-10", "2026-03-10");
  };
  const std::vector<Shown> withRules = timeIn(true), withoutRules = timeIn(false);
  ASSERT_EQ(withRules.size(), 1u);
  ASSERT_EQ(withoutRules.size(), 1u);
  ASSERT_NE(withRules[0].time, withoutRules[0].time) << "the rules must move the event";
  std::vector<std::string> many;
  for (int i = 0; i < 300; ++i) many.push_back(monthlyZone("Monthly" + std::to_string(i), true));
  many.push_back(at9("Monthly0"));
  many.push_back(at9("Monthly299"));
  std::vector<Shown> expected = {withRules[0], withoutRules[0]};
  std::sort(expected.begin(), expected.end(), [](const Shown& a, const Shown& b) { return a.time < b.time; });
  EXPECT_EQ(ShownLines(Calendar(many), "UTC", "2026-03-10", "2026-03-10"), expected);
}

// One event gives a day at most a hundred lines: one that repeats every minute shows its
// first hundred times, while many events on one day all show. A range without end is cut
// to its first 100,000 days. An occurrence that the rule and RDATEs (in any order) give
// more than once shows once.
TEST(IcsCalendarRecurrence, LinesBoundedPerEventAndDayAndEachOccurrenceShownOnce) {
  std::vector<std::string> events;
  for (int i = 0; i < 150; ++i)
    events.push_back(Event({"SUMMARY:AllDay" + std::to_string(i), "DTSTART;VALUE=DATE:20260310"}));
  events.push_back(Event({"SUMMARY:Tick", "DTSTART:20260309T000000Z", "RRULE:FREQ=MINUTELY"}));
  const std::vector<Shown> shown = ShownLines(Calendar(events), "UTC", "2026-03-10", "2026-03-11");
  ASSERT_EQ(shown.size(), 350u);
  EXPECT_EQ(shown[149], (Shown{"2026-03-10", ""}));
  EXPECT_EQ(shown[150], (Shown{"2026-03-10", "00:00"}));
  EXPECT_EQ(shown[249], (Shown{"2026-03-10", "01:39"}));
  EXPECT_EQ(shown[250], (Shown{"2026-03-11", "00:00"}));
  EXPECT_EQ(shown[349], (Shown{"2026-03-11", "01:39"}));

  IanaLocalZone utc("UTC");
  const IcsCalendar once = IcsCalendar::Parse(Calendar({Event({"SUMMARY:Once", "DTSTART;VALUE=DATE:20260310"})}));
  EXPECT_EQ(once.Lines(Day("2026-03-01"), INT64_MAX, utc).size(), 1u);
  EXPECT_TRUE(once.Lines(INT64_MIN, INT64_MAX, utc).empty());

  const std::string twice = Calendar({Event({"SUMMARY:Twice", "DTSTART:20260310T090000", "RRULE:FREQ=DAILY;COUNT=3",
                                             "RDATE:20260312T090000", "RDATE:20260311T090000",
                                             "RDATE:20260310T120000", "RDATE:20260310T120000"})});
  EXPECT_EQ(ShownLines(twice, "UTC", "2026-03-09", "2026-03-13"),
            (std::vector<Shown>{{"2026-03-10", "09:00"}, {"2026-03-10", "12:00"},
                                {"2026-03-11", "09:00"}, {"2026-03-12", "09:00"}}));
}

// A malformed calendar keeps every event that could be read and names the first bad line.
TEST(IcsCalendarReading, MalformedInputKeepsWhatCouldBeRead) {
  const std::string ics =
      "BEGIN:VCALENDAR\r\nX-WR-CALNAME:Team\r\n"                                             // 1-2
      "BEGIN:VEVENT\r\nUID:a\r\nSUMMARY:First\r\nDTSTART;VALUE=DATE:20260310\r\nEND:VEVENT\r\n"  // 3-7
      "this line is no property\r\n"                                                         // 8
      "BEGIN:VEVENT\r\nUID:b\r\nSUMMARY:Second\r\n folded\r\nDTSTART;VALUE=DATE:20260311\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nUID:c\r\nSUMMARY:Cut off\r\nDTSTART;VALUE=DATE:20260312\r\n";  // no END lines
  IcsCalendar cal = IcsCalendar::Parse(ics);
  EXPECT_EQ(cal.Name(), "Team");
  EXPECT_EQ(cal.FirstBadLine(), 8);
  std::vector<std::string> titles;
  for (const auto& l : cal.Lines(Day("2026-03-01"), Day("2026-03-31"), FixedLocalZone()))
    titles.push_back(FormatEventLine(l));
  EXPECT_EQ(titles, (std::vector<std::string>{"First", "Secondfolded", "Cut off"}));

  std::string deep = "BEGIN:VCALENDAR\r\n";
  for (int i = 0; i < 200000; ++i) deep += "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20260310\r\n";
  for (const std::string& junk : {std::string(), std::string("\0\0\xff", 3), std::string(IcsCalendar::kMaxBytes + 1, 'x'), deep,
                                 std::string("BEGIN\r\nEND\r\nBEGIN:\r\nEND:")}) {
    IcsCalendar bad = IcsCalendar::Parse(junk);
    EXPECT_LE(bad.EventCount(), 8u);
    EXPECT_LE(bad.Lines(Day("2026-03-01"), Day("2026-03-31"), FixedLocalZone()).size(), 8u);
  }
}

}  // namespace
}  // namespace ov::test
