#pragma once
// Picture decoding through GDI+: BMP, JPEG, PNG, GIF, TIFF, EMF and WMF at natural size.
#include <cstdint>
#include <filesystem>
#include <functional>

#include "core/platform/ImageDecoder.h"

namespace ov {

// GDI+ started for the lifetime of the object. The program owns one for its whole run;
// tests make their own. Decoding without a live session fails.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool Ok() const { return token_ != 0; }

 private:
  uintptr_t token_ = 0;
};

// Raster pictures are converted to 32-bit pixels exactly as decoded; metafiles are
// rendered onto white at their natural size. Pictures whose format has no alpha come out
// opaque, those with alpha keep it. JPEG photos are turned upright by their EXIF
// orientation. Pictures beyond kMaxImagePixels or kMaxImageSide, or larger than the
// memory still available can hold, are refused, by the size their header states before
// anything is decoded, and again by the size GDI+ reports.
class GdiplusDecoder final : public IImageDecoder {
 public:
  DecodeResult Decode(TBitmap32& surface, const std::filesystem::path& file) override;

 private:
  DecodeResult DecodeInto(TBitmap32& surface, const std::filesystem::path& file);
};

// Runs work on a thread of the program's own making with COM set up for it: the imaging
// component behind GDI+ may need it there, as on the thread that made the windows.
void RunWithCom(const std::function<void()>& work);

}  // namespace ov
