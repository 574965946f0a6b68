#pragma once
// What a picture file's first bytes say about it, read without decoding: the format,
// the pixel size of raster formats (so a decoder can refuse absurd sizes before it
// allocates anything) and the orientation a camera stored in a JPEG's EXIF block.
#include <cstdint>
#include <string_view>

namespace ov {

enum class ImageFormat { Unknown, Bmp, Jpeg, Png, Gif, Tiff, Emf, Wmf };

struct ImageHeaderInfo {
  ImageFormat format = ImageFormat::Unknown;
  // -1 when the header does not say (metafiles, unknown or truncated files).
  int64_t width = -1;
  int64_t height = -1;
  // EXIF orientation 1..8 (1 = as stored); 1 when absent or invalid.
  int orientation = 1;

  bool SizeKnown() const { return width >= 0 && height >= 0; }
};

// Never reads outside the bytes; a truncated or corrupt header gives what could be read.
ImageHeaderInfo ReadImageHeader(std::string_view bytes);

}  // namespace ov
