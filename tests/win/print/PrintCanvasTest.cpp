#include <gtest/gtest.h>
#include <windows.h>

#include "core/render/BmpWriter.h"
#include "support/TempDir.h"
#include "win/platform/DibSection.h"
#include "win/platform/GdiplusDecoder.h"
#include "win/print/PrinterDevice.h"

namespace ov {
namespace {

// The page image file goes to the printer's canvas: read back as a 24-bit bitmap and
// stretched into a rectangle, upright, in its own colours, nothing drawn outside.
TEST(PrintCanvasTest, PageImageFileStretchedIntoRect) {
  GdiplusSession session;
  ASSERT_TRUE(session.Ok());
  test::TempDir dir;
  // 4 x 3 pixels, each its own colour; translucent alpha must not reach the paper.
  TBitmap32 page(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) page.At(x, y) = 0x80000000u | (uint32_t(x * 60) << 16) | (uint32_t(y * 100) << 8) | 0x33;
  const std::filesystem::path file = dir.Path() / "OV3A.tmp";
  test::WriteFile(file, EncodeBmp(page, BmpDepth::Bits24));

  GdiplusDecoder decoder;
  const std::optional<Dib24> dib = Dib24::Load(decoder, file);
  ASSERT_TRUE(dib);
  EXPECT_EQ(dib->Width(), 4);
  EXPECT_EQ(dib->Height(), 3);
  EXPECT_EQ(dib->Info()->bmiHeader.biBitCount, 24);

  // A 12 x 10 canvas, the page stretched twice over into (2, 2)-(10, 8).
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP canvas = CreateTopDownDib32(dc, 12, 10, &bits);
  ASSERT_TRUE(canvas && bits);
  HGDIOBJ old = SelectObject(dc, canvas);
  auto* px = static_cast<uint32_t*>(bits);
  std::fill(px, px + 12 * 10, 0x00ABCDEFu);
  ASSERT_TRUE(StretchBitmapToCanvas(*dib, dc, RECT{2, 2, 10, 8}));
  GdiFlush();
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 2 && x < 10 && y >= 2 && y < 8;
      const uint32_t expected = inside ? page.At((x - 2) / 2, (y - 2) / 2) & 0xFFFFFFu : 0xABCDEFu;
      EXPECT_EQ(px[y * 12 + x] & 0xFFFFFFu, expected) << x << "," << y;
    }
  }
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);

  // Nothing to print: no file, or a file that is no picture.
  EXPECT_FALSE(Dib24::Load(decoder, dir.Path() / "missing.tmp"));
  test::WriteFile(dir.Path() / "OV3B.tmp", "");
  EXPECT_FALSE(Dib24::Load(decoder, dir.Path() / "OV3B.tmp"));
}

}  // namespace
}  // namespace ov
