#include <gtest/gtest.h>

#include "PictureTestUtil.h"
#include "core/images/ImageHeader.h"
#include "core/images/Orientation.h"
#include "core/platform/ImageDecoder.h"

namespace ov {
namespace {

std::string Be16(uint32_t v) { return {char(v >> 8), char(v & 0xFF)}; }
std::string Be32(uint32_t v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }
std::string Le16(uint32_t v) { return {char(v & 0xFF), char(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

std::string PngHeader(uint32_t w, uint32_t h) {
  return std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(w) + Be32(h) + std::string("\x08\x06\0\0\0", 5);
}

// A TIFF structure with one IFD holding the given SHORT tags.
std::string Tiff(bool bigEndian, std::initializer_list<std::pair<uint16_t, uint16_t>> tags) {
  auto u16 = bigEndian ? Be16 : Le16;
  auto u32 = bigEndian ? Be32 : Le32;
  std::string t = std::string(bigEndian ? "MM" : "II") + u16(42) + u32(8) + u16(static_cast<uint32_t>(tags.size()));
  for (auto [tag, value] : tags) t += u16(tag) + u16(3) + u32(1) + u16(value) + u16(0);
  return t + u32(0);
}

std::string Segment(uint8_t marker, const std::string& body) {
  return std::string{char(0xFF), char(marker)} + Be16(static_cast<uint32_t>(body.size() + 2)) + body;
}

std::string Jpeg(uint32_t w, uint32_t h, const std::string& exif) {
  std::string j("\xFF\xD8", 2);
  if (!exif.empty()) j += Segment(0xE1, std::string("Exif\0\0", 6) + exif);
  j += Segment(0xE0, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
  j += Segment(0xDB, std::string(65, '\1'));
  j += Segment(0xC2, std::string("\x08", 1) + Be16(h) + Be16(w) + std::string("\x03\x01\x22\0\x02\x11\x01\x03\x11\x01", 10));
  j += Segment(0xDA, std::string(12, '\0')) + std::string(50, '\x55');
  return j;
}

TEST(ImageHeader, ReadsTheSizeOfEveryRasterFormat) {
  ImageHeaderInfo png = ReadImageHeader(PngHeader(30000, 30000));
  EXPECT_EQ(png.format, ImageFormat::Png);
  EXPECT_EQ(png.width, 30000);
  EXPECT_EQ(png.height, 30000);
  EXPECT_FALSE(ImageSizeAcceptable(png.width, png.height));

  ImageHeaderInfo gif = ReadImageHeader(std::string("GIF89a") + Le16(640) + Le16(480) + std::string(10, '\0'));
  EXPECT_EQ(gif.format, ImageFormat::Gif);
  EXPECT_EQ(gif.width, 640);
  EXPECT_EQ(gif.height, 480);

  std::string bmp = "BM" + Le32(0) + Le32(0) + Le32(54) + Le32(40) + Le32(1920) + Le32(static_cast<uint32_t>(-1080));
  ImageHeaderInfo b = ReadImageHeader(bmp);
  EXPECT_EQ(b.format, ImageFormat::Bmp);
  EXPECT_EQ(b.width, 1920);
  EXPECT_EQ(b.height, 1080) << "top-down rows";
  ImageHeaderInfo core = ReadImageHeader("BM" + Le32(0) + Le32(0) + Le32(26) + Le32(12) + Le16(7) + Le16(9));
  EXPECT_EQ(core.width, 7);
  EXPECT_EQ(core.height, 9);

  ImageHeaderInfo tiff = ReadImageHeader(Tiff(true, {{256, 4000}, {257, 3000}, {0x0112, 6}}));
  EXPECT_EQ(tiff.format, ImageFormat::Tiff);
  EXPECT_EQ(tiff.width, 4000);
  EXPECT_EQ(tiff.height, 3000);
  EXPECT_EQ(tiff.orientation, 1) << "only JPEG photos are turned";

  ImageHeaderInfo jpg = ReadImageHeader(Jpeg(4032, 3024, ""));
  EXPECT_EQ(jpg.format, ImageFormat::Jpeg);
  EXPECT_EQ(jpg.width, 4032);
  EXPECT_EQ(jpg.height, 3024);
  EXPECT_EQ(jpg.orientation, 1);
}

TEST(ImageHeader, ReadsTheExifOrientationInBothByteOrders) {
  for (bool be : {false, true})
    for (uint16_t o = 1; o <= 8; ++o) {
      ImageHeaderInfo i = ReadImageHeader(Jpeg(10, 20, Tiff(be, {{0x010F, 1}, {0x0112, o}})));
      EXPECT_EQ(i.orientation, o) << be;
      EXPECT_EQ(i.width, 10);
    }
  EXPECT_EQ(ReadImageHeader(Jpeg(10, 20, Tiff(false, {{0x0112, 9}}))).orientation, 1);
  EXPECT_EQ(ReadImageHeader(Jpeg(10, 20, Tiff(false, {{0x0112, 0}}))).orientation, 1);
}

TEST(ImageHeader, TruncatedOrCorruptHeadersNeverReadPastTheEnd) {
  const std::string full = Jpeg(300, 200, Tiff(false, {{0x0112, 6}}));
  for (size_t n = 0; n <= full.size(); ++n) {
    ImageHeaderInfo i = ReadImageHeader(std::string_view(full).substr(0, n));
    if (i.SizeKnown()) {
      EXPECT_EQ(i.width, 300);
      EXPECT_EQ(i.height, 200);
    }
  }
  // A segment length running past the end, an IFD count far too large, an IFD offset
  // outside the block.
  EXPECT_FALSE(ReadImageHeader(std::string("\xFF\xD8\xFF\xC0\xFF\xFF\x08", 7)).SizeKnown());
  std::string bigCount = "II" + Le16(42) + Le32(8) + Le16(60000);
  EXPECT_EQ(ReadImageHeader(Jpeg(1, 1, bigCount)).orientation, 1);
  EXPECT_EQ(ReadImageHeader(Jpeg(1, 1, "II" + Le16(42) + Le32(0xFFFFFFF0u))).orientation, 1);
  EXPECT_EQ(ReadImageHeader("hello").format, ImageFormat::Unknown);
  EXPECT_EQ(ReadImageHeader("").format, ImageFormat::Unknown);
  EXPECT_FALSE(ReadImageHeader(std::string("\x89PNG\r\n\x1a\n", 8)).SizeKnown());
}

TEST(ImageHeader, RecognisesMetafiles) {
  std::string emf = Le32(1) + Le32(108) + std::string(32, '\0') + " EMF" + std::string(60, '\0');
  EXPECT_EQ(ReadImageHeader(emf).format, ImageFormat::Emf);
  EXPECT_FALSE(ReadImageHeader(emf).SizeKnown());
  EXPECT_EQ(ReadImageHeader(Le32(0x9AC6CDD7u) + std::string(18, '\0')).format, ImageFormat::Wmf);
  EXPECT_EQ(ReadImageHeader(Le16(1) + Le16(9) + Le16(0x300) + std::string(12, '\0')).format, ImageFormat::Wmf);
}

// 3 x 2 picture whose pixels are numbered a..f:   a b c
//                                                 d e f
TBitmap32 Letters() {
  TBitmap32 p(3, 2);
  for (int32_t i = 0; i < 6; ++i) p.At(i % 3, i / 3) = 0xFF000000u | static_cast<uint32_t>('a' + i);
  return p;
}

std::string Rows(const TBitmap32& p) {
  std::string s;
  for (int32_t y = 0; y < p.Height(); ++y) {
    if (y) s += '/';
    for (int32_t x = 0; x < p.Width(); ++x) s += static_cast<char>(p.At(x, y) & 0xFF);
  }
  return s;
}

TEST(Orientation, TurnsEachExifCodeUpright) {
  const char* expected[] = {"abc/def", "abc/def", "cba/fed", "fed/cba", "def/abc",
                            "ad/be/cf", "da/eb/fc", "fc/eb/da", "cf/be/ad"};
  for (int o = 0; o <= 8; ++o) {
    TBitmap32 p = Letters();
    p.MasterAlpha = 77;
    ApplyExifOrientation(p, o);
    EXPECT_EQ(Rows(p), expected[o]) << "orientation " << o;
    EXPECT_EQ(p.MasterAlpha, 77);
  }
  TBitmap32 empty;
  ApplyExifOrientation(empty, 6);
  EXPECT_TRUE(empty.Empty());
}

TEST(NetpbmDecoder, DecodesOpaqueAndAlphaPictures) {
  TBitmap32 pic = test::Numbered(5, 3, 200);
  TBitmap32 out;
  DecodeResult opaque = NetpbmImageDecoder::DecodeBytes(out, EncodePpm(pic));
  ASSERT_TRUE(opaque.ok);
  EXPECT_FALSE(opaque.HasAlpha());
  EXPECT_EQ(out.At(4, 2), (pic.At(4, 2) & 0xFFFFFF) | 0xFF000000u) << "opaque pictures come out opaque";

  DecodeResult alpha = NetpbmImageDecoder::DecodeBytes(out, EncodePamRgba(pic));
  ASSERT_TRUE(alpha.ok);
  EXPECT_TRUE(alpha.HasAlpha());
  EXPECT_TRUE(test::SamePixels(out, pic));

  DecodeResult gray = NetpbmImageDecoder::DecodeBytes(
      out, std::string("P7\nWIDTH 2\nHEIGHT 1\nDEPTH 2\nMAXVAL 255\nTUPLTYPE GRAYSCALE_ALPHA\nENDHDR\n") + "\x10\x20\x30\x40");
  ASSERT_TRUE(gray.ok);
  EXPECT_TRUE(gray.HasAlpha());
  EXPECT_EQ(out.At(1, 0), MakeArgb(0x40, 0x30, 0x30, 0x30));
}

TEST(NetpbmDecoder, RefusesBrokenAndOversizedPictures) {
  TBitmap32 out(4, 4);
  const std::string full = EncodePpm(test::Numbered(4, 4));
  for (size_t n : {size_t(0), size_t(2), size_t(8), full.size() - 1}) {
    EXPECT_FALSE(NetpbmImageDecoder::DecodeBytes(out, full.substr(0, n)).ok) << n;
    EXPECT_TRUE(out.Empty());
  }
  EXPECT_FALSE(NetpbmImageDecoder::DecodeBytes(out, "P6\n30000 30000\n255\n").ok);
  EXPECT_FALSE(NetpbmImageDecoder::DecodeBytes(out, "P6\n99999999999999 1\n255\n").ok);
  EXPECT_FALSE(NetpbmImageDecoder::DecodeBytes(out, "P6\n1 1\n65535\n\0\0\0\0\0\0").ok);
  EXPECT_FALSE(NetpbmImageDecoder::DecodeBytes(out, "P7\nWIDTH 1\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nTUPLTYPE CMYK\nENDHDR\nabc").ok);
}

}  // namespace
}  // namespace ov

namespace ov {
namespace {

TEST(ImageLimits, PhonePhotosDecodeAbsurdClaimsAndShortMemoryDoNot) {
  struct Case {
    int64_t w, h;
    uint64_t available;
    bool decodable;
  } cases[] = {
      {12000, 9000, 16ull << 30, true},    // 108 megapixels
      {16320, 12240, 16ull << 30, true},   // 200 megapixels: two 800 MB copies
      {16320, 12240, 1ull << 30, false},   // ... but not with 1 GB left
      {30000, 30000, 64ull << 30, false},  // 900 megapixels: beyond any surface we make
      {60000, 60000, 64ull << 30, false},
      {70000, 10, 64ull << 30, false},     // a side beyond 65535
      {0, 100, 64ull << 30, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PictureFitsInMemory(c.w, c.h, c.available), c.decodable) << c.w << " x " << c.h;
}

}  // namespace
}  // namespace ov

namespace ov {
namespace {

// A header of every raster format that claims 60000 x 60000 pixels (3.6 gigapixels) is
// read as such and refused before any pixel is allocated, whatever memory there is.
TEST(ImageLimits, SixtyThousandSquaredIsRefusedFromTheHeader) {
  const std::string claims[] = {
      PngHeader(60000, 60000),
      Jpeg(60000, 60000, ""),
      std::string("GIF89a") + Le16(60000) + Le16(60000) + std::string(10, '\0'),
      "BM" + std::string(12, '\0') + Le32(40) + Le32(60000) + Le32(uint32_t(-60000)) + std::string(30, '\0'),
      Tiff(true, {{256, 60000}, {257, 60000}}),
  };
  for (const std::string& bytes : claims) {
    const ImageHeaderInfo h = ReadImageHeader(bytes);
    EXPECT_EQ(h.width, 60000) << int(h.format);
    EXPECT_EQ(h.height, 60000) << int(h.format);
    EXPECT_FALSE(PictureFitsInMemory(h.width, h.height, UINT64_MAX)) << int(h.format);
  }
  TBitmap32 out;
  EXPECT_FALSE(NetpbmImageDecoder::DecodeBytes(out, "P6\n60000 60000\n255\n" + std::string(1000, '\x7F')).ok);
  EXPECT_TRUE(out.Empty());
}

}  // namespace
}  // namespace ov
