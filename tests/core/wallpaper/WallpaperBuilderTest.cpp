#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>

#include "core/calendar/DateTime.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/platform/ImageDecoder.h"
#include "core/platform/LocaleNames.h"
#include "core/settings/SettingsSchema.h"
#include "core/util/Paths.h"
#include "core/wallpaper/WallpaperBuilder.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

struct BmpHeader {
  int32_t width = 0, height = 0;
  int bits = 0;
};

BmpHeader ReadBmpHeader(const std::string& bytes) {
  BmpHeader h;
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return h;
  std::memcpy(&h.width, bytes.data() + 18, 4);
  std::memcpy(&h.height, bytes.data() + 22, 4);
  uint16_t bits;
  std::memcpy(&bits, bytes.data() + 28, 2);
  h.bits = bits;
  return h;
}

// The pixel at (x, y) of a 24-bit bottom-up BMP as 0xRRGGBB.
uint32_t Pixel24(const std::string& bmp, int x, int y) {
  BmpHeader h = ReadBmpHeader(bmp);
  uint32_t offset;
  std::memcpy(&offset, bmp.data() + 10, 4);
  size_t stride = (static_cast<size_t>(h.width) * 3 + 3) & ~size_t(3);
  size_t at = offset + static_cast<size_t>(h.height - 1 - y) * stride + static_cast<size_t>(x) * 3;
  auto b = static_cast<unsigned char>(bmp[at]), g = static_cast<unsigned char>(bmp[at + 1]),
       r = static_cast<unsigned char>(bmp[at + 2]);
  return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

class WallpaperBuilderTest : public ::testing::Test {
 protected:
  WallpaperBuilderTest()
      : props_(tmp_.Path() / "ImageCRC", decoder_),
        renderer_(settings_, text_, locale_),
        clock_(EncodeDateTime(2026, 12, 8, 10, 0)) {
    fs::create_directories(tmp_.Path() / "ImageCRC");
    SettingsContext ctx;
    ctx.workArea = {0, 0, 320, 240};
    ctx.now = clock_.Now();
    settings_ = DefaultSettings(ctx);
    settings_.CalendarRect = {120, 40, 300, 220};
    settings_.RotationInterval = 2;
    settings_.RotationMode = 1;
    picture_ = WritePicture("blue.ppm", 0xFF2040A0, 200, 150);
  }

  fs::path WritePicture(const std::string& name, Pixel color, int w, int h) {
    TBitmap32 p(w, h);
    p.Clear(color);
    fs::path file = tmp_.Path() / name;
    test::WriteFile(file, EncodePpm(p));
    return file;
  }

  std::string Build(const fs::path& file, std::vector<Rect> unshown = {}, Point tileShift = {0, 0}) {
    WallpaperBuildInput in{settings_, props_, overlay_, renderer_, cells_, clock_, clock_.Now(), size_,
                           output_, host_, unshown, tileShift};
    in.kept = kept_;
    return BuildWallpaper(in, PathToUtf8(file));
  }

  test::TempDir tmp_;
  NetpbmImageDecoder decoder_;
  ImagePropsStore props_;
  Settings settings_;
  FakeTextRenderer text_;
  FakeLocaleNames locale_;
  CalendarRenderer renderer_;
  DayCellTable cells_;
  ManualClock clock_;
  fs::path output_ = tmp_.Path() / "data" / "Wallpaper.bmp";
  fs::path picture_;
  const OverlayImage* overlay_ = nullptr;
  Size size_{320, 240};
  KeptPictureLayer* kept_ = nullptr;
  std::vector<std::string> installed_;
  std::vector<std::string> events_;
  WallpaperHost host_{[this](const std::string& p) {
                        installed_.push_back(p);
                        return installOk_;
                      },
                      [this](bool on) { events_.push_back(on ? "busy" : "idle"); },
                      [this] { events_.push_back("normal priority"); }};
  bool installOk_ = true;
  // Changes of what the kept layer depends on, one after another, each built with the
  // layer kept (parked between the builds with `park`) and without it.
  void CheckKeptLayerAgainstBuildsWithout(bool park);
};

TEST_F(WallpaperBuilderTest, WritesAndInstallsTheWallpaperAtTheDesktopSize) {
  EXPECT_EQ(Build(picture_), "");
  std::string bmp = test::ReadFile(output_);
  BmpHeader h = ReadBmpHeader(bmp);
  EXPECT_EQ(h.width, 320);
  EXPECT_EQ(h.height, 240);
  EXPECT_EQ(h.bits, 24);
  ASSERT_EQ(installed_.size(), 1u);
  EXPECT_EQ(installed_[0], PathToUtf8(output_));
  EXPECT_EQ(settings_.WallpaperBackground, PathToUtf8(picture_));
  EXPECT_EQ(events_, (std::vector<std::string>{"busy", "idle"}));
  EXPECT_FALSE(cells_.Empty());
  // Far from the panel the picture shows (fit: the 4:3 picture fills 320 x 240).
  EXPECT_EQ(Pixel24(bmp, 10, 120), 0x2040A0u);
}

TEST_F(WallpaperBuilderTest, UnshownPartsShowTheDesktopColourAndTheTileIsRotatedWhileTheCellsAreNot) {
  settings_.DesktopColor = 0x00103050;  // platform form: red 0x50, blue 0x10
  ASSERT_EQ(Build(picture_), "");
  const std::vector<TDayCell> unrotated = cells_.Cells();
  // The top-left 100 x 50 is on no monitor; the file starts 50 columns into the wallpaper.
  ASSERT_EQ(Build(picture_, {{0, 0, 100, 50}}, {50, 0}), "");
  std::string bmp = test::ReadFile(output_);
  EXPECT_EQ(Pixel24(bmp, 0, 10), 0x503010u);    // wallpaper (50, 10): unshown
  EXPECT_EQ(Pixel24(bmp, 49, 49), 0x503010u);   // wallpaper (99, 49)
  EXPECT_EQ(Pixel24(bmp, 50, 10), 0x2040A0u);   // wallpaper (100, 10): the picture
  EXPECT_EQ(Pixel24(bmp, 0, 50), 0x2040A0u);    // wallpaper (50, 50)
  EXPECT_EQ(Pixel24(bmp, 280, 10), 0x503010u);  // wallpaper (10, 10), wrapped round
  ASSERT_EQ(cells_.Cells().size(), unrotated.size());
  EXPECT_EQ(cells_.Cells().front().Rect, unrotated.front().Rect);
}

TEST_F(WallpaperBuilderTest, ATranslucentPictureGivesTheSameWallpaperAsAnOpaqueOneOfItsColours) {
  // The wallpaper file has no alpha: the panel, its shadows and text must come out as
  // they do over the colours that file shows.
  TBitmap32 half(200, 150), whole(200, 150);
  half.Clear(0x80305070);
  whole.Clear(0xFF305070);
  test::WriteFile(tmp_.Path() / "half.pam", EncodePamRgba(half));
  test::WriteFile(tmp_.Path() / "whole.pam", EncodePamRgba(whole));
  ASSERT_EQ(Build(tmp_.Path() / "whole.pam"), "");
  const std::string opaque = test::ReadFile(output_);
  ASSERT_EQ(Build(tmp_.Path() / "half.pam"), "");
  const std::string translucent = test::ReadFile(output_);
  ASSERT_EQ(opaque.size(), translucent.size());
  int differing = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) differing += Pixel24(opaque, x, y) != Pixel24(translucent, x, y);
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(Pixel24(translucent, 10, 120), 0x305070u);
}

