// Resampling a 4000 × 3000 picture to a 3840 × 2160 wallpaper, one core, next to the
// same resize by the vips command-line tool (one thread, cubic kernel). The vips figure
// includes its start-up and file I/O; BM_VipsBaseline runs the same tool on the same
// files without resizing (a plain crop of the output size), so the difference of the two
// is vips' resampling time.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/resource.h>

#include "BenchImages.h"
#include "core/render/Avx2.h"
#include "core/render/Bands.h"
#include "core/render/Resample.h"

namespace {

using ov::Rect;
using ov::TBitmap32;

const TBitmap32& Source() {
  static TBitmap32 src = ov::bench::PhotoLike(4000, 3000);
  return src;
}

// One thread, as vips is given; the range's first argument 0 also turns the AVX2 kernels
// off, to show what the SSE2 ones give.
void Resize(benchmark::State& state, ov::StretchFilter filter) {
  const TBitmap32& src = Source();
  TBitmap32 dst(3840, 2160);
  ov::SetPixelThreads(1);
  ov::AllowAvx2Kernels(state.range(0) != 0);
  for (auto _ : state) {
    ov::ResampleInto(dst, dst.BoundsRect(), src, src.BoundsRect(), filter, ov::DrawMode::Opaque);
    benchmark::DoNotOptimize(dst.Bits());
  }
  ov::AllowAvx2Kernels(true);
  ov::SetPixelThreads(0);
}

void BM_Spline_4000x3000_to_3840x2160(benchmark::State& s) { Resize(s, ov::StretchFilter::Spline); }
void BM_Linear2_4000x3000_to_3840x2160(benchmark::State& s) { Resize(s, ov::StretchFilter::Linear2); }
void BM_Nearest_4000x3000_to_3840x2160(benchmark::State& s) { Resize(s, ov::StretchFilter::Nearest); }

void BM_SplineReference_4000x3000_to_3840x2160(benchmark::State& state) {
  const TBitmap32& src = Source();
  TBitmap32 dst(3840, 2160);
  for (auto _ : state)
    ov::ResampleIntoReference(dst, dst.BoundsRect(), src, src.BoundsRect(), ov::StretchFilter::Spline,
                              ov::DrawMode::Opaque);
}

// Zoomed 9999 %: the cost must follow the visible area only.
void BM_Spline_Zoom9999(benchmark::State& state) {
  const TBitmap32& src = Source();
  TBitmap32 dst(3840, 2160);
  const int64_t w = int64_t(4000) * 9999 / 100, h = int64_t(3000) * 9999 / 100;
  Rect r{int32_t(-w / 2), int32_t(-h / 2), int32_t(w / 2), int32_t(h / 2)};
  for (auto _ : state)
    ov::ResampleInto(dst, r, src, src.BoundsRect(), ov::StretchFilter::Spline, ov::DrawMode::Opaque);
}

std::string VipsFolder() {
  static std::string dir = [] {
    std::string d = (std::filesystem::temp_directory_path() / "ov-bench-vips").string();
    std::filesystem::create_directories(d);
    ov::bench::WritePpm(Source(), d + "/in.ppm");
    std::string cmd = "vips copy " + d + "/in.ppm " + d + "/in.v >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) return std::string();
    return d;
  }();
  return dir;
}

void RunVips(benchmark::State& state, const std::string& args) {
  const std::string d = VipsFolder();
  if (d.empty()) {
    state.SkipWithError("vips not available");
    return;
  }
  const std::string cmd = "VIPS_CONCURRENCY=1 vips " + args + " >/dev/null 2>&1";
  // The tool's own processor time (user + system), comparable with the CPU column of
  // the in-process benchmarks on a busy machine where real time is not.
  auto childCpuMs = [] {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
  };
  const double before = childCpuMs();
  for (auto _ : state)
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("vips failed");
  state.counters["vips_cpu_ms"] = (childCpuMs() - before) / double(state.iterations());
}

void BM_VipsResizeCubic(benchmark::State& state) {
  const std::string d = VipsFolder();
  RunVips(state, "resize " + d + "/in.v " + d + "/out.v 0.96 --vscale 0.72 --kernel cubic");
}

void BM_VipsBaseline(benchmark::State& state) {
  const std::string d = VipsFolder();
  RunVips(state, "extract_area " + d + "/in.v " + d + "/crop.v 0 0 3840 2160");
}

}  // namespace

BENCHMARK(BM_Spline_4000x3000_to_3840x2160)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Linear2_4000x3000_to_3840x2160)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Nearest_4000x3000_to_3840x2160)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SplineReference_4000x3000_to_3840x2160)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Spline_Zoom9999)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VipsResizeCubic)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VipsBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
