#include "core/images/ImageChecksum.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <mutex>

#include "core/render/Bands.h"
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

// Below this a buffer is not worth a thread.
constexpr size_t kBandBytes = size_t(1) << 20;

}  // namespace

uint32_t Crc32UpdateBytewise(uint32_t crc, const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) crc = kCrcTable[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

uint32_t Crc32Update(uint32_t crc, const void* data, size_t size) {
  // zlib's CRC-32 inverts the running value before and after; this one does neither.
  const unsigned char* p = static_cast<const unsigned char*>(data);
  auto zlibCrc = [p](uLong from, size_t first, size_t last) {
    uLong c = from;
    for (size_t at = first; at < last;) {  // crc32_z takes any size; crc32 only 32 bits
      const size_t n = std::min<size_t>(last - at, size_t(1) << 30);
      c = crc32(c, p + at, static_cast<uInt>(n));
      at += n;
    }
    return c;
  };
  const int64_t blocks = int64_t(size / kBandBytes);
  if (blocks < 2) return ~static_cast<uint32_t>(zlibCrc(~crc & 0xFFFFFFFFu, 0, size));
  // A decoded picture: its bands side by side, each from zero, joined in order.
  std::mutex lock;
  std::map<size_t, std::pair<size_t, uLong>> parts;  // first byte -> (length, CRC)
  ForEachBand(blocks, 1, [&](int64_t first, int64_t last) {
    const size_t from = size_t(first) * kBandBytes, to = last == blocks ? size : size_t(last) * kBandBytes;
    const uLong c = zlibCrc(from == 0 ? (~crc & 0xFFFFFFFFu) : 0, from, to);
    std::lock_guard<std::mutex> hold(lock);
    parts[from] = {to - from, c};
  });
  uLong joined = parts.begin()->second.second;
  for (auto it = std::next(parts.begin()); it != parts.end(); ++it)
    joined = crc32_combine(joined, it->second.second, static_cast<z_off_t>(it->second.first));
  return ~static_cast<uint32_t>(joined);
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
