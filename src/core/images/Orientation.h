#pragma once
// Turning a decoded photo upright according to its EXIF orientation.
#include "core/render/Bitmap32.h"

namespace ov {

// Orientation codes 1..8 as cameras store them: 1 as stored, 2 mirrored left-right,
// 3 turned 180 degrees, 4 mirrored top-bottom, 5 transposed, 6 turned 90 degrees
// clockwise, 7 transversed, 8 turned 90 degrees counter-clockwise. Any other value
// leaves the picture as it is.
void ApplyExifOrientation(TBitmap32& picture, int orientation);

// What a decoder does with a photo: turns it upright and keeps the checksum of the pixels
// as stored in the file as the picture's StoredChecksum, so a tagged and an untagged copy
// of one photo share their properties file.
void TurnUpright(TBitmap32& picture, int orientation);

}  // namespace ov
