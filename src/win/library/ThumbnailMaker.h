#pragma once
// Thumbnails of library pictures: the picture as it would fit on the screen, scaled down
// to a grid cell, on a grey cell-sized bitmap. Large raster pictures are decoded at
// reduced size through the imaging component's scaler (a JPEG then decodes only what the
// thumbnail needs where the codec supports it); metafiles and anything the scaler cannot
// read go through the full decoder.
#include <filesystem>

#include "core/render/Bitmap32.h"
#include "core/util/Rect.h"

namespace ov {

struct Thumbnail {
  TBitmap32 pixels;  // cell-sized; empty when the picture could not be read
  Size image{0, 0};  // the picture's upright size in pixels
};

// Makes the thumbnail for a cell of `cell` pixels on a screen of `screen` pixels. Runs on
// any thread that has COM initialised (the full decoder's GDI+ session must be live).
// Never throws; a picture that cannot be read, or that would not fit in memory, gives an
// empty result.
Thumbnail MakeThumbnail(const std::filesystem::path& file, Size cell, Size screen);

}  // namespace ov
