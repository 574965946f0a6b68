#include "core/images/ImageChecksum.h"

#include <array>
#include <cstring>

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

// Tables for eight bytes at a time: table k gives the effect of a byte followed by k zero
// bytes, so eight lookups replace eight dependent steps. Same result as the byte loop.
using SliceTables = std::array<std::array<uint32_t, 256>, 8>;
constexpr SliceTables MakeSliceTables() {
  SliceTables t{};
  t[0] = MakeCrcTable();
  for (int k = 1; k < 8; ++k)
    for (uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  return t;
}

constexpr SliceTables kSlice = MakeSliceTables();

}  // namespace

uint32_t Crc32UpdateBytewise(uint32_t crc, const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) crc = kCrcTable[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

uint32_t Crc32Update(uint32_t crc, const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  while (size >= 8) {
    uint32_t lo, hi;
    std::memcpy(&lo, p, 4);
    std::memcpy(&hi, p + 4, 4);
    lo ^= crc;
    crc = kSlice[7][lo & 0xFF] ^ kSlice[6][(lo >> 8) & 0xFF] ^ kSlice[5][(lo >> 16) & 0xFF] ^ kSlice[4][lo >> 24] ^
          kSlice[3][hi & 0xFF] ^ kSlice[2][(hi >> 8) & 0xFF] ^ kSlice[1][(hi >> 16) & 0xFF] ^ kSlice[0][hi >> 24];
    p += 8;
    size -= 8;
  }
  return Crc32UpdateBytewise(crc, p, size);
}

uint32_t ImageChecksum(const TBitmap32& picture) {
  if (picture.Empty()) return 0xFFFFFFFFu;
  if (picture.StoredChecksum) return *picture.StoredChecksum;
  const size_t bytes = static_cast<size_t>(picture.Width()) * static_cast<size_t>(picture.Height());
  return Crc32Update(0xFFFFFFFFu, picture.Bits(), bytes);
}

std::string ImagePropsFileName(const TBitmap32& picture) {
  return Format("CRC_%.8x.ini", ImageChecksum(picture));
}

}  // namespace ov
