// Composing a background picture onto a 4K wallpaper: placement with the B-spline filter
// plus the colour adjustments, as the wallpaper build does it.
//
// The picture is 4000 x 3000; ORV_BENCH_PICTURE may name a PPM of that size (the
// comparison script passes the same pixels to ImageMagick), otherwise a seeded
// synthetic picture is used.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>

#include "core/images/Adjustments.h"
#include "core/images/Compose.h"
#include "core/platform/ImageDecoder.h"

namespace ov {
namespace {

const TBitmap32& Picture() {
  static const TBitmap32 picture = [] {
    TBitmap32 p;
    if (const char* file = std::getenv("ORV_BENCH_PICTURE")) {
      NetpbmImageDecoder decoder;
      if (decoder.Decode(p, file).ok) return p;
    }
    // Smooth gradients with noise: neither flat (which would flatter the filter) nor
    // pure noise.
    p.SetSize(4000, 3000);
    std::mt19937 rng(42);
    for (int32_t y = 0; y < p.Height(); ++y)
      for (int32_t x = 0; x < p.Width(); ++x) {
        uint32_t n = rng() & 0x1F;
        uint32_t r = (x * 255 / 4000 + n) & 0xFF, g = (y * 255 / 3000 + n) & 0xFF, b = ((x + y) / 27 + n) & 0xFF;
        p.At(x, y) = MakeArgb(255, r, g, b);
      }
    return p;
  }();
  return picture;
}

TImageProps BenchProps() {
  TImageProps p;  // Fit, zoom 100
  p.Gamma = 2;
  p.Contrast = 20;
  p.Brightness = 5;
  p.Red = 10;
  return p;
}

void BM_ComposeFitSplineAdjusted(benchmark::State& state) {
  TBitmap32 picture = Picture();
  TBitmap32 wallpaper(3840, 2160);
  ComposeSettings settings;
  settings.screen = {3840, 2160};
  const TImageProps props = BenchProps();
  for (auto _ : state) {
    wallpaper.Clear(kBlack32);
    ComposeImage(wallpaper, picture, props, StretchFilter::Spline, ImageSlot::Current, true, settings);
    benchmark::DoNotOptimize(wallpaper.Bits());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(3840) * 2160);
}
BENCHMARK(BM_ComposeFitSplineAdjusted)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The colour passes alone over a 4K surface (grayscale and equalise add one pass each).
void BM_AdjustColours4K(benchmark::State& state) {
  TBitmap32 wallpaper(3840, 2160);
  std::mt19937 rng(1);
  for (int32_t y = 0; y < wallpaper.Height(); ++y)
    for (int32_t x = 0; x < wallpaper.Width(); ++x) wallpaper.At(x, y) = rng() | 0xFF000000u;
  TImageProps props = BenchProps();
  props.GrayScale = state.range(0) != 0;
  props.Equalize = state.range(0) != 0;
  for (auto _ : state) {
    AdjustColours(wallpaper, props);
    benchmark::DoNotOptimize(wallpaper.Bits());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(3840) * 2160);
}
BENCHMARK(BM_AdjustColours4K)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The preview while dragging: nearest filter, no adjustments, a 640 x 360 preview.
void BM_ComposePreviewNearest(benchmark::State& state) {
  TBitmap32 picture = Picture();
  TBitmap32 preview(640, 360);
  ComposeSettings settings;
  settings.screen = {3840, 2160};
  const TImageProps props = BenchProps();
  for (auto _ : state) {
    preview.Clear(kBlack32);
    ComposeImage(preview, picture, props, StretchFilter::Nearest, ImageSlot::Current, false, settings);
    benchmark::DoNotOptimize(preview.Bits());
  }
}
BENCHMARK(BM_ComposePreviewNearest)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ov
