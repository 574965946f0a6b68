#include "win/platform/GdiplusDecoder.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <fstream>
#include <string>

#include "core/images/ImageHeader.h"
#include "core/images/Orientation.h"

namespace ov {

namespace gp = Gdiplus;
namespace gdip = Gdiplus::DllExports;

GdiplusSession::GdiplusSession() {
  gp::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (gp::GdiplusStartup(&token, &input, nullptr) == gp::Ok) token_ = token;
}

GdiplusSession::~GdiplusSession() {
  if (token_) gp::GdiplusShutdown(static_cast<ULONG_PTR>(token_));
}

namespace {

// Enough of a file for its header, an EXIF block and the frame header behind them.
std::string ReadFileStart(const std::filesystem::path& file, size_t maxBytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string data(maxBytes, '\0');
  in.read(data.data(), static_cast<std::streamsize>(maxBytes));
  data.resize(static_cast<size_t>(in.gcount()));
  return data;
}

class ImageHandle {
 public:
  ~ImageHandle() {
    if (image_) gdip::GdipDisposeImage(image_);
  }
  gp::GpImage** Out() { return &image_; }
  gp::GpImage* Get() const { return image_; }

 private:
  gp::GpImage* image_ = nullptr;
};

// The pixels as 32-bit BGRA. A 24-bit picture (every JPEG) is read as it is and widened
// here: having the library convert it took several times as long in some of its
// implementations, and the widening is a plain copy.
bool CopyBitmapPixels(gp::GpImage* image, TBitmap32& surface, gp::PixelFormat format) {
  auto* bitmap = reinterpret_cast<gp::GpBitmap*>(image);
  const int w = surface.Width(), h = surface.Height();
  const bool rgb24 = format == PixelFormat24bppRGB;
  gp::GpRect rect(0, 0, w, h);
  gp::BitmapData data{};
  if (gdip::GdipBitmapLockBits(bitmap, &rect, gp::ImageLockModeRead, rgb24 ? PixelFormat24bppRGB : PixelFormat32bppARGB,
                               &data) != gp::Ok)
    return false;
  bool ok = data.Scan0 != nullptr && static_cast<int>(data.Width) == w && static_cast<int>(data.Height) == h;
  for (int y = 0; ok && y < h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
    Pixel* out = surface.Row(y);
    if (rgb24) {
      for (int x = 0; x < w; ++x, row += 3) out[x] = 0xFF000000u | row[0] | uint32_t(row[1]) << 8 | uint32_t(row[2]) << 16;
    } else {
      std::memcpy(out, row, static_cast<size_t>(w) * 4);
    }
  }
  gdip::GdipBitmapUnlockBits(bitmap, &data);
  return ok;
}

// Metafiles have no pixels of their own: they are drawn onto white through a GDI+
// bitmap that shares the surface's pixel buffer.
bool RenderMetafile(gp::GpImage* image, TBitmap32& surface) {
  const int w = surface.Width(), h = surface.Height();
  Pixel* bits = surface.Bits();
  for (size_t i = 0, n = static_cast<size_t>(w) * static_cast<size_t>(h); i < n; ++i) bits[i] = 0xFFFFFFFFu;
  gp::GpBitmap* target = nullptr;
  if (gdip::GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(bits), &target) !=
      gp::Ok)
    return false;
  gp::GpGraphics* g = nullptr;
  bool ok = gdip::GdipGetImageGraphicsContext(target, &g) == gp::Ok;
  if (ok) {
    gdip::GdipSetPageUnit(g, gp::UnitPixel);
    ok = gdip::GdipDrawImageRectI(g, image, 0, 0, w, h) == gp::Ok;
    gdip::GdipDeleteGraphics(g);
  }
  gdip::GdipDisposeImage(target);
  return ok;
}

// The memory a new allocation can still take: the smaller of what the commit limit and
// the address space have left.
uint64_t AvailableMemory() {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof(ms);
  if (!GlobalMemoryStatusEx(&ms)) return UINT64_MAX;
  return std::min<uint64_t>(ms.ullAvailPageFile, ms.ullAvailVirtual);
}

bool Decodable(int64_t width, int64_t height) { return PictureFitsInMemory(width, height, AvailableMemory()); }

}  // namespace

void RunWithCom(const std::function<void()>& work) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  work();
  if (SUCCEEDED(com)) CoUninitialize();
}

DecodeResult GdiplusDecoder::Decode(TBitmap32& surface, const std::filesystem::path& file) {
  surface.SetSize(0, 0);
  try {
    return DecodeInto(surface, file);
  } catch (const std::bad_alloc&) {
    // Memory ran out after all: the picture is refused like any other failure.
    surface.SetSize(0, 0);
    return {};
  }
}

DecodeResult GdiplusDecoder::DecodeInto(TBitmap32& surface, const std::filesystem::path& file) {
  const ImageHeaderInfo header = ReadImageHeader(ReadFileStart(file, size_t(1) << 20));
  if (header.SizeKnown() && !Decodable(header.width, header.height)) return {};

  ImageHandle image;
  if (gdip::GdipLoadImageFromFile(file.c_str(), image.Out()) != gp::Ok || !image.Get()) return {};
  UINT w = 0, h = 0;
  gp::PixelFormat format = 0;
  gp::ImageType type = gp::ImageTypeUnknown;
  if (gdip::GdipGetImageWidth(image.Get(), &w) != gp::Ok || gdip::GdipGetImageHeight(image.Get(), &h) != gp::Ok ||
      gdip::GdipGetImagePixelFormat(image.Get(), &format) != gp::Ok ||
      gdip::GdipGetImageType(image.Get(), &type) != gp::Ok)
    return {};
  if (!Decodable(w, h)) return {};

  // Every pixel is written below (or the surface emptied), so its buffer is not zeroed
  // first: for a photo that is a pass over tens of megabytes.
  surface.Reshape(static_cast<int32_t>(w), static_cast<int32_t>(h));
  const bool drawn = type == gp::ImageTypeMetafile ? RenderMetafile(image.Get(), surface)
                                                   : CopyBitmapPixels(image.Get(), surface, format);
  if (!drawn) {
    surface.SetSize(0, 0);
    return {};
  }
  // A metafile is drawn onto white: it is opaque whatever format GDI+ names for it.
  if (type == gp::ImageTypeMetafile) format = kPixelFormat32bppRgb;
  // The 24-bit copy made every pixel opaque already.
  if ((format & PixelFormatAlpha) == 0 && format != PixelFormat24bppRGB) {
    Pixel* bits = surface.Bits();
    for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) bits[i] |= 0xFF000000u;
  }
  if (header.format == ImageFormat::Jpeg) TurnUpright(surface, header.orientation);
  return {true, static_cast<uint32_t>(format)};
}

}  // namespace ov
