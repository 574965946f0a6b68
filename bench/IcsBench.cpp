// A subscribed calendar of 10,000 events: reading it (what the worker thread does when the
// file changes) and expanding it over the days a panel shows (what the first cell of a
// render asks for), and both together. Goal: both together under 200 ms on one core.
// The calendar mixes what real feeds hold: single timed events in UTC and in a named zone,
// all-day and multi-day events, and weekly and monthly rules with COUNT, UNTIL, EXDATE and
// overrides, spread over four years around the shown weeks. The last benchmark is the part
// the window's thread pays when it draws after the file changed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "core/calendar/DateTime.h"
#include "core/ical/IanaLocalZone.h"
#include "core/ical/IcalSetup.h"
#include "core/ical/IcsCalendar.h"
#include "core/ical/SubscribedEvents.h"

namespace {

using namespace ov;

constexpr int kEvents = 10000;

std::string Stamp(int64_t day, int hour, int minute, bool utc) {
  const CivilDate c = CivilFromDayNumber(day);
  char b[32];
  std::snprintf(b, sizeof b, "%04d%02d%02dT%02d%02d00%s", c.year, c.month, c.day, hour, minute, utc ? "Z" : "");
  return b;
}

std::string DateOnly(int64_t day) { return Stamp(day, 0, 0, false).substr(0, 8); }

const std::string& TenThousandEvents() {
  static const std::string text = [] {
    std::string s = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nX-WR-CALNAME:Bench\r\n";
    const int64_t first = DayNumberFromCivil(2024, 1, 1);
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFFFF; };
    for (int i = 0; i < kEvents; ++i) {
      const int64_t day = first + int64_t(next() % (4 * 365));
      const int hour = int(next() % 24), minute = int(next() % 4) * 15;
      s += "BEGIN:VEVENT\r\nUID:ev" + std::to_string(i) + "@bench\r\nDTSTAMP:20260101T000000Z\r\n";
      s += "SUMMARY:Event number " + std::to_string(i) + " with a title of usual length\r\n";
      switch (i % 10) {
        case 0:  // all-day, sometimes several days
          s += "DTSTART;VALUE=DATE:" + DateOnly(day) + "\r\nDTEND;VALUE=DATE:" + DateOnly(day + 1 + i % 3) + "\r\n";
          break;
        case 1:  // weekly with COUNT, or with UNTIL and an exception
          s += "DTSTART;TZID=America/New_York:" + Stamp(day, hour, minute, false) + "\r\n";
          s += "DURATION:PT1H\r\n";
          if (i % 20 == 1)
            s += "RRULE:FREQ=WEEKLY;BYDAY=MO,WE;COUNT=30\r\n";
          else
            s += "RRULE:FREQ=WEEKLY;UNTIL=" + Stamp(day + 300, 0, 0, true) + "\r\nEXDATE;TZID=America/New_York:" +
                 Stamp(day + 7, hour, minute, false) + "\r\n";
          break;
        case 2:  // monthly on a weekday position
          s += "DTSTART:" + Stamp(day, hour, minute, true) + "\r\nDURATION:PT45M\r\n";
          s += "RRULE:FREQ=MONTHLY;BYDAY=2TU\r\n";
          break;
        case 3:  // a moved occurrence of the previous event's rule
          s.replace(s.rfind("UID:ev"), std::string("UID:ev" + std::to_string(i)).size(),
                    "UID:ev" + std::to_string(i - 1));
          s += "RECURRENCE-ID:" + Stamp(day, hour, minute, true) + "\r\n";
          s += "DTSTART:" + Stamp(day, (hour + 2) % 24, minute, true) + "\r\nDURATION:PT30M\r\n";
          break;
        case 4:
        case 5:  // timed in a named zone
          s += "DTSTART;TZID=America/New_York:" + Stamp(day, hour, minute, false) + "\r\n";
          s += "DURATION:PT1H\r\n";
          break;
        default:  // timed in UTC
          s += "DTSTART:" + Stamp(day, hour, minute, true) + "\r\nDURATION:PT30M\r\n";
          break;
      }
      s += "END:VEVENT\r\n";
    }
    return s + "END:VCALENDAR\r\n";
  }();
  return text;
}

const IanaLocalZone& Shanghai() {
  static const bool ready = UseZoneFolder(ORV_ZONEINFO_DIR);
  static const IanaLocalZone zone("Asia/Shanghai");
  (void)ready;
  return zone;
}

// The days a panel asks for when its first cell is read: the expansion window.
const int64_t kShownDay = DayNumberFromCivil(2026, 3, 2);

void BM_Read10kEvents(benchmark::State& state) {
  Shanghai();
  const std::string& text = TenThousandEvents();
  for (auto _ : state) {
    IcsCalendar cal = IcsCalendar::Parse(text);
    benchmark::DoNotOptimize(cal.EventCount());
  }
  state.counters["MB"] = double(text.size()) / 1e6;
}

void BM_Expand10kEventsOverShownWeeks(benchmark::State& state) {
  const IanaLocalZone& zone = Shanghai();
  const IcsCalendar cal = IcsCalendar::Parse(TenThousandEvents());
  size_t lines = 0;
  for (auto _ : state) {
    lines = cal.Lines(kShownDay - SubscribedEvents::kDaysBefore, kShownDay + SubscribedEvents::kDaysAfter, zone).size();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = double(lines);
}

// Both, as the program does them after a change of the file: read, hand over, draw.
void BM_ReadAndExpand10kEvents(benchmark::State& state) {
  const IanaLocalZone& zone = Shanghai();
  const std::string& text = TenThousandEvents();
  for (auto _ : state) {
    SubscribedEvents events(zone);
    events.SetSources({{std::make_shared<const IcsCalendar>(IcsCalendar::Parse(text)), 0x336699}});
    size_t n = 0;
    for (int64_t d = kShownDay; d < kShownDay + 49; ++d) n += events.EventsOf(d).size();
    benchmark::DoNotOptimize(n);
  }
}

// What the window's thread pays after a change of the file: the reader thread has read
// and handed over the calendar (not timed); the render then reads the shown weeks.
void BM_DrawLinesAfterChange10kEvents(benchmark::State& state) {
  const IanaLocalZone& zone = Shanghai();
  const auto calendar = std::make_shared<const IcsCalendar>(IcsCalendar::Parse(TenThousandEvents()));
  SubscribedEvents events(zone);
  events.EventsOf(kShownDay);  // the panel was drawn before
  for (auto _ : state) {
    state.PauseTiming();
    events.SetSources({{calendar, 0x336699}});
    state.ResumeTiming();
    size_t n = 0;
    for (int64_t d = kShownDay; d < kShownDay + 49; ++d) n += events.EventsOf(d).size();
    benchmark::DoNotOptimize(n);
  }
}

}  // namespace

BENCHMARK(BM_Read10kEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Expand10kEventsOverShownWeeks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndExpand10kEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawLinesAfterChange10kEvents)->Unit(benchmark::kMillisecond)->Iterations(20);
