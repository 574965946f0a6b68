#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>

#include "core/calendar/DateTime.h"
#include "core/library/RotationQueue.h"
#include "core/library/RotationTime.h"
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

// A library of small pictures in a temporary folder, and a queue file beside them.
class RotationTest : public ::testing::Test {
 protected:
  std::vector<TImageItem> MakeLibrary(int count) {
    std::vector<TImageItem> library;
    TBitmap32 p(8, 6);
    for (int i = 0; i < count; ++i) {
      p.Clear(0xFF000000u | static_cast<Pixel>(i * 0x101010));
      fs::path file = tmp_.Path() / ("picture" + std::to_string(i) + ".ppm");
      test::WriteFile(file, EncodePpm(p));
      library.push_back({file.filename().string(), PathToUtf8(file), 0, 0, 0});
    }
    return library;
  }

  test::TempDir tmp_;
  StdRandom random_{12345};
  Latin1CodePage codePage_;
  fs::path queueFile_ = tmp_.Path() / "Rotation.txt";
  std::vector<std::string> queue_;
};

TEST_F(RotationTest, EveryPictureOnceBeforeANewShuffle) {
  std::vector<TImageItem> library = MakeLibrary(10);
  std::set<std::string> shown;
  for (int i = 0; i < 10; ++i) shown.insert(PickNextImage(queue_, library, random_));
  EXPECT_EQ(shown.size(), 10u);
  EXPECT_EQ(shown.count(""), 0u);
  EXPECT_TRUE(queue_.empty());
  std::string eleventh = PickNextImage(queue_, library, random_);
  EXPECT_EQ(shown.count(eleventh), 1u);
  EXPECT_EQ(queue_.size(), 9u);  // the new shuffle, less the one just shown
  EXPECT_EQ(std::set<std::string>(queue_.begin(), queue_.end()).count(eleventh), 0u);
}

TEST_F(RotationTest, ARestartContinuesWithTheQueueFromTheFile) {
  std::vector<TImageItem> library = MakeLibrary(6);
  PickNextImage(queue_, library, random_);
  PickNextImage(queue_, library, random_);
  ASSERT_TRUE(WriteRotationFile(queueFile_, queue_, codePage_));
  std::string bytes = test::ReadFile(queueFile_);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");  // the last line ends too

  std::vector<std::string> restarted = ReadRotationFile(queueFile_, codePage_);
  EXPECT_EQ(restarted, queue_);
  std::string head = restarted.front();
  EXPECT_EQ(PickNextImage(restarted, library, random_), head);
  EXPECT_EQ(restarted.size(), 3u);
  EXPECT_TRUE(ReadRotationFile(tmp_.Path() / "none.txt", codePage_).empty());
}

TEST_F(RotationTest, DeletedFilesAreSkippedAndAnEmptyQueueRefills) {
  std::vector<TImageItem> library = MakeLibrary(3);
  queue_ = {PathToUtf8(tmp_.Path() / "gone1.jpg"), PathToUtf8(tmp_.Path() / "gone2.jpg")};
  EXPECT_EQ(PickNextImage(queue_, library, random_), "");
  EXPECT_TRUE(queue_.empty());
  EXPECT_NE(PickNextImage(queue_, library, random_), "");
  EXPECT_EQ(queue_.size(), 2u);
  // A deleted file in the middle is passed over for the next one.
  queue_ = {PathToUtf8(tmp_.Path() / "gone.jpg"), library[2].FileName, library[0].FileName};
  EXPECT_EQ(PickNextImage(queue_, library, random_), library[2].FileName);
  EXPECT_EQ(queue_, std::vector<std::string>{library[0].FileName});
  // Nothing in the library: nothing to show, every time.
  queue_.clear();
  EXPECT_EQ(PickNextImage(queue_, {}, random_), "");
}

