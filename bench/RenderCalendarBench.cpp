// RenderCalendar on a 3840 × 2160 wallpaper: 7 rows with an entry in every cell, text
// excluded (the text renderer draws nothing), once with the plain cell colour and once
// with a cell skin.
#include <benchmark/benchmark.h>

#include "BenchImages.h"
#include "BenchStubs.h"
#include "core/calendar/DateTime.h"
#include "core/render/CalendarRenderer.h"

namespace {

using namespace ov;
using bench::EveryDay;
using bench::NoText;

void Render(benchmark::State& state, bool skin) {
  Settings s;
  const Rect work{0, 0, 3840, 2160 - 40};
  s.CalendarRect = {work.left + work.right / 3, work.top + 60, work.right - 60, work.bottom - 20};
  NoText text;
  FakeLocaleNames locale;
  EveryDay days;
  DayCellTable table;
  TBitmap32 skinPicture = bench::PhotoLike(256, 192);
  CalendarRenderer r(s, text, locale);
  r.SetTargetSize({3840, 2160});
  r.SetDayData(&days);
  r.SetDayCellTable(&table);
  if (skin) r.SetSkin(&skinPicture);
  TBitmap32 wallpaper = bench::PhotoLike(3840, 2160);
  const double day = EncodeDate(2025, 6, 14);
  for (auto _ : state) {
    r.RenderCalendar(wallpaper, s.CalendarRect, false, 2, 7, day, day);
    benchmark::DoNotOptimize(wallpaper.Bits());
  }
  state.counters["cells"] = double(table.Cells().size());
}

void BM_RenderCalendar_3840x2160_7Rows_Color(benchmark::State& s) { Render(s, false); }
void BM_RenderCalendar_3840x2160_7Rows_Skin(benchmark::State& s) { Render(s, true); }

}  // namespace

BENCHMARK(BM_RenderCalendar_3840x2160_7Rows_Color)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderCalendar_3840x2160_7Rows_Skin)->Unit(benchmark::kMillisecond);
