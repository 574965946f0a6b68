#include <gtest/gtest.h>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <zlib.h>

#include <cstring>
#include <vector>

#include "core/images/ImageChecksum.h"
#include "core/images/Overlay.h"
#include "core/images/Orientation.h"
#include "core/settings/Settings.h"
#include "core/util/Paths.h"
#include "support/ExifJpeg.h"
#include "support/TempDir.h"
#include "win/platform/GdiplusDecoder.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
namespace gp = Gdiplus;
namespace gdip = Gdiplus::DllExports;

constexpr Pixel kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu;

bool Near(Pixel a, Pixel b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d < -tolerance || d > tolerance) return false;
  }
  return true;
}

class GdiplusDecoderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(session.Ok()); }

  // A GDI+ bitmap filled by f(x, y), saved with the encoder of the MIME type.
  template <typename F>
  fs::path Save(const std::wstring& mime, const fs::path& name, int w, int h, gp::PixelFormat format, F f) {
    gp::GpBitmap* bmp = nullptr;
    EXPECT_EQ(gdip::GdipCreateBitmapFromScan0(w, h, 0, format, nullptr, &bmp), gp::Ok);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) gdip::GdipBitmapSetPixel(bmp, x, y, f(x, y));
    CLSID clsid;
    EXPECT_TRUE(Encoder(mime, &clsid));
    fs::path file = dir.Path() / name;
    EXPECT_EQ(gdip::GdipSaveImageToFile(bmp, file.c_str(), &clsid, nullptr), gp::Ok);
    gdip::GdipDisposeImage(bmp);
    return file;
  }

  // Four quadrants: red, green / blue, white. The GIF encoder needs palette pixels.
  fs::path Quadrants(const std::wstring& mime, const fs::path& name, int w = 32, int h = 16) {
    if (mime == L"image/gif") return PaletteQuadrants(mime, name, w, h);
    return Save(mime, name, w, h, PixelFormat24bppRGB, [&](int x, int y) -> gp::ARGB {
      return y < h / 2 ? (x < w / 2 ? kRed : kGreen) : (x < w / 2 ? kBlue : kWhite);
    });
  }

  fs::path PaletteQuadrants(const std::wstring& mime, const fs::path& name, int w, int h) {
    const int stride = (w + 3) & ~3;
    std::vector<BYTE> index(static_cast<size_t>(stride) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) index[static_cast<size_t>(y) * stride + x] = static_cast<BYTE>((y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1));
    gp::GpBitmap* bmp = nullptr;
    EXPECT_EQ(gdip::GdipCreateBitmapFromScan0(w, h, stride, PixelFormat8bppIndexed, index.data(), &bmp), gp::Ok);
    std::vector<BYTE> pal(sizeof(gp::ColorPalette) + 4 * sizeof(gp::ARGB));
    auto* palette = reinterpret_cast<gp::ColorPalette*>(pal.data());
    palette->Flags = 0;
    palette->Count = 4;
    const gp::ARGB colours[4] = {kRed, kGreen, kBlue, kWhite};
    std::memcpy(palette->Entries, colours, sizeof colours);
    EXPECT_EQ(gdip::GdipSetImagePalette(bmp, palette), gp::Ok);
    CLSID clsid;
    EXPECT_TRUE(Encoder(mime, &clsid));
    fs::path file = dir.Path() / name;
    EXPECT_EQ(gdip::GdipSaveImageToFile(bmp, file.c_str(), &clsid, nullptr), gp::Ok);
    gdip::GdipDisposeImage(bmp);
    return file;
  }

  static bool Encoder(const std::wstring& mime, CLSID* clsid) {
    UINT count = 0, size = 0;
    if (gdip::GdipGetImageEncodersSize(&count, &size) != gp::Ok || size == 0) return false;
    std::vector<BYTE> buf(size);
    auto* codecs = reinterpret_cast<gp::ImageCodecInfo*>(buf.data());
    if (gdip::GdipGetImageEncoders(count, size, codecs) != gp::Ok) return false;
    for (UINT i = 0; i < count; ++i)
      if (mime == codecs[i].MimeType) {
        *clsid = codecs[i].Clsid;
        return true;
      }
    return false;
  }

  void ExpectQuadrants(const TBitmap32& s, int tolerance) {
    ASSERT_EQ(s.Width(), 32);
    ASSERT_EQ(s.Height(), 16);
    EXPECT_TRUE(Near(s.At(3, 3), kRed, tolerance)) << std::hex << s.At(3, 3);
    EXPECT_TRUE(Near(s.At(28, 3), kGreen, tolerance)) << std::hex << s.At(28, 3);
    EXPECT_TRUE(Near(s.At(3, 12), kBlue, tolerance)) << std::hex << s.At(3, 12);
    EXPECT_TRUE(Near(s.At(28, 12), kWhite, tolerance)) << std::hex << s.At(28, 12);
    for (int32_t y = 0; y < s.Height(); ++y)
      for (int32_t x = 0; x < s.Width(); ++x) ASSERT_EQ(s.At(x, y) >> 24, 0xFFu) << "opaque at " << x << "," << y;
  }

  GdiplusSession session;
  test::TempDir dir;
  GdiplusDecoder decoder;
};

