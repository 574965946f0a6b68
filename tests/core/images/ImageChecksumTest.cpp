#include <gtest/gtest.h>

#include <vector>

#include "PictureTestUtil.h"
#include "core/images/ImageChecksum.h"
#include "core/images/ImageFiles.h"
#include "core/render/Bands.h"

namespace ov {
namespace {


TEST(ImageChecksum, UsesTheCommonTableWithoutFinalInversion) {
  // The common CRC-32 of "123456789" is 0xCBF43926; without the final inversion it is
  // the complement.
  const char check[] = "123456789";
  EXPECT_EQ(Crc32Update(0xFFFFFFFFu, check, 9), ~0xCBF43926u);
  EXPECT_EQ(Crc32Update(0xFFFFFFFFu, check, 0), 0xFFFFFFFFu);
}

TEST(ImageChecksum, MatchesTheByteLoopAtEveryLengthAndInBands) {
  // Seeded random data, every length up to 70 and every start alignment, and buffers
  // large enough to be split into bands (joined in order) on one and on three threads.
  std::vector<unsigned char> data((size_t(5) << 20) + 77);
  uint32_t seed = 12345;
  for (auto& b : data) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<unsigned char>(seed >> 16);
  }
  for (size_t start = 0; start < 8; ++start)
    for (size_t len = 0; len <= 70; ++len)
      ASSERT_EQ(Crc32Update(0x12345678u, data.data() + start, len),
                Crc32UpdateBytewise(0x12345678u, data.data() + start, len))
          << start << "+" << len;
  for (int threads : {1, 3})
    for (size_t len : {(size_t(2) << 20) - 1, size_t(2) << 20, data.size() - 3}) {
      SetPixelThreads(threads);
      EXPECT_EQ(Crc32Update(0x12345678u, data.data() + 3, len), Crc32UpdateBytewise(0x12345678u, data.data() + 3, len))
          << threads << " threads, " << len << " bytes";
    }
  SetPixelThreads(0);
}

TEST(ImageChecksum, CoversOnlyTheFirstQuarterOfThePixelBytes) {
  // 4 x 2 pixels = 32 bytes; the checksum reads the first 8 bytes: pixels 0 and 1.
  TBitmap32 pic = test::Numbered(4, 2);
  const uint32_t crc = ImageChecksum(pic);
  EXPECT_EQ(crc, Crc32Update(0xFFFFFFFFu, pic.Bits(), 8));

  TBitmap32 tail = pic;
  tail.At(2, 0) = MakeArgb(1, 2, 3, 4);
  tail.At(3, 1) = MakeArgb(9, 9, 9, 9);
  EXPECT_EQ(ImageChecksum(tail), crc) << "bytes after the first quarter do not count";

  TBitmap32 head = pic;
  head.At(1, 0) ^= 0x01000000;  // the alpha byte of the second pixel is byte 7
  EXPECT_NE(ImageChecksum(head), crc);
}

TEST(ImageChecksum, EmptyPictureAndFileName) {
  TBitmap32 empty;
  EXPECT_EQ(ImageChecksum(empty), 0xFFFFFFFFu);
  EXPECT_EQ(ImagePropsFileName(empty), "CRC_ffffffff.ini");

  TBitmap32 one = test::Filled(1, 1, 0);  // one byte 0: crc = table[0xFF] ^ 0x00FFFFFF
  const uint32_t crc = ImageChecksum(one);
  EXPECT_EQ(crc, 0x2D02EF8Du ^ 0x00FFFFFFu);
  EXPECT_EQ(ImagePropsFileName(one), "CRC_2dfd1072.ini");
}

TEST(ImageFiles, RecognisesThePictureExtensionsInAnyCase) {
  for (const char* name : {"a.bmp", "a.JPG", "a.jpeg", "b.Png", "c.gif", "d.TIF", "d.tiff", "e.emf", "f.WMF",
                           "图片.jpg", "dir.x/a.png"})
    EXPECT_TRUE(IsImageFile(name)) << name;
  for (const char* name : {"a.txt", "a", "a.jpg.txt", "a.ico", ".bmpx", "a.tif~", "png"})
    EXPECT_FALSE(IsImageFile(name)) << name;
}

}  // namespace
}  // namespace ov
