#pragma once
// The checksum that names a picture's properties file. It is taken over the decoded
// pixels, so the properties follow a picture whatever its file name or folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/render/Bitmap32.h"

namespace ov {

// Common CRC-32 table (reflected polynomial 0xEDB88320), running from `crc`, without
// the final inversion. zlib's, over bands side by side for large buffers; the
// byte-at-a-time form is the reference.
uint32_t Crc32Update(uint32_t crc, const void* data, size_t size);
uint32_t Crc32UpdateBytewise(uint32_t crc, const void* data, size_t size);

// CRC-32 from 0xFFFFFFFF, not inverted, over the first Width x Height BYTES of the pixel
// buffer (a quarter of it: pixels are four bytes). An empty picture gives 0xFFFFFFFF; a
// picture turned upright by its decoder gives the checksum of its pixels before the turn
// (TBitmap32::StoredChecksum).
uint32_t ImageChecksum(const TBitmap32& picture);

// "CRC_%.8x.ini" with the picture's checksum.
std::string ImagePropsFileName(const TBitmap32& picture);

}  // namespace ov
