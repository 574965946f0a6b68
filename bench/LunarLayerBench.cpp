// What the Chinese calendar layer adds to a render: the per-day lookups of a 7-row grid
// (lunar note, festival, solar term, day off), and a whole 1920 × 1080 panel render with
// the layer off and on (text drawing excluded, as in RenderCalendarBench). The layer's
// cost is the difference of the last two; it must stay under 1 ms.
#include <benchmark/benchmark.h>

#include "BenchImages.h"
#include "BenchStubs.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/ChineseCalendar.h"
#include "core/calendar/Holidays.h"
#include "core/render/CalendarRenderer.h"

namespace {

using namespace ov;
using bench::NoText;

void BM_LunarLookups_49Days(benchmark::State& state) {
  const HolidayCalendar& holidays = HolidayCalendar::BuiltIn();
  const int64_t first = DayNumberFromCivil(2026, 2, 1);
  for (auto _ : state) {
    size_t chars = 0;
    for (int64_t d = first; d < first + 49; ++d) {
      chars += LunarNote(d).size();
      chars += size_t(holidays.On(d));
    }
    benchmark::DoNotOptimize(chars);
  }
}

void Render(benchmark::State& state, bool lunar) {
  Settings s;
  s.CalendarRect = {640, 60, 1860, 1020};
  s.ShowLunar = lunar;
  NoText text;
  FakeLocaleNames locale;
  DayCellTable table;
  CalendarRenderer r(s, text, locale);
  r.SetTargetSize({1920, 1080});
  r.SetDayCellTable(&table);
  TBitmap32 wallpaper = bench::PhotoLike(1920, 1080);
  const double day = EncodeDate(2026, 2, 17);
  for (auto _ : state) {
    r.RenderCalendar(wallpaper, s.CalendarRect, false, 2, 7, day, day);
    benchmark::DoNotOptimize(wallpaper.Bits());
  }
  state.counters["cells"] = double(table.Cells().size());
}

void BM_RenderCalendar_1920x1080_7Rows_LunarOff(benchmark::State& s) { Render(s, false); }
void BM_RenderCalendar_1920x1080_7Rows_LunarOn(benchmark::State& s) { Render(s, true); }

}  // namespace

BENCHMARK(BM_LunarLookups_49Days)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderCalendar_1920x1080_7Rows_LunarOff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderCalendar_1920x1080_7Rows_LunarOn)->Unit(benchmark::kMillisecond);