TEST_F(WallpaperBuilderTest, EveryOutputDepth) {
  const int bits[] = {4, 8, 16, 16, 24};
  for (int mode = 0; mode <= 4; ++mode) {
    settings_.OutputPixelmode = mode;
    EXPECT_EQ(Build(picture_), "");
    EXPECT_EQ(ReadBmpHeader(test::ReadFile(output_)).bits, bits[mode]) << mode;
  }
  settings_.OutputPixelmode = 9;  // not a choice: true colour
  EXPECT_EQ(Build(picture_), "");
  EXPECT_EQ(ReadBmpHeader(test::ReadFile(output_)).bits, 24);
}

TEST_F(WallpaperBuilderTest, APictureThatDoesNotLoadChangesNothing) {
  ASSERT_EQ(Build(picture_), "");
  std::string before = test::ReadFile(output_);
  Settings settingsBefore = settings_;
  installed_.clear();
  events_.clear();
  fs::path broken = tmp_.Path() / "broken.ppm";
  test::WriteFile(broken, "P6\n99999 99999\n255\nxx");
  EXPECT_EQ(Build(broken), "Problem loading image \"" + PathToUtf8(broken) + "\"");
  EXPECT_EQ(test::ReadFile(output_), before);
  EXPECT_TRUE(installed_.empty());
  EXPECT_EQ(settings_.WallpaperBackground, settingsBefore.WallpaperBackground);
  EXPECT_EQ(settings_.LastWallpaperFile, settingsBefore.LastWallpaperFile);
  EXPECT_EQ(settings_.NextRotationTime, settingsBefore.NextRotationTime);
  EXPECT_EQ(events_, (std::vector<std::string>{"busy", "normal priority", "idle"}));
  EXPECT_EQ(Build(tmp_.Path() / "missing.jpg"), "Problem loading image \"" + PathToUtf8(tmp_.Path() / "missing.jpg") + "\"");
  EXPECT_EQ(Build(""), "Problem loading image \"\"");
}