TEST_F(RotationTest, TheQueueFileKeepsPathsTheCodePageCannotHold) {
  struct Case {
    std::vector<std::string> queue;
    bool utf8;
  };
  const Case cases[] = {
      {{"C:\\Pics\\a.jpg", "C:\\Pics\\caf\xC3\xA9.png"}, false},  // é is in Windows-1252
      {{"C:\\Pics\\a.jpg", "C:\\图片\\海.png"}, true},
      {{}, false},
      // Its ANSI form would begin with the bytes of the byte-order mark.
      {{"\xC3\xAF\xC2\xBB\xC2\xBF.jpg", "b.jpg"}, true},
  };
  for (const Case& c : cases) {
    std::string bytes = FormatRotationFile(c.queue, codePage_);
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF", 0) == 0, c.utf8) << bytes;
    EXPECT_EQ(ParseRotationFile(bytes, codePage_), c.queue) << bytes;
  }
  EXPECT_EQ(FormatRotationFile({"C:\\caf\xC3\xA9.png"}, codePage_), "C:\\caf\xE9.png\r\n");
  // Written by hand: LF only, blank lines.
  EXPECT_EQ(ParseRotationFile("a.jpg\n\nb.jpg", codePage_), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

// Counts how often each item lands in each position over many shuffles of three.
template <typename ShuffleFn>
double WorstPositionDeviation(ShuffleFn shuffle) {
  constexpr int kRounds = 30000;
  std::array<std::array<int, 3>, 3> counts{};
  for (int r = 0; r < kRounds; ++r) {
    std::vector<std::string> items = {"0", "1", "2"};
    shuffle(items);
    for (int pos = 0; pos < 3; ++pos) ++counts[static_cast<size_t>(items[pos][0] - '0')][pos];
  }
  double worst = 0;
  for (auto& row : counts)
    for (int n : row) worst = std::max(worst, std::abs(n / double(kRounds) - 1.0 / 3));
  return worst;
}

TEST_F(RotationTest, TheShuffleIsUniform) {
  // One standard deviation of a cell is about 0.003 here; the exchange with any position
  // of the whole range is off by 1/27 (0.037) in some cells.
  constexpr double kBound = 0.015;
  StdRandom random(7);
  EXPECT_LT(WorstPositionDeviation([&](std::vector<std::string>& v) { Shuffle(v, random); }), kBound);
  StdRandom biasedRandom(7);
  EXPECT_GT(WorstPositionDeviation([&](std::vector<std::string>& v) {
              for (size_t i = 0; i < v.size(); ++i) std::swap(v[i], v[biasedRandom.Below(v.size())]);
            }),
            kBound);
}

TEST_F(RotationTest, EditingTheIntervalStartsItAgainFromNow) {
  Settings s;
  const double now = EncodeDateTime(2026, 12, 8, 10, 0);
  s.RotationMode = 1;
  s.RotationInterval = 2;
  s.NextRotationTime = NextRotation(now - 1.0 / 24, 2, 1);
  RotationIntervalEdited(s, 3, now);
  EXPECT_EQ(s.RotationInterval, 3);
  EXPECT_DOUBLE_EQ(s.NextRotationTime, now + 3.0 / 24);
  RotationIntervalEdited(s, 0, now);  // held to the spin's range
  EXPECT_DOUBLE_EQ(s.NextRotationTime, now + 1.0 / 24);
  s.RotationMode = -1;  // no unit chosen: due at once
  RotationIntervalEdited(s, 5, now);
  EXPECT_EQ(s.NextRotationTime, 0);
  EXPECT_EQ(NextRotationLabel("2026/12/8", "10:00:00"), "下一次更改: \r2026/12/8 10:00:00");
}

// Rotation through the real wallpaper build: a picture that does not load leaves the
// wallpaper and the schedule alone; the next one is installed and moves the schedule.
class RotateBuildTest : public RotationTest, public RotationHost {
 protected:
  RotateBuildTest()
      : props_(tmp_.Path() / "ImageCRC", decoder_), renderer_(settings_, text_, locale_), clock_(46000.5) {
    fs::create_directories(tmp_.Path() / "ImageCRC");
    SettingsContext ctx;
    ctx.workArea = {0, 0, 160, 120};
    ctx.now = clock_.Now();
    settings_ = DefaultSettings(ctx);
    settings_.RotationInterval = 2;
    settings_.RotationMode = 1;
  }
  fs::path SaveShownImageProps() override {
    calls_.push_back("save props");
    return tmp_.Path() / "ImageCRC" / "CRC_shown.ini";
  }
  void BuildWallpaper(const std::string& file) override {
    WallpaperHost host{[](const std::string&) { return true; }, [](bool) {}, [] {}};
    WallpaperBuildInput in{settings_, props_, nullptr, renderer_, cells_, clock_, clock_.Now(), {160, 120},
                           tmp_.Path() / "Wallpaper.bmp", host};
    in.rotation = true;  // as the program's rotation builds
    ov::BuildWallpaper(in, file);
    calls_.push_back("build " + fs::path(PathFromUtf8(file)).filename().string());
  }
  void RestoreShownImageProps(const fs::path& file) override {
    calls_.push_back("restore " + file.filename().string());
  }
  void UpdatePreview() override { calls_.push_back("preview"); }

  NetpbmImageDecoder decoder_;
  ImagePropsStore props_;
  Settings settings_;
  FakeTextRenderer text_;
  FakeLocaleNames locale_;
  CalendarRenderer renderer_;
  DayCellTable cells_;
  ManualClock clock_;
  std::vector<std::string> calls_;
};

TEST_F(RotateBuildTest, APictureThatDoesNotLoadKeepsTheSchedule) {
  std::vector<TImageItem> library = MakeLibrary(2);
  fs::path broken = tmp_.Path() / "broken.ppm";
  test::WriteFile(broken, "P6\n4 4\n255\nxx");
  settings_.NextRotationTime = clock_.Now() - 0.01;
  const double before = settings_.NextRotationTime;
  queue_ = {PathToUtf8(broken), library[1].FileName};

  EXPECT_EQ(Rotate(queue_, library, random_, queueFile_, codePage_, *this), PathToUtf8(broken));
  EXPECT_EQ(settings_.NextRotationTime, before);
  EXPECT_EQ(ReadRotationFile(queueFile_, codePage_), std::vector<std::string>{library[1].FileName});

  EXPECT_EQ(Rotate(queue_, library, random_, queueFile_, codePage_, *this), library[1].FileName);
  EXPECT_DOUBLE_EQ(settings_.NextRotationTime, clock_.Now() + 2.0 / 24);
  EXPECT_EQ(settings_.WallpaperBackground, library[1].FileName);
  EXPECT_EQ(calls_, (std::vector<std::string>{"save props", "build broken.ppm", "restore CRC_shown.ini", "preview",
                                              "save props", "build picture1.ppm", "restore CRC_shown.ini",
                                              "preview"}));
  EXPECT_TRUE(ReadRotationFile(queueFile_, codePage_).empty());
}

TEST_F(RotateBuildTest, ALibraryOfOneSchedulesEveryRotation) {
  std::vector<TImageItem> library = MakeLibrary(1);
  settings_.NextRotationTime = clock_.Now() - 0.01;
  for (int i = 0; i < 2; ++i) {  // the first shows the picture, the second shows it again
    clock_.Advance(1.0 / 24);
    EXPECT_EQ(Rotate(queue_, library, random_, queueFile_, codePage_, *this), library[0].FileName);
    EXPECT_DOUBLE_EQ(settings_.NextRotationTime, clock_.Now() + 2.0 / 24) << "rotation " << i;
  }
}

TEST_F(RotateBuildTest, NothingToShowDoesNothing) {
  EXPECT_EQ(Rotate(queue_, {}, random_, queueFile_, codePage_, *this), "");
  EXPECT_TRUE(calls_.empty());
}

}  // namespace
}  // namespace ov