TEST_F(GdiplusDecoderTest, DecodesEveryRasterFormatAtNaturalSize) {
  struct Case {
    const wchar_t* mime;
    const char* name;
    int tolerance;
  } cases[] = {{L"image/bmp", "q.bmp", 0},   {L"image/png", "q.png", 0}, {L"image/tiff", "q.tif", 0},
               {L"image/gif", "q.gif", 8},   {L"image/jpeg", "q.jpg", 40}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::path file = Quadrants(c.mime, c.name);
    TBitmap32 s;
    DecodeResult r = decoder.Decode(s, file);
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.HasAlpha());
    ExpectQuadrants(s, c.tolerance);
  }
}

TEST_F(GdiplusDecoderTest, APngWithTransparencyKeepsItsAlphaAndReportsTheFlag) {
  fs::path file = Save(L"image/png", "alpha.png", 8, 4, PixelFormat32bppARGB, [](int x, int y) -> gp::ARGB {
    return (static_cast<gp::ARGB>(x * 32 + y) << 24) | 0x00336699u;
  });
  TBitmap32 s;
  DecodeResult r = decoder.Decode(s, file);
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.HasAlpha()) << std::hex << r.pixelFormat;
  EXPECT_NE(r.pixelFormat & kPixelFormatAlphaFlag, 0u);
  ASSERT_EQ(s.Width(), 8);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      uint32_t a = static_cast<uint32_t>(x * 32 + y);
      EXPECT_EQ(s.At(x, y) >> 24, a) << x << "," << y;
      if (a >= 32) {
        EXPECT_TRUE(Near(s.At(x, y) | 0xFF000000u, 0xFF336699u, 2)) << std::hex << s.At(x, y);
      }
    }
}

TEST_F(GdiplusDecoderTest, MetafilesAreDrawnOpaqueAtTheirNaturalSize) {
  // EMF: a blue rectangle on the left half of a frame.
  fs::path emf = dir.Path() / "m.emf";
  RECT frame{0, 0, 2000, 1000};  // 20 mm x 10 mm
  HDC dc = CreateEnhMetaFileW(nullptr, emf.c_str(), &frame, nullptr);
  ASSERT_TRUE(dc);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  int wpx = GetDeviceCaps(dc, HORZRES) * 20 / GetDeviceCaps(dc, HORZSIZE);
  int hpx = GetDeviceCaps(dc, VERTRES) * 10 / GetDeviceCaps(dc, VERTSIZE);
  RECT left{0, 0, wpx / 2, hpx};
  FillRect(dc, &left, blue);
  DeleteObject(blue);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));

  TBitmap32 s;
  DecodeResult r = decoder.Decode(s, emf);
  ASSERT_TRUE(r.ok);
  EXPECT_FALSE(r.HasAlpha());
  ASSERT_GT(s.Width(), 10);
  ASSERT_GT(s.Height(), 5);
  EXPECT_NEAR(static_cast<double>(s.Width()) / s.Height(), 2.0, 0.2);
  EXPECT_TRUE(Near(s.At(s.Width() / 4, s.Height() / 2), kBlue, 8)) << std::hex << s.At(s.Width() / 4, s.Height() / 2);
  EXPECT_TRUE(Near(s.At(s.Width() * 3 / 4, s.Height() / 2), kWhite, 8));
  EXPECT_EQ(s.At(0, 0) >> 24, 0xFFu);

  // WMF with the placeable header GDI+ needs: a red rectangle over the whole picture.
  HDC mdc = CreateMetaFileW(nullptr);
  ASSERT_TRUE(mdc);
  SetMapMode(mdc, MM_ANISOTROPIC);
  SetWindowExtEx(mdc, 200, 100, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(mdc, red);
  SelectObject(mdc, GetStockObject(NULL_PEN));
  Rectangle(mdc, 0, 0, 201, 101);
  SelectObject(mdc, old);
  DeleteObject(red);
  HMETAFILE hmf = CloseMetaFile(mdc);
  UINT size = GetMetaFileBitsEx(hmf, 0, nullptr);
  std::string bits(size, '\0');
  GetMetaFileBitsEx(hmf, size, bits.data());
  DeleteMetaFile(hmf);
  uint16_t header[11] = {0xCDD7, 0x9AC6, 0, 0, 0, 200, 100, 96, 0, 0, 0};  // 200 x 100 units at 96 per inch
  for (int i = 0; i < 10; ++i) header[10] ^= header[i];
  test::WriteFile(dir.Path() / "m.wmf", std::string(reinterpret_cast<char*>(header), sizeof header) + bits);

  r = decoder.Decode(s, dir.Path() / "m.wmf");
  ASSERT_TRUE(r.ok);
  EXPECT_FALSE(r.HasAlpha());
  ASSERT_GT(s.Width(), 10);
  EXPECT_NEAR(static_cast<double>(s.Width()) / s.Height(), 2.0, 0.2);
  EXPECT_TRUE(Near(s.At(s.Width() / 2, s.Height() / 2), kRed, 8)) << std::hex << s.At(s.Width() / 2, s.Height() / 2);
  EXPECT_EQ(s.At(s.Width() / 2, s.Height() / 2) >> 24, 0xFFu);
}