TEST_F(WallpaperBuilderTest, TheSamePictureAgainKeepsTheRotationTimeAnotherMovesIt) {
  ASSERT_EQ(Build(picture_), "");
  double first = settings_.NextRotationTime;
  EXPECT_DOUBLE_EQ(first, clock_.Now() + 2.0 / 24);
  clock_.Advance(0.5);
  ASSERT_EQ(Build(picture_), "");
  EXPECT_EQ(settings_.NextRotationTime, first);
  fs::path other = WritePicture("red.ppm", 0xFFC02020, 64, 48);
  ASSERT_EQ(Build(other), "");
  EXPECT_DOUBLE_EQ(settings_.NextRotationTime, clock_.Now() + 2.0 / 24);
  EXPECT_EQ(settings_.LastWallpaperFile, PathToUtf8(other));
}

TEST_F(WallpaperBuilderTest, InstallFailureKeepsTheBackgroundButCountsAsShown) {
  settings_.WallpaperBackground = "previous.jpg";
  installOk_ = false;
  EXPECT_EQ(Build(picture_), kInstallFailed);
  EXPECT_EQ(settings_.WallpaperBackground, "previous.jpg");
  EXPECT_EQ(settings_.LastWallpaperFile, PathToUtf8(picture_));
  EXPECT_TRUE(fs::exists(output_));
}

TEST_F(WallpaperBuilderTest, SaveFailureKeepsTheOldFileAndStillInstalls) {
  // The output's folder is a file: nothing can be written there.
  test::WriteFile(tmp_.Path() / "blocked", "x");
  output_ = tmp_.Path() / "blocked" / "Wallpaper.bmp";
  EXPECT_EQ(Build(picture_), "Problem saving wallpaper \"" + PathToUtf8(output_) + "\"");
  EXPECT_EQ(installed_.size(), 1u);
}

TEST_F(WallpaperBuilderTest, TodaysGlowFollowsTheClock) {
  // Cells wider and higher than the glow's 24 rings, so a day two cells away is dark.
  settings_.CalendarRect = {0, 0, 320, 240};
  settings_.CellShadow = false;
  auto edgeOf = [&](double day) {
    // The gap pixel just left of the day's cell: lit only while the day is today.
    const TDayCell* c = cells_.CellForDate(day);
    EXPECT_NE(c, nullptr);
    return c ? Pixel24(test::ReadFile(output_), c->Rect.left - 1, (c->Rect.top + c->Rect.bottom) / 2) : 0u;
  };
  double today = DateOf(clock_.Now());
  ASSERT_EQ(Build(picture_), "");
  uint32_t lit = edgeOf(today), dark = edgeOf(today + 2);
  EXPECT_NE(lit, dark);
  // Two days later the glow has moved with the clock.
  clock_.Advance(2);
  ASSERT_EQ(Build(picture_), "");
  EXPECT_EQ(edgeOf(today), dark);
  EXPECT_EQ(edgeOf(today + 2), lit);
}

TEST_F(WallpaperBuilderTest, TheCalendarChangesOnlyThePanelAndItsShadow) {
  settings_.CalendarVisible = false;
  ASSERT_EQ(Build(picture_), "");
  EXPECT_TRUE(cells_.Empty());
  std::string plain = test::ReadFile(output_);
  settings_.CalendarVisible = true;
  ASSERT_EQ(Build(picture_), "");
  std::string panel = test::ReadFile(output_);
  const Rect& r = settings_.CalendarRect;
  int differing = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) {
      bool differs = Pixel24(plain, x, y) != Pixel24(panel, x, y);
      // The shadow reaches CellShadowX/Y past the panel's cells; the glow 24 pixels out.
      bool nearPanel = x >= r.left - 25 && x < r.right + 25 && y >= r.top - 25 && y < r.bottom + 25;
      if (differs) {
        ++differing;
        EXPECT_TRUE(nearPanel) << x << "," << y;
      }
    }
  EXPECT_GT(differing, 1000);
  EXPECT_FALSE(cells_.Empty());
  // Every day cell lies inside the panel.
  for (const TDayCell& c : cells_.Cells()) {
    EXPECT_GE(c.Rect.left, r.left);
    EXPECT_LE(c.Rect.right, r.right);
    EXPECT_GE(c.Rect.top, r.top);
    EXPECT_LE(c.Rect.bottom, r.bottom);
  }
}

