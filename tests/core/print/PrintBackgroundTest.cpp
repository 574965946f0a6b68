#include <gtest/gtest.h>

#include <fstream>

#include "core/calendar/DateTime.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/platform/ImageDecoder.h"
#include "core/print/PrintBackground.h"
#include "core/print/PrintPage.h"
#include "support/TempDir.h"

namespace ov {
namespace {

TEST(PrintBackgroundTest, PictureOrWhitePaperAndOverlayPutBack) {
  NetpbmImageDecoder decoder;
  ImagePropsStore props("/nonexistent", decoder);
  constexpr Pixel kPicture = 0xFF204060;
  props.ShownPicture() = TBitmap32(16, 9);
  props.ShownPicture().Clear(kPicture);
  for (bool background : {true, false}) {
    Settings s;
    s.DesktopColor = 0x00336699;
    s.Overlay = true;
    s.CheckPrintOverlay = false;
    s.CheckPrintIncludeBackground = background;
    TBitmap32 page(144, 198);
    page.Clear(0x12345678);
    ComposePrintBackground(page, s, props, nullptr);
    // Fitted to the width and centred: the middle shows the picture, the top the desktop.
    EXPECT_EQ(page.At(72, 99), background ? kPicture : kPrintPaperWhite);
    EXPECT_EQ(page.At(72, 0), background ? Pixel(0xFF996633) : kPrintPaperWhite);
    EXPECT_TRUE(s.Overlay);
  }
}

TEST(PrintBackgroundTest, WholePageOfASixRowMonth) {
  NetpbmImageDecoder decoder;
  ImagePropsStore props("/nonexistent", decoder);
  Settings s;
  s.StartOfWeek = 0;  // Monday first: 1 June 2025, a Sunday, needs six rows
  s.PrintZoomFactor = 10;
  s.CheckPrintIncludeBackground = false;
  FakeTextRenderer text;
  FakeLocaleNames locale;
  CalendarRenderer renderer(s, text, locale);
  int32_t rows = 0;
  const double june14 = EncodeDate(2025, 6, 14);
  TBitmap32 page = RenderPrintPage(s, renderer, props, nullptr, Size{4800, 6600}, june14, june14, &rows);
  ASSERT_EQ(page.Width(), 480);
  ASSERT_EQ(page.Height(), 660);
  EXPECT_EQ(rows, 6);
  EXPECT_EQ(renderer.Layout().panel, (Rect{20, 20, 460, 640}));
  EXPECT_EQ(page.At(10, 10), kPrintPaperWhite);  // the margin stays paper
  EXPECT_NE(page.At(240, 30), kPrintPaperWhite);  // the title
}

TEST(PrintBackgroundTest, SavePrintImageRetriesOnceAndReports) {
  struct Case {
    bool tempFile;
    std::vector<bool> writes;  // the write results, in order
    int calls, waits;
    bool saved;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {true, {true}, 1, 0, true, {}},
      {true, {false, true}, 2, 1, true, {}},
      {true, {false, false}, 2, 1, false, {kPrintSaveFailedMessage}},
      {false, {}, 0, 1, false, {kNoTempFileMessage, kPrintSaveFailedMessage}},
  };
  TBitmap32 page(3, 2);
  page.Clear(kPrintPaperWhite);
  for (const Case& c : cases) {
    int calls = 0, waits = 0;
    std::string written;
    PrintImageSave r = SavePrintImage(
        page, {}, [&]() -> std::optional<std::filesystem::path> {
          if (!c.tempFile) return std::nullopt;
          return std::filesystem::path("OV31.tmp");
        },
        [&](const std::filesystem::path&, const std::string& bytes) {
          written = bytes;
          return c.writes[calls++];
        },
        [&](int ms) {
          EXPECT_EQ(ms, 1000);
          ++waits;
        });
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(waits, c.waits);
    EXPECT_EQ(r.file, c.saved ? std::filesystem::path("OV31.tmp") : std::filesystem::path());
    EXPECT_EQ(r.messages, c.messages);
    if (c.calls > 0) {
      EXPECT_EQ(written.substr(0, 2), "BM");  // a bitmap file
    }
  }
}

TEST(PrintBackgroundTest, SavePrintImageReplacesThePreviousFile) {
  test::TempDir tmp;
  const std::filesystem::path& dir = tmp.Path();
  const std::filesystem::path old = dir / "OV3A.tmp";
  { std::ofstream(old) << "old"; }
  TBitmap32 page(2, 2);
  page.Clear(kPrintPaperWhite);
  PrintImageSave r = SavePrintImage(
      page, old, [&] { return std::optional<std::filesystem::path>(dir / "OV3B.tmp"); },
      [](const std::filesystem::path& p, const std::string& bytes) { return bool(std::ofstream(p) << bytes); },
      [](int) {});
  EXPECT_FALSE(std::filesystem::exists(old));
  EXPECT_EQ(r.file, dir / "OV3B.tmp");
  EXPECT_GT(std::filesystem::file_size(r.file), 54u);
}

}  // namespace
}  // namespace ov
