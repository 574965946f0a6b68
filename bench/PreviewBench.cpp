// One redraw of the configuration window's preview: a 4000 x 3000 picture with colour
// adjustments into 549 x 309 with the calendar panel, the task bar mark and the label,
// quick (nearest pixel, while the user edits) and full quality (spline, 300 ms later).
// "Cold" redraws resample the picture every time (a new picture, zoom or offset); "Edit"
// redraws change the contrast each time, as a gauge does, and reuse the placed picture.
// "DragStep" is one step of dragging the picture with the mouse: the offsets move, the
// redraw is quick and without colour adjustments, as on the image tab.
#include <benchmark/benchmark.h>

#include "BenchImages.h"
#include "core/calendar/DateTime.h"
#include "core/config/PreviewContent.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/platform/ImageDecoder.h"

namespace {

using namespace ov;

class EveryDay final : public IDayDataSource {
 public:
  DayData ReadDay(double date) override { return {"Entry text", DayNumber(date) % 5 == 0 ? 2u : 0u}; }
};

enum class Edit { Cold, Gauge, Drag };

void Redraw(benchmark::State& state, PreviewQuality quality, Edit edit) {
  Settings s;
  const Size wallpaper{1920, 1080};
  s.CalendarRect = {640, 60, 1860, 1040};
  NetpbmImageDecoder decoder;
  ImagePropsStore props("/nonexistent", decoder);
  props.ShownPicture() = bench::PhotoLike(4000, 3000);
  TImageProps& p = props.Props(ImageSlot::Current);
  p.Contrast = 20;
  p.Brightness = 5;
  p.Gamma = 1.5;
  FakeTextRenderer text;
  FakeLocaleNames locale;
  EveryDay days;
  CalendarRenderer renderer(s, text, locale);
  renderer.SetDayData(&days);
  TBitmap32 preview(549, 309);
  PreviewInput in{s, props, nullptr, renderer, wallpaper};
  in.now = EncodeDate(2025, 6, 14);
  in.showCalendar = edit != Edit::Drag;  // the image tab shows no calendar
  in.keepPicture = edit == Edit::Drag;
  in.taskbars = {{0, 1040, 1920, 1080}};
  PreviewCache cache;
  int step = 0;
  for (auto _ : state) {
    ++step;
    if (edit == Edit::Drag) {
      // The mouse moved 3 preview pixels: about 10 wallpaper pixels, back and forth.
      p.OffsetX += (step / 20) % 2 ? -10 : 10;
      p.OffsetY += (step / 20) % 2 ? 5 : -5;
    } else {
      p.Contrast = 20 + (step % 10);
    }
    ComposePreview(preview, in, quality, edit != Edit::Drag, edit == Edit::Cold ? nullptr : &cache);
    benchmark::DoNotOptimize(preview.Bits());
  }
}

void BM_PreviewRedraw_4000x3000_To_549x309_Quick_Cold(benchmark::State& s) {
  Redraw(s, PreviewQuality::Quick, Edit::Cold);
}
void BM_PreviewRedraw_4000x3000_To_549x309_Full_Cold(benchmark::State& s) {
  Redraw(s, PreviewQuality::Full, Edit::Cold);
}
void BM_PreviewRedraw_4000x3000_To_549x309_Quick_Edit(benchmark::State& s) {
  Redraw(s, PreviewQuality::Quick, Edit::Gauge);
}
void BM_PreviewRedraw_4000x3000_To_549x309_Full_Edit(benchmark::State& s) {
  Redraw(s, PreviewQuality::Full, Edit::Gauge);
}
void BM_PreviewDragStep_4000x3000_To_549x309(benchmark::State& s) { Redraw(s, PreviewQuality::Quick, Edit::Drag); }

}  // namespace

BENCHMARK(BM_PreviewRedraw_4000x3000_To_549x309_Quick_Cold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewRedraw_4000x3000_To_549x309_Full_Cold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewRedraw_4000x3000_To_549x309_Quick_Edit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewRedraw_4000x3000_To_549x309_Full_Edit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewDragStep_4000x3000_To_549x309)->Unit(benchmark::kMillisecond);
