// BuildWallpaper at 3840 x 2160 and 7680 x 2160 from a 4000 x 3000 picture already decoded: fit with the
// spline filter, gamma, contrast and a colour shift, the overlay, a 7-row calendar with a
// note in every cell (read from note files), saved as a 24-bit BMP and "installed".
// Decoding is replaced by a copy of the decoded picture (reported separately).
// Every build runs on one thread unless its name ends in _Threads2. The NoteEdit build
// changes one note and builds again over the kept picture layer, as the program does;
// the Rotation build keeps the layer too but shows another picture each time, as a
// rotation or a newly chosen picture does in the program (its surfaces are reused).
// AfterIdle builds after the kept layer was let go; AfterIdleParked after it was parked
// in its cache file, as the program does after a minute without builds.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "BenchImages.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/platform/CodePage.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/platform/LocaleNames.h"
#include "core/render/Bands.h"
#include "core/render/EntryStoreDays.h"
#include "core/util/Paths.h"
#include "core/wallpaper/WallpaperBuilder.h"

namespace {

using namespace ov;
namespace fs = std::filesystem;

// Hands out pictures decoded once, by file name.
class MemoryDecoder final : public IImageDecoder {
 public:
  std::map<fs::path, TBitmap32> pictures;
  DecodeResult Decode(TBitmap32& surface, const fs::path& file) override {
    auto it = pictures.find(file);
    if (it == pictures.end()) {
      surface.SetSize(0, 0);
      return {};
    }
    surface = it->second;
    return {true, kPixelFormat24bppRgb};
  }
};

struct Fixture {
  Fixture() {
    folder = fs::temp_directory_path() / "ov-wallpaper-bench";
    fs::remove_all(folder);
    fs::create_directories(folder / "ImageCRC");
    decoder.pictures[folder / "photo.jpg"] = bench::PhotoLike(4000, 3000);
    // The kept layer knows the picture by its file: a stand-in file for the decoder's.
    std::ofstream(folder / "photo.jpg") << "decoded in memory";
    decoder.pictures[folder / "photo2.jpg"] = decoder.pictures[folder / "photo.jpg"];
    decoder.pictures[folder / "photo2.jpg"].Bits()[0] ^= 1;  // another picture to its checksum
    std::ofstream(folder / "photo2.jpg") << "decoded in memory too";
    TBitmap32 border(1600, 1000);
    border.Clear(0xFF000000);
    border.FillRectOpaque({0, 0, 1600, 30}, 0xFF2050C0);
    decoder.pictures[folder / "border.png"] = border;

    s.CalendarRect = {3840 / 3, 60, 3840 - 60, 2160 - 60};
    s.Overlay = true;
    s.OutputPixelmode = 4;
    overlay.Load(decoder, folder / "border.png", true, s.OverlayAlpha);
    TImageProps& p = props.Props(ImageSlot::Current);
    p.Gamma = 1.5;
    p.Contrast = 20;
    p.Red = 10;
    // ReadImageProps resets the slot when the picture loads; keep the adjustments in
    // the picture's own properties file instead.
    TBitmap32 picture;
    decoder.Decode(picture, folder / "photo.jpg");
    props.SetModified(true);
    props.ShownPicture() = picture;
    props.WriteImageProps(props.ShownPicture());
    props.ShownPicture().SetSize(0, 0);

    for (int d = -30; d < 60; ++d) store.WriteNoteText("Meeting with the team at ten", today + d);
    renderer.SetDayData(&days);
  }
  ~Fixture() {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }

  fs::path folder;
  MemoryDecoder decoder;
  ImagePropsStore props{(fs::temp_directory_path() / "ov-wallpaper-bench" / "ImageCRC"), decoder};
  OverlayImage overlay;
  Settings s;
  FakeTextRenderer text;
  FakeLocaleNames locale;
  CalendarRenderer renderer{s, text, locale};
  Latin1CodePage codePage;
  double today = EncodeDate(2025, 6, 14);
  EntryStore store{fs::temp_directory_path() / "ov-wallpaper-bench" / "Entries", "默认", codePage};
  EntryStoreDays days{store};
  DayCellTable cells;
  ManualClock clock{EncodeDateTime(2025, 6, 14, 9, 0)};
};

// Builds of a wallpaper of `size`, the panel on its right-hand monitor's part, on
// `threads` threads; with `noteEdit` one note changes before each build, and the kept
// picture layer of the first build is reused.
void BuildWallpaperOfSize(benchmark::State& state, Size size, int threads = 1, bool noteEdit = false,
                          bool rotation = false, bool afterIdle = false, bool parked = false) {
  Fixture f;
  SetPixelThreads(threads);
  f.s.CalendarRect = {size.width - 3840 + 3840 / 3, 60, size.width - 60, size.height - 60};
  WallpaperHost host{[](const std::string&) { return true; }, {}, {}};
  WallpaperBuildInput in{f.s, f.props, &f.overlay, f.renderer, f.cells, f.clock, f.today, size,
                         f.folder / "Wallpaper.bmp", host};
  KeptPictureLayer kept;
  if (noteEdit || rotation || afterIdle) in.kept = &kept;
  std::string file = PathToUtf8(f.folder / "photo.jpg");
  if (noteEdit || rotation || parked) BuildWallpaper(in, file);
  int edits = 0;
  for (auto _ : state) {
    if (noteEdit) f.store.WriteNoteText("Meeting moved to " + std::to_string(++edits % 12 + 1), f.today);
    if (rotation) file = PathToUtf8(f.folder / (++edits % 2 ? "photo2.jpg" : "photo.jpg"));
    if (afterIdle) {
      // The program parks or lets go of the layer a minute after a build, not in one.
      state.PauseTiming();
      if (parked) kept.Park(f.folder / "layer.cache");
      else kept.Release();
      state.ResumeTiming();
    }
    std::string error = BuildWallpaper(in, file);
    if (!error.empty()) state.SkipWithError(error.c_str());
  }
  if (noteEdit && kept.Reuses() != int(state.iterations())) state.SkipWithError("the kept layer was not reused");
  if (rotation && kept.Reuses() != 0) state.SkipWithError("the kept layer was reused for another picture");
  if (parked && kept.Reuses() != int(state.iterations())) state.SkipWithError("the parked layer was not read back");
  SetPixelThreads(0);
  state.counters["cells"] = double(f.cells.Cells().size());
}

void BM_BuildWallpaper_3840x2160(benchmark::State& state) { BuildWallpaperOfSize(state, {3840, 2160}); }
void BM_BuildWallpaper_3840x2160_Threads2(benchmark::State& state) { BuildWallpaperOfSize(state, {3840, 2160}, 2); }
void BM_BuildWallpaper_3840x2160_NoteEdit(benchmark::State& state) {
  BuildWallpaperOfSize(state, {3840, 2160}, 1, true);
}
void BM_BuildWallpaper_3840x2160_Rotation(benchmark::State& state) {
  BuildWallpaperOfSize(state, {3840, 2160}, 1, false, true);
}
// A build after the kept layer was let go (a minute without builds): everything anew.
void BM_BuildWallpaper_3840x2160_AfterIdle(benchmark::State& state) {
  BuildWallpaperOfSize(state, {3840, 2160}, 1, false, false, true);
}
void BM_BuildWallpaper_3840x2160_AfterIdleParked(benchmark::State& state) {
  BuildWallpaperOfSize(state, {3840, 2160}, 1, false, false, true, true);
}
// Two 3840 x 2160 monitors side by side: the wallpaper is built at the virtual screen's size.
void BM_BuildWallpaper_7680x2160(benchmark::State& state) { BuildWallpaperOfSize(state, {7680, 2160}); }

// What the in-memory "decode" above costs inside each build.
void BM_CopyDecodedPicture_4000x3000(benchmark::State& state) {
  TBitmap32 picture = bench::PhotoLike(4000, 3000);
  for (auto _ : state) {
    TBitmap32 copy = picture;
    benchmark::DoNotOptimize(copy.Bits());
  }
}

}  // namespace

BENCHMARK(BM_BuildWallpaper_3840x2160)->Unit(benchmark::kMillisecond)->MinTime(2.0);
// Two threads: compare its real time with the one-thread build's.
BENCHMARK(BM_BuildWallpaper_3840x2160_Threads2)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_BuildWallpaper_3840x2160_NoteEdit)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BuildWallpaper_3840x2160_Rotation)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BuildWallpaper_3840x2160_AfterIdle)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BuildWallpaper_3840x2160_AfterIdleParked)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BuildWallpaper_7680x2160)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CopyDecodedPicture_4000x3000)->Unit(benchmark::kMillisecond);