TEST_F(GdiplusDecoderTest, JpegPhotosAreTurnedUprightButKeepTheChecksumOfTheirFile) {
  fs::path plain = Quadrants(L"image/jpeg", "photo.jpg");
  const std::string bytes = test::ReadFile(plain);
  test::WriteFile(dir.Path() / "turned.jpg", test::WithExifOrientation(bytes, 6));

  TBitmap32 upright, turned;
  ASSERT_TRUE(decoder.Decode(upright, plain).ok);
  ASSERT_TRUE(decoder.Decode(turned, dir.Path() / "turned.jpg").ok);
  ASSERT_EQ(turned.Width(), 16);
  ASSERT_EQ(turned.Height(), 32);
  // Turned a quarter clockwise: the left column (red over blue) becomes the top row.
  EXPECT_TRUE(Near(turned.At(3, 3), kBlue, 40)) << std::hex << turned.At(3, 3);
  EXPECT_TRUE(Near(turned.At(12, 3), kRed, 40)) << std::hex << turned.At(12, 3);
  EXPECT_TRUE(Near(turned.At(12, 28), kGreen, 40)) << std::hex << turned.At(12, 28);

  // The tagged and the untagged copy of the photo find the same properties file.
  EXPECT_EQ(ImageChecksum(turned), ImageChecksum(upright));
  EXPECT_EQ(ImagePropsFileName(turned), ImagePropsFileName(upright));
  TBitmap32 copy = turned;
  EXPECT_EQ(ImageChecksum(copy), ImageChecksum(upright)) << "a copy of the decoded picture is the same picture";
  TBitmap32 again;
  ASSERT_TRUE(decoder.Decode(again, dir.Path() / "turned.jpg").ok);
  EXPECT_EQ(ImageChecksum(again), ImageChecksum(turned)) << "every decode gives the same pixels";
  again.SetSize(16, 32);
  EXPECT_NE(ImageChecksum(again), ImageChecksum(turned)) << "a surface reused for other pixels is not that photo";
}

std::string PngChunk(const char* type, const std::string& data) {
  std::string len{char(data.size() >> 24), char(data.size() >> 16), char(data.size() >> 8), char(data.size())};
  std::string td = std::string(type, 4) + data;
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(td.data()), static_cast<uInt>(td.size()));
  return len + td + std::string{char(crc >> 24), char(crc >> 16), char(crc >> 8), char(crc)};
}

// A grayscale PNG of w x h, all black: tiny on disk whatever its size.
std::string BlackPng(uint32_t w, uint32_t h, uint32_t rowsStored) {
  std::string ihdr{char(w >> 24), char(w >> 16), char(w >> 8), char(w), char(h >> 24), char(h >> 16), char(h >> 8),
                   char(h), 8, 0, 0, 0, 0};
  std::string raw(static_cast<size_t>(rowsStored) * (w + 1), '\0');
  uLongf n = compressBound(static_cast<uLong>(raw.size()));
  std::string z(n, '\0');
  compress(reinterpret_cast<Bytef*>(z.data()), &n, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
  z.resize(n);
  return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) + PngChunk("IDAT", z) + PngChunk("IEND", "");
}

