#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/calendar/DateTime.h"
#include "core/config/PreviewContent.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/platform/ImageDecoder.h"
#include "support/TempDir.h"

namespace ov {
namespace {

TBitmap32 Gradient(int32_t w, int32_t h, uint32_t seed) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      b.At(x, y) = MakeArgb(255, (x * 7 + seed) & 0xFF, (y * 5 + seed * 3) & 0xFF, ((x + y) * 3) & 0xFF);
  return b;
}

class PreviewContentTest : public ::testing::Test {
 protected:
  PreviewContentTest() : props_("/nonexistent", decoder_), renderer_(settings_, text_, locale_) {
    settings_.CalendarRect = {300, 40, 620, 460};
    props_.ShownPicture() = Gradient(160, 90, 1);
  }
  PreviewInput Input(bool calendar) {
    PreviewInput in{settings_, props_, nullptr, renderer_, {640, 480}};
    in.now = EncodeDate(2025, 6, 14);
    in.showCalendar = calendar;
    in.taskbars = {{0, 460, 640, 480}};
    return in;
  }

  Settings settings_;
  NetpbmImageDecoder decoder_;
  ImagePropsStore props_;
  FakeTextRenderer text_;
  FakeLocaleNames locale_;
  CalendarRenderer renderer_;
};

// Each edit is redrawn with and without the cache; both pictures must be the same, and
// only edits of the colour adjustments may reuse the placed picture.
TEST_F(PreviewContentTest, CachedRedrawsMatchUncachedOnes) {
  struct Edit {
    const char* what;
    std::function<void()> apply;
    bool reuses;
  };
  TImageProps& p = props_.Props(ImageSlot::Current);
  const std::vector<Edit> edits = {
      {"first draw", [] {}, false},
      {"contrast", [&] { p.Contrast = 40; }, true},
      {"gamma and grayscale", [&] { p.Gamma = -2.5, p.GrayScale = true; }, true},
      {"zoom", [&] { p.Fit = false, p.Zoom = 250; }, false},
      {"offset", [&] { p.OffsetX = -30; }, false},
      {"flip", [&] { p.FlipHorz = true; }, false},
      {"wallpaper transparency", [&] { settings_.WallpaperAlpha = 128; }, false},
      {"desktop colour", [&] { settings_.DesktopColor = 0x00336699; }, false},
      {"no background", [&] { settings_.NoBackground = true; }, false},
      {"brightness without background", [&] { p.Brightness = 30; }, true},
      {"another picture", [&] { settings_.NoBackground = false, props_.ShownPicture() = Gradient(160, 90, 9); }, false},
      {"red", [&] { p.Red = -50; }, true},
  };
  PreviewCache cache;
  TBitmap32 cached(320, 240), plain(320, 240);
  for (PreviewQuality q : {PreviewQuality::Quick, PreviewQuality::Full}) {
    cache.Clear();
    props_.Props(ImageSlot::Current) = TImageProps{};
    settings_ = Settings{};
    settings_.CalendarRect = {300, 40, 620, 460};
    props_.ShownPicture() = Gradient(160, 90, 1);
    for (const Edit& e : edits) {
      e.apply();
      int hits = cache.Hits();
      PreviewInput in = Input(true);
      ComposePreview(cached, in, q, true, &cache);
      ComposePreview(plain, in, q, true, nullptr);
      EXPECT_EQ(cache.Hits() - hits, e.reuses ? 1 : 0) << e.what;
      ASSERT_TRUE(std::equal(cached.Bits(), cached.Bits() + 320 * 240, plain.Bits())) << e.what;
    }
  }
}

// A retouched copy of the shown picture: same size, and the same pixels wherever the
// fingerprint looks, but every other pixel changed. Choosing it must show it.
TEST_F(PreviewContentTest, ALoadedPictureIsDrawnAfreshEvenWhenItLooksTheSame) {
  test::TempDir tmp;
  const TBitmap32 original = Gradient(160, 90, 1);
  TBitmap32 retouched = original;
  const size_t count = 160 * 90;
  std::vector<bool> sampled(count, false);
  for (size_t i = 0; i <= 256; ++i) sampled[(count - 1) * i / 256] = true;
  for (size_t i = 0; i < count; ++i)
    if (!sampled[i]) retouched.Bits()[i] ^= 0x00FFFFFFu;
  test::WriteFile(tmp.Path() / "a.ppm", EncodePpm(original));
  test::WriteFile(tmp.Path() / "b.ppm", EncodePpm(retouched));

  PreviewCache cache;
  TBitmap32 cached(320, 240), plain(320, 240);
  for (PreviewQuality q : {PreviewQuality::Quick, PreviewQuality::Full}) {
    for (const char* name : {"a.ppm", "b.ppm"}) {
      ASSERT_TRUE(props_.LoadImageWithProperties(props_.ShownPicture(), tmp.Path() / name, ImageSlot::Current).ok);
      PreviewInput in = Input(false);
      ComposePreview(cached, in, q, true, &cache);
      ComposePreview(plain, in, q, true, nullptr);
      ASSERT_TRUE(std::equal(cached.Bits(), cached.Bits() + 320 * 240, plain.Bits())) << name;
    }
  }
}

TEST_F(PreviewContentTest, ImageTabShowsThePictureDespiteNoBackgroundAndRestoresTheSetting) {
  settings_.NoBackground = true;
  settings_.PreviewTaskBar = false;
  TBitmap32 onImageTab(320, 240), elsewhere(320, 240);
  PreviewInput in = Input(false);
  in.keepPicture = true;
  ComposePreview(onImageTab, in, PreviewQuality::Full, true);
  EXPECT_TRUE(settings_.NoBackground);
  in.keepPicture = false;
  ComposePreview(elsewhere, in, PreviewQuality::Full, true);
  // The middle shows the picture on the image tab and the plain desktop colour elsewhere.
  EXPECT_NE(onImageTab.At(160, 120), elsewhere.At(160, 120));
  EXPECT_EQ(elsewhere.At(160, 120), 0xFF000000u | ToArgb(static_cast<uint32_t>(settings_.DesktopColor)));
}

}  // namespace
}  // namespace ov
