#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ov
