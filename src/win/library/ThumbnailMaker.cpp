#include "win/library/ThumbnailMaker.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <fstream>
#include <new>
#include <string>

#include "core/images/ImageHeader.h"
#include "core/images/Orientation.h"
#include "core/library/LibraryView.h"
#include "core/platform/ImageDecoder.h"
#include "core/render/Resample.h"
#include "win/platform/GdiplusDecoder.h"

namespace ov {

namespace {

constexpr Pixel kThumbnailGrey = 0xFF808080u;

template <typename T>
class ComPtr {
 public:
  ~ComPtr() {
    if (p_) p_->Release();
  }
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }

 private:
  T* p_ = nullptr;
};

ImageHeaderInfo ReadHeader(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string data(size_t(1) << 20, '\0');  // room for large EXIF and colour-profile blocks
  in.read(data.data(), static_cast<std::streamsize>(data.size()));
  data.resize(static_cast<size_t>(in.gcount()));
  return ReadImageHeader(data);
}

uint64_t AvailableMemory() {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof(ms);
  if (!GlobalMemoryStatusEx(&ms)) return UINT64_MAX;
  return std::min<uint64_t>(ms.ullAvailPageFile, ms.ullAvailVirtual);
}

// Decodes the first frame scaled to at most `want` (in the file's own orientation) into
// `out`; the picture's stored size comes back in `stored`. The scaler reads only what it
// needs where the codec can decode at reduced size.
bool DecodeScaled(const std::filesystem::path& file, Size want, TBitmap32& out, Size& stored) {
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Out()))))
    return false;
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                decoder.Out())))
    return false;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Out()))) return false;
  UINT w = 0, h = 0;
  if (FAILED(frame->GetSize(&w, &h)) || !PictureFitsInMemory(w, h, AvailableMemory())) return false;
  stored = {static_cast<int32_t>(w), static_cast<int32_t>(h)};
  const UINT tw = static_cast<UINT>(std::clamp<int32_t>(want.width, 1, static_cast<int32_t>(w)));
  const UINT th = static_cast<UINT>(std::clamp<int32_t>(want.height, 1, static_cast<int32_t>(h)));
  ComPtr<IWICBitmapScaler> scaler;
  if (FAILED(factory->CreateBitmapScaler(scaler.Out())) ||
      FAILED(scaler->Initialize(frame.Get(), tw, th, WICBitmapInterpolationModeFant)))
    return false;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(scaler.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return false;
  out.SetSize(static_cast<int32_t>(tw), static_cast<int32_t>(th));
  if (FAILED(converter->CopyPixels(nullptr, tw * 4, tw * th * 4, reinterpret_cast<BYTE*>(out.Bits())))) {
    out.SetSize(0, 0);
    return false;
  }
  return true;
}

Thumbnail Make(const std::filesystem::path& file, Size cell, Size screen) {
  Thumbnail result;
  if (cell.width <= 0 || cell.height <= 0) return result;
  const ImageHeaderInfo header = ReadHeader(file);
  const bool turned = header.orientation >= 5 && header.orientation <= 8;
  TBitmap32 source;
  Size upright{0, 0};
  bool decoded = false;
  if (header.format != ImageFormat::Emf && header.format != ImageFormat::Wmf && header.SizeKnown()) {
    // The size the thumbnail needs, twice over so the final pass can filter properly
    // (the scaler of some platforms only picks the nearest pixel).
    Size stored{static_cast<int32_t>(header.width), static_cast<int32_t>(header.height)};
    Size up = turned ? Size{stored.height, stored.width} : stored;
    Rect place = ThumbnailPlacement(cell, screen, up);
    Size want{static_cast<int32_t>(std::max<int64_t>(1, 2 * place.Width())),
              static_cast<int32_t>(std::max<int64_t>(1, 2 * place.Height()))};
    if (turned) std::swap(want.width, want.height);
    Size got{0, 0};
    decoded = DecodeScaled(file, want, source, got);
    if (decoded) upright = turned ? Size{got.height, got.width} : got;
  }
  if (!decoded) {
    // Metafiles and whatever the scaler refused: the full decoder, which turns JPEGs
    // upright itself.
    GdiplusDecoder full;
    if (!full.Decode(source, file).ok || source.Empty()) return result;
    upright = {source.Width(), source.Height()};
  } else if (header.format == ImageFormat::Jpeg && header.orientation != 1) {
    ApplyExifOrientation(source, header.orientation);
  }
  result.image = upright;
  result.pixels.SetSize(cell.width, cell.height);
  result.pixels.Clear(kThumbnailGrey);
  const Rect place = ThumbnailPlacement(cell, screen, upright);
  if (place.Width() > 0 && place.Height() > 0)
    ResampleInto(result.pixels, place, source, source.BoundsRect(), StretchFilter::Linear2, DrawMode::Blend, 255);
  return result;
}

}  // namespace

Thumbnail MakeThumbnail(const std::filesystem::path& file, Size cell, Size screen) {
  try {
    return Make(file, cell, screen);
  } catch (const std::bad_alloc&) {
    // Memory ran out after all: no thumbnail, the cell stays grey and empty.
    return {};
  }
}

}  // namespace ov