void WallpaperBuilderTest::CheckKeptLayerAgainstBuildsWithout(bool park) {
  OverlayImage overlay;
  WritePicture("frame.ppm", 0xFF808080, 40, 30);
  settings_.OverlayFilename = PathToUtf8(tmp_.Path() / "frame.ppm");
  overlay.Load(decoder_, tmp_.Path() / "frame.ppm", true, 128);
  overlay_ = &overlay;
  settings_.Overlay = true;
  const fs::path bottom = WritePicture("bottom.ppm", 0xFF10A010, 50, 50);
  std::vector<Rect> unshown;
  Point tileShift{0, 0};
  struct Case {
    const char* what;
    std::function<void()> change;
    bool reused;
  };
  const Case cases[] = {
      {"a new day", [&] { clock_.Advance(1); }, true},
      {"the panel moved", [&] { settings_.CalendarRect = {20, 20, 200, 200}; }, true},
      {"unshown parts and a tile shift", [&] { unshown = {{0, 0, 60, 40}}, tileShift = {30, 0}; }, true},
      {"the same after the shift", [&] { unshown.clear(), tileShift = {0, 0}; }, true},
      {"16-bit output", [&] { settings_.OutputPixelmode = 3; }, true},
      {"a panel of another colour", [&] { settings_.CalendarColor = 0x00405060; }, true},
      {"8-bit output", [&] { settings_.OutputPixelmode = 1; }, true},
      {"24-bit output", [&] { settings_.OutputPixelmode = 4; }, true},
      {"the panel hidden", [&] { settings_.CalendarVisible = false; }, true},
      {"the panel shown", [&] { settings_.CalendarVisible = true; }, true},
      {"the picture file rewritten",
       [&] {
         WritePicture("blue.ppm", 0xFF20A040, 200, 150);
         fs::last_write_time(picture_, fs::last_write_time(picture_) + std::chrono::hours(1));
       },
       false},
      {"the picture's properties", [&] { props_.Props(ImageSlot::Current).Contrast = 40; }, false},
      {"unsaved edits", [&] { props_.SetModified(true); }, false},
      {"desktop colour", [&] { settings_.DesktopColor = 0x00102030; }, false},
      {"picture opacity", [&] { settings_.WallpaperAlpha = 100; }, false},
      {"no background", [&] { settings_.NoBackground = true; }, false},
      {"background again", [&] { settings_.NoBackground = false; }, false},
      {"a bottom image", [&] { props_.SetBottomImage(PathToUtf8(bottom)); }, false},
      {"the overlay's alpha", [&] { overlay.SetAlpha(30); }, false},
      {"overlay off", [&] { settings_.Overlay = false; }, false},
      {"another size", [&] { size_ = {300, 200}; }, false},
  };
  const fs::path cache = tmp_.Path() / "layer.cache";
  KeptPictureLayer kept;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    kept_ = &kept;
    ASSERT_EQ(Build(picture_, unshown, tileShift), "");  // warm: the layer matches what is set
    ASSERT_TRUE(kept.Holds());
    const int reuses = kept.Reuses();
    if (park) {
      kept.Park(cache);
      ASSERT_TRUE(kept.Parked() && fs::exists(cache));
      ASSERT_FALSE(kept.Holds());
      ASSERT_EQ(kept.Bytes(), 0u);
    }
    c.change();
    ASSERT_EQ(Build(picture_, unshown, tileShift), "");
    EXPECT_EQ(kept.Reuses() - reuses, c.reused ? 1 : 0);
    const std::string keptFile = test::ReadFile(output_);
    kept_ = nullptr;
    ASSERT_EQ(Build(picture_, unshown, tileShift), "");
    EXPECT_TRUE(keptFile == test::ReadFile(output_)) << "differs from a build without the kept layer";
    EXPECT_EQ(kept.Parked(), park && c.reused) << "a parked layer composed anew is forgotten";
  }
  EXPECT_GT(kept.Bytes(), 2u * 300 * 200 * 4);
  kept.Park(cache);
  kept.Release();
  EXPECT_FALSE(kept.Holds());
  EXPECT_EQ(kept.Bytes(), 0u);
  EXPECT_FALSE(kept.Parked() || fs::exists(cache)) << "released with its cache file";
}

