#include <gtest/gtest.h>

#include "core/render/BmpWriter.h"
#include "support/TempDir.h"
#include "win/platform/GdiplusDecoder.h"
#include "win/platform/GdiplusEncoder.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

TEST(GdiplusEncoderTest, PngKeepsEveryPixelJpegKeepsThePicture) {
  GdiplusSession session;
  ASSERT_TRUE(session.Ok());
  test::TempDir dir;
  TBitmap32 picture(37, 21);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 37; ++x) picture.Row(y)[x] = x < 18 ? 0xFF2050C0u : 0xFFE0A020u;
  fs::path source = dir.Path() / "source.bmp";
  test::WriteFile(source, EncodeBmp(picture, BmpDepth::Bits24));

  GdiplusEncoder encoder;
  GdiplusDecoder decoder;
  TBitmap32 back;
  ASSERT_TRUE(encoder.SaveAsPng(source, dir.Path() / "copy.png"));
  ASSERT_TRUE(decoder.Decode(back, dir.Path() / "copy.png").ok);
  ASSERT_EQ(back.Width(), 37);
  ASSERT_EQ(back.Height(), 21);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(back.Row(y)[x], picture.Row(y)[x]) << x << "," << y;

  ASSERT_TRUE(encoder.SaveAsJpeg(source, dir.Path() / "copy.jpg", 75));
  EXPECT_EQ(test::ReadFile(dir.Path() / "copy.jpg").substr(0, 2), "\xFF\xD8");
  ASSERT_TRUE(decoder.Decode(back, dir.Path() / "copy.jpg").ok);
  EXPECT_EQ(back.Width(), 37);
  EXPECT_EQ(back.Height(), 21);
}

TEST(GdiplusEncoderTest, FailuresReportFalseAndLeaveNoFile) {
  GdiplusSession session;
  test::TempDir dir;
  GdiplusEncoder encoder;
  EXPECT_FALSE(encoder.SaveAsJpeg(dir.Path() / "missing.bmp", dir.Path() / "out.jpg", 75));
  EXPECT_FALSE(fs::exists(dir.Path() / "out.jpg"));
  test::WriteFile(dir.Path() / "junk.bmp", "not a picture");
  EXPECT_FALSE(encoder.SaveAsPng(dir.Path() / "junk.bmp", dir.Path() / "out.png"));
  EXPECT_FALSE(fs::exists(dir.Path() / "out.png"));
}

}  // namespace
}  // namespace ov