TEST_F(GdiplusDecoderTest, RefusesPicturesBeyondTheSizeLimit) {
  // Our own PNG writer is right: a small one decodes.
  test::WriteFile(dir.Path() / "small.png", BlackPng(5, 3, 3));
  TBitmap32 s;
  ASSERT_TRUE(decoder.Decode(s, dir.Path() / "small.png").ok);
  EXPECT_EQ(s.Width(), 5);
  EXPECT_EQ(s.At(4, 2), 0xFF000000u);

  test::WriteFile(dir.Path() / "huge.png", BlackPng(30000, 30000, 2));
  s.SetSize(3, 3);
  DecodeResult r = decoder.Decode(s, dir.Path() / "huge.png");
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(s.Empty());

  // A BMP header that claims 30000 x 30000.
  std::string bmp("BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x30\x75\0\0\x30\x75\0\0\x01\0\x18\0", 30);
  test::WriteFile(dir.Path() / "huge.bmp", bmp + std::string(100, '\0'));
  EXPECT_FALSE(decoder.Decode(s, dir.Path() / "huge.bmp").ok);

  // An empty EMF decodes; the same with a frame of 30000 x 30000 pixels at 96 dpi is
  // refused by the size GDI+ reports (no header size is known for metafiles).
  auto emptyEmf = [&](const char* name, LONG hundredthsOfMm) {
    fs::path emf = dir.Path() / name;
    RECT frame{0, 0, hundredthsOfMm, hundredthsOfMm};
    HDC dc = CreateEnhMetaFileW(nullptr, emf.c_str(), &frame, nullptr);
    EXPECT_TRUE(dc);
    if (dc) DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    return emf;
  };
  EXPECT_TRUE(decoder.Decode(s, emptyEmf("small.emf", 2000)).ok);
  EXPECT_FALSE(decoder.Decode(s, emptyEmf("huge.emf", 793750)).ok);
  EXPECT_TRUE(s.Empty());
}

TEST_F(GdiplusDecoderTest, FilesThatAreNoPicturesFailCleanly) {
  test::WriteFile(dir.Path() / "text.png", "this is not a picture");
  test::WriteFile(dir.Path() / "zero.png", "");
  const std::string jpeg = test::ReadFile(Quadrants(L"image/jpeg", "whole.jpg"));
  test::WriteFile(dir.Path() / "cut.jpg", jpeg.substr(0, jpeg.size() / 2));
  test::WriteFile(dir.Path() / "header-only.jpg", jpeg.substr(0, 20));
  for (const char* name : {"text.png", "zero.png", "missing.bmp", "header-only.jpg"}) {
    TBitmap32 s(4, 4);
    EXPECT_FALSE(decoder.Decode(s, dir.Path() / name).ok) << name;
    EXPECT_TRUE(s.Empty()) << name;
  }
  // A truncated JPEG may decode in part; either way the result is consistent.
  TBitmap32 s(4, 4);
  DecodeResult r = decoder.Decode(s, dir.Path() / "cut.jpg");
  EXPECT_EQ(r.ok, !s.Empty());
  if (r.ok) {
    EXPECT_EQ(s.Width(), 32);
  }
}

TEST_F(GdiplusDecoderTest, ReadsFilesWithChineseNames) {
  fs::path file = Quadrants(L"image/png", L"图片 一.png");
  TBitmap32 s;
  ASSERT_TRUE(decoder.Decode(s, file).ok);
  ExpectQuadrants(s, 0);
}

TEST_F(GdiplusDecoderTest, OverlaysKeepTheirOwnAlphaOrTakeItFromBrightness) {
  fs::path own = Save(L"image/png", "border.png", 6, 6, PixelFormat32bppARGB,
                      [](int x, int) -> gp::ARGB { return x < 3 ? 0xFFFFFFFFu : 0x20FFFFFFu; });
  OverlayImage overlay;
  overlay.Load(decoder, own, true, 0);
  ASSERT_FALSE(overlay.Picture().Empty());
  EXPECT_TRUE(overlay.HasOwnAlpha());
  EXPECT_EQ(overlay.Picture().At(5, 0) >> 24, 0x20u) << "OverlayAlpha 0 leaves the picture's own alpha";

  fs::path plain = Save(L"image/png", "plain.png", 6, 6, PixelFormat24bppRGB,
                        [](int x, int) -> gp::ARGB { return x < 3 ? 0xFFFFFFFFu : 0xFF000000u; });
  overlay.Load(decoder, plain, true, 255);
  EXPECT_FALSE(overlay.HasOwnAlpha());
  EXPECT_EQ(overlay.Picture().At(0, 0) >> 24, 254u);
  EXPECT_EQ(overlay.Picture().At(5, 0) >> 24, 0u);

  // The shipped default border takes its alpha from brightness: at the default setting
  // its dark inside all but vanishes and its blue frame shows.
  std::string res = std::string(ORV_TEST_DATA_DIR) + "/../../res/program/";
  if (res[0] == '/') res = "Z:" + res;
  overlay.Load(decoder, PathFromUtf8(res + "Overlay Images/BorderBlueXP.png"), true, Settings().OverlayAlpha);
  ASSERT_FALSE(overlay.Picture().Empty());
  EXPECT_FALSE(overlay.HasOwnAlpha());
  const TBitmap32& border = overlay.Picture();
  EXPECT_LE(border.At(border.Width() / 2, border.Height() / 2) >> 24, 2u);
  EXPECT_GE(border.At(10, border.Height() / 2) >> 24, 150u);
}

}  // namespace
}  // namespace ov
