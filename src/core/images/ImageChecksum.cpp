#include "core/images/ImageChecksum.h"

#include <array>

#include "core/util/Text.h"

namespace ov {

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
    t[i] = c;
  }
  return t;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

uint32_t Crc32Update(uint32_t crc, const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) crc = kCrcTable[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

uint32_t ImageChecksum(const TBitmap32& picture) {
  if (picture.Empty()) return 0xFFFFFFFFu;
  const size_t bytes = static_cast<size_t>(picture.Width()) * static_cast<size_t>(picture.Height());
  return Crc32Update(0xFFFFFFFFu, picture.Bits(), bytes);
}

std::string ImagePropsFileName(const TBitmap32& picture) {
  return Format("CRC_%.8x.ini", ImageChecksum(picture));
}

}  // namespace ov
