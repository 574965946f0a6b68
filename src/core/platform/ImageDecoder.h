#pragma once
// Decoding a picture file into a TBitmap32 at its natural size. The Windows build decodes
// through GDI+; the portable Netpbm decoder below serves the native tests and benchmarks.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/render/Bitmap32.h"

namespace ov {

// Pixel-format codes in the platform decoder's numbering. Only the alpha flag is acted
// on; the others name what the decoders report.
constexpr uint32_t kPixelFormatAlphaFlag = 0x40000;
constexpr uint32_t kPixelFormat24bppRgb = 0x21808;
constexpr uint32_t kPixelFormat32bppRgb = 0x22009;
constexpr uint32_t kPixelFormat32bppArgb = 0x26200A;

// The largest picture any decoder accepts: 512 million pixels (a 2 GiB surface) and at
// most 65535 pixels on a side. Phone and camera photos of 100 to 200 megapixels are well
// inside; larger claims are refused as a decode failure before any pixels are allocated,
// so a hostile or absurd file cannot exhaust memory. A decoder also refuses a picture
// when the memory it would need is not available (PictureFitsInMemory).
constexpr int64_t kMaxImagePixels = 512'000'000;
constexpr int64_t kMaxImageSide = 65535;

constexpr bool ImageSizeAcceptable(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

// Whether decoding a width x height picture can succeed with `availableBytes` of memory
// left: the decoder's own copy and our 32-bit surface, with a quarter of the memory kept
// back for the rest of the program and the system.
constexpr bool PictureFitsInMemory(int64_t width, int64_t height, uint64_t availableBytes) {
  if (!ImageSizeAcceptable(width, height)) return false;
  const uint64_t need = 2 * uint64_t(width) * uint64_t(height) * 4;
  return need <= availableBytes - availableBytes / 4;
}

struct DecodeResult {
  bool ok = false;
  uint32_t pixelFormat = 0;
  bool HasAlpha() const { return (pixelFormat & kPixelFormatAlphaFlag) != 0; }
};

class IImageDecoder {
 public:
  virtual ~IImageDecoder() = default;
  // Resizes the surface to the picture and fills it at natural size. A picture without an
  // alpha channel comes out with alpha 255 everywhere; one with alpha keeps it (straight,
  // not premultiplied). On failure the surface is empty and ok is false.
  virtual DecodeResult Decode(TBitmap32& surface, const std::filesystem::path& file) = 0;
};

// Binary Netpbm pictures: P6 (PPM, 8-bit RGB, opaque) and P7 (PAM with TUPLTYPE RGB,
// RGB_ALPHA, GRAYSCALE or GRAYSCALE_ALPHA, 8 bits per sample). RGB_ALPHA and
// GRAYSCALE_ALPHA report the alpha flag.
class NetpbmImageDecoder final : public IImageDecoder {
 public:
  DecodeResult Decode(TBitmap32& surface, const std::filesystem::path& file) override;
  // Decodes bytes already in memory.
  static DecodeResult DecodeBytes(TBitmap32& surface, std::string_view bytes);
};

// Writes a surface as PPM (alpha dropped) or as PAM RGB_ALPHA.
std::string EncodePpm(const TBitmap32& surface);
std::string EncodePamRgba(const TBitmap32& surface);

}  // namespace ov