TEST_F(WallpaperBuilderTest, TheKeptLayerGivesTheSameFileAndIsComposedAgainWhenWhatItShowsChanged) {
  CheckKeptLayerAgainstBuildsWithout(false);
}

// Parked in its cache file, as after a minute without builds: read back instead of
// composed while nothing it shows changed, and forgotten when it is composed anew.
TEST_F(WallpaperBuilderTest, AParkedLayerGivesTheSameFileAndIsComposedAgainWhenWhatItShowsChanged) {
  CheckKeptLayerAgainstBuildsWithout(true);
}

// A cache file changed behind the program's back, cut short or gone is not taken for the
// layer: the picture is composed again and the file forgotten. A parked layer's file goes
// with the program.
TEST_F(WallpaperBuilderTest, AParkedLayerIsReadBackOnlyAsItWasWritten) {
  const fs::path cache = tmp_.Path() / "layer.cache";
  const std::function<void()> spoil[] = {
      [&] {
        std::string bytes = test::ReadFile(cache);
        bytes[bytes.size() / 2] ^= 1;
        test::WriteFile(cache, bytes);
      },
      [&] { fs::resize_file(cache, fs::file_size(cache) - 4); },
      [&] { test::WriteFile(cache, test::ReadFile(cache) + "x"); },
      [&] { fs::remove(cache); },
  };
  for (size_t i = 0; i < std::size(spoil); ++i) {
    SCOPED_TRACE(i);
    KeptPictureLayer kept;
    kept_ = &kept;
    ASSERT_EQ(Build(picture_), "");
    kept.Park(cache);
    spoil[i]();
    clock_.Advance(1);
    ASSERT_EQ(Build(picture_), "");
    EXPECT_EQ(kept.Reuses(), 0);
    EXPECT_FALSE(kept.Parked() || fs::exists(cache));
    EXPECT_TRUE(kept.Holds());
    kept_ = nullptr;
    const std::string composed = test::ReadFile(output_);
    ASSERT_EQ(Build(picture_), "");
    EXPECT_TRUE(composed == test::ReadFile(output_));
  }
  {
    KeptPictureLayer kept;
    kept_ = &kept;
    ASSERT_EQ(Build(picture_), "");
    kept.Park(cache);
    ASSERT_TRUE(fs::exists(cache));
  }
  EXPECT_FALSE(fs::exists(cache)) << "the cache file outlived its layer";
}

TEST_F(WallpaperBuilderTest, OverTheFileItLeftAKeptBuildWritesOnlyWhatChangedElseTheWholeFile) {
  KeptPictureLayer kept;
  kept_ = &kept;
  ASSERT_EQ(Build(picture_), "");
  // A mark far from the panel, with the file's time put back: the file still looks as the
  // build left it, so the next build writes only the panel's changes and the mark stays.
  std::string file = test::ReadFile(output_);
  const uint32_t plain = Pixel24(file, 5, 235);
  const auto time = fs::last_write_time(output_);
  file[static_cast<unsigned char>(file[10]) + 4 * 3 * 320 + 5 * 3] ^= 0x40;  // blue of (5, 235), four rows up
  test::WriteFile(output_, file);
  fs::last_write_time(output_, time);
  clock_.Advance(1);
  ASSERT_EQ(Build(picture_), "");
  EXPECT_NE(Pixel24(test::ReadFile(output_), 5, 235), plain) << "the whole file was written";

  // A full build (another desktop colour recomposes the layer) writes the file in place:
  // a second name of the file sees the new build.
  const fs::path alias = output_.parent_path() / "alias.bmp";
  fs::create_hard_link(output_, alias);
  settings_.DesktopColor = 0x00336699;
  clock_.Advance(1);
  ASSERT_EQ(Build(picture_), "");
  EXPECT_TRUE(fs::equivalent(alias, output_)) << "the whole file was replaced, not written in place";
  EXPECT_TRUE(test::ReadFile(alias) == test::ReadFile(output_));
  fs::remove(alias);

  // Someone else's file of the same length in its place: written whole. One of another
  // length is replaced.
  test::WriteFile(output_, std::string(file.size(), 'x'));
  clock_.Advance(1);
  ASSERT_EQ(Build(picture_), "");
  const std::string kept2 = test::ReadFile(output_);
  test::WriteFile(output_, "BM");
  kept_ = nullptr;
  ASSERT_EQ(Build(picture_), "");
  EXPECT_TRUE(kept2 == test::ReadFile(output_)) << "differs from a build without the kept layer";
  EXPECT_EQ(Pixel24(kept2, 5, 235), plain);
}

}  // namespace
}  // namespace ov
