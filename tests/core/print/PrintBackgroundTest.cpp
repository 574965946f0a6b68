#include <gtest/gtest.h>

#include "core/calendar/DateTime.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/platform/ImageDecoder.h"
#include "core/print/PrintBackground.h"
#include "core/print/PrintPage.h"

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

}  // namespace
}  // namespace ov
