// Picture headers of any content, and the EXIF orientation applied to a small picture
// built from the input.
#include "FuzzCheck.h"
#include "core/images/ImageChecksum.h"
#include "core/images/ImageHeader.h"
#include "core/images/Orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ov;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ImageHeaderInfo info = ReadImageHeader(bytes);
  FUZZ_CHECK(info.orientation >= 1 && info.orientation <= 8);
  FUZZ_CHECK(info.width >= -1 && info.height >= -1);
  if (info.format == ImageFormat::Unknown) FUZZ_CHECK(!info.SizeKnown());
  // Any prefix of the file is read without going past its end, too.
  (void)ReadImageHeader(bytes.substr(0, size / 2));

  // The orientation turns the picture, and the inverse turn gives it back.
  fuzz::Input in(data, size);
  const int32_t w = in.Byte() % 17, h = in.Byte() % 17;
  const int orientation = in.Byte() % 10;
  TBitmap32 picture(w, h);
  for (int32_t y = 0; y < picture.Height(); ++y)
    for (int32_t x = 0; x < picture.Width(); ++x) picture.At(x, y) = in.U32();
  const TBitmap32 original = picture;
  TurnUpright(picture, orientation);
  const bool turns = orientation >= 2 && orientation <= 8 && !original.Empty();
  const bool swaps = turns && orientation >= 5;
  FUZZ_CHECK(picture.Width() == (swaps ? original.Height() : original.Width()));
  FUZZ_CHECK(picture.Height() == (swaps ? original.Width() : original.Height()));
  if (turns) FUZZ_CHECK(picture.StoredChecksum == ImageChecksum(original));
  static const int inverse[10] = {0, 1, 2, 3, 4, 5, 8, 7, 6, 9};
  ApplyExifOrientation(picture, inverse[orientation]);
  for (int32_t y = 0; y < original.Height(); ++y)
    for (int32_t x = 0; x < original.Width(); ++x) FUZZ_CHECK(picture.At(x, y) == original.At(x, y));
  return 0;
}
