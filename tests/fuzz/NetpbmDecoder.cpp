// Netpbm files of any content: a decoded picture has an acceptable size and encodes back
// into a file that decodes to the same pixels.
#include "FuzzCheck.h"
#include "core/platform/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ov;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TBitmap32 picture;
  const DecodeResult r = NetpbmImageDecoder::DecodeBytes(picture, bytes);
  if (!r.ok) {
    FUZZ_CHECK(picture.Empty());
    return 0;
  }
  FUZZ_CHECK(ImageSizeAcceptable(picture.Width(), picture.Height()));
  // Pixels never come from bytes the file does not have.
  FUZZ_CHECK(uint64_t(picture.Width()) * uint64_t(picture.Height()) <= size);

  TBitmap32 back;
  FUZZ_CHECK(NetpbmImageDecoder::DecodeBytes(back, EncodePamRgba(picture)).ok);
  FUZZ_CHECK(back.Width() == picture.Width() && back.Height() == picture.Height());
  for (int32_t y = 0; y < picture.Height(); ++y)
    for (int32_t x = 0; x < picture.Width(); ++x) FUZZ_CHECK(back.At(x, y) == picture.At(x, y));
  if (!r.HasAlpha()) {
    FUZZ_CHECK(NetpbmImageDecoder::DecodeBytes(back, EncodePpm(picture)).ok);
    for (int32_t y = 0; y < picture.Height(); ++y)
      for (int32_t x = 0; x < picture.Width(); ++x) FUZZ_CHECK(back.At(x, y) == picture.At(x, y));
  }
  return 0;
}
