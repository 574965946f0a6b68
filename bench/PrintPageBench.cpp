// The printed page of a six-row month (June 2025, Monday first, so drawn twice) on an
// A4 landscape page of 3508 × 2479 device pixels: the background photo composed once,
// the calendar with an entry in every cell (text excluded), at the slider's 10, 30 and
// 50 %; and the page image written as a 24-bit bitmap for the printer.
#include <benchmark/benchmark.h>

#include "BenchImages.h"
#include "BenchStubs.h"
#include "core/calendar/DateTime.h"
#include "core/platform/ImageDecoder.h"
#include "core/print/PrintBackground.h"
#include "core/print/PrintPage.h"
#include "core/render/BmpWriter.h"

namespace {

using namespace ov;
using bench::EveryDay;
using bench::NoText;

constexpr Size kA4Landscape{3508, 2479};

void BM_RenderPrintPage(benchmark::State& state) {
  Settings s;
  s.StartOfWeek = 0;
  s.PrintZoomFactor = int32_t(state.range(0));
  NetpbmImageDecoder decoder;
  ImagePropsStore props("/nonexistent", decoder);
  props.ShownPicture() = bench::PhotoLike(1920, 1080);
  NoText text;
  FakeLocaleNames locale;
  EveryDay days;
  CalendarRenderer renderer(s, text, locale);
  renderer.SetDayData(&days);
  const double june14 = EncodeDate(2025, 6, 14);
  int32_t rows = 0;
  for (auto _ : state) {
    TBitmap32 page = RenderPrintPage(s, renderer, props, nullptr, kA4Landscape, june14, june14, &rows);
    benchmark::DoNotOptimize(page.Bits());
  }
  state.counters["rows"] = rows;
}

void BM_EncodePrintImage(benchmark::State& state) {
  const Size page = PageImageSize(kA4Landscape, int32_t(state.range(0)));
  const TBitmap32 image = bench::PhotoLike(page.width, page.height);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string bmp = EncodeBmp(image, BmpDepth::Bits24);
    bytes = bmp.size();
    benchmark::DoNotOptimize(bmp.data());
  }
  state.counters["MB"] = double(bytes) / 1e6;
}

}  // namespace

BENCHMARK(BM_RenderPrintPage)->Arg(10)->Arg(30)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePrintImage)->Arg(30)->Arg(50)->Unit(benchmark::kMillisecond);
