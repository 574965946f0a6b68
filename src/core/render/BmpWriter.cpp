#include "core/render/BmpWriter.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/render/Bands.h"
#include "core/render/Palette.h"

namespace ov {

BmpDepth BmpDepthFromPixelMode(int32_t mode) {
  switch (mode) {
    case 0: return BmpDepth::Bits4;
    case 1: return BmpDepth::Bits8;
    case 2: return BmpDepth::Bits15;
    case 3: return BmpDepth::Bits16;
    default: return BmpDepth::Bits24;
  }
}

int BitsPerPixel(BmpDepth depth) {
  switch (depth) {
    case BmpDepth::Bits4: return 4;
    case BmpDepth::Bits8: return 8;
    case BmpDepth::Bits15:
    case BmpDepth::Bits16: return 16;
    case BmpDepth::Bits24: return 24;
  }
  return 24;
}

namespace {

template <class Bytes>
void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = char(v & 0xFF);
  b[at + 1] = char((v >> 8) & 0xFF);
}
template <class Bytes>
void Put32(Bytes& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// Channel scaled to `bits` bits, rounded.
inline uint32_t Scale(uint32_t v, uint32_t maxOut) { return (v * maxOut + 127) / 255; }

size_t HeaderBytes(BmpDepth depth, size_t paletteEntries) {
  return 14 + 40 + (depth == BmpDepth::Bits16 ? 12 : paletteEntries * 4);
}
size_t RowStride(uint32_t width, int bpp) { return ((size_t(width) * size_t(bpp) + 31) / 32) * 4; }

// Pixels [from, to) of a row written at their places in the file's row `o`, at 15, 16 or
// 24 bits (the palette depths need the whole picture).
void EncodeRowPart(uint8_t* o, const Pixel* row, int32_t from, int32_t to, BmpDepth depth) {
  switch (depth) {
    case BmpDepth::Bits15:
    case BmpDepth::Bits16: {
      // 5-5-5, or 5-6-5 with green one bit wider.
      const bool wideGreen = depth == BmpDepth::Bits16;
      const uint32_t greenMax = wideGreen ? 63 : 31, redShift = wideGreen ? 11 : 10;
      for (int32_t x = from; x < to; ++x) {
        Pixel p = row[x];
        uint32_t v = (Scale(RedOf(p), 31) << redShift) | (Scale(GreenOf(p), greenMax) << 5) | Scale(BlueOf(p), 31);
        o[2 * x] = uint8_t(v);
        o[2 * x + 1] = uint8_t(v >> 8);
      }
      break;
    }
    case BmpDepth::Bits24: {
      // Four pixels (blue, green, red, alpha in memory) packed into three words of
      // blue, green, red: one word store instead of three byte stores per pixel.
      static_assert(std::endian::native == std::endian::little);
      uint8_t* d = o + 3 * size_t(from);
      int32_t x = from;
      for (; x + 4 <= to; x += 4, d += 12) {
        const uint32_t p0 = row[x], p1 = row[x + 1], p2 = row[x + 2], p3 = row[x + 3];
        const uint32_t w0 = (p0 & 0xFFFFFFu) | (p1 << 24);
        const uint32_t w1 = ((p1 >> 8) & 0xFFFFu) | (p2 << 16);
        const uint32_t w2 = ((p2 >> 16) & 0xFFu) | (p3 << 8);
        std::memcpy(d, &w0, 4);
        std::memcpy(d + 4, &w1, 4);
        std::memcpy(d + 8, &w2, 4);
      }
      for (; x < to; ++x, d += 3) {
        d[0] = uint8_t(BlueOf(row[x]));
        d[1] = uint8_t(GreenOf(row[x]));
        d[2] = uint8_t(RedOf(row[x]));
      }
      break;
    }
    case BmpDepth::Bits4:
    case BmpDepth::Bits8: break;
  }
}

}  // namespace

std::string EncodeBmp(const TBitmap32& picture, BmpDepth depth) {
  std::string b;
  EncodeBmpInto(b, picture, depth);
  return b;
}

namespace {

// A buffer of another size is let go before the new one is taken, so the old bytes are
// neither copied nor held beside the new ones.
void ResizeForEncoding(std::string& b, size_t size) { b.resize(size); }
void ResizeForEncoding(FileBytes& b, size_t size) {
  if (size > b.capacity()) {
    b.clear();
    b.shrink_to_fit();
  }
  b.resize(size);
}

template <class Bytes>
void EncodeInto(Bytes& b, const TBitmap32& picture, BmpDepth depth) {
  if (picture.Empty()) {
    b.clear();
    return;
  }
  const uint32_t w = uint32_t(picture.Width()), h = uint32_t(picture.Height());
  const int bpp = BitsPerPixel(depth);
  const size_t stride = RowStride(w, bpp);

  Palette palette;
  std::vector<uint8_t> indices;
  // 16 colours chosen for the picture look far closer to it than the fixed system
  // palette, which turns photographs into posterised bands.
  if (depth == BmpDepth::Bits4) palette = BuildAdaptivePalette(picture, 16);
  if (depth == BmpDepth::Bits8) palette = BuildAdaptivePalette(picture, 256);
  if (!palette.empty()) indices = DitherToPalette(picture, palette);
  const size_t headers = HeaderBytes(depth, palette.size());
  const size_t imageSize = stride * h;

  ResizeForEncoding(b, headers + imageSize);  // old contents: every byte is written below
  std::memset(b.data(), 0, headers);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, uint32_t(b.size()));  // at most 16384 × 8640 × 3 plus headers in practice
  Put32(b, 10, uint32_t(headers));
  Put32(b, 14, 40);
  Put32(b, 18, w);
  Put32(b, 22, h);  // positive: bottom-up rows
  Put16(b, 26, 1);
  Put16(b, 28, uint32_t(bpp));
  Put32(b, 30, depth == BmpDepth::Bits16 ? 3 : 0);  // BI_BITFIELDS or BI_RGB
  Put32(b, 34, uint32_t(imageSize));
  Put32(b, 38, 3780);  // 96 dpi
  Put32(b, 42, 3780);
  Put32(b, 46, uint32_t(palette.size()));
  Put32(b, 50, 0);
  size_t at = 54;
  if (depth == BmpDepth::Bits16) {
    Put32(b, at, 0xF800);
    Put32(b, at + 4, 0x07E0);
    Put32(b, at + 8, 0x001F);
  }
  for (Pixel p : palette) {  // RGBQUAD: blue, green, red, reserved
    Put32(b, at, p & 0x00FFFFFFu);
    at += 4;
  }

  const size_t used = (size_t(w) * size_t(bpp) + 7) / 8;  // bytes of a row before its padding
  uint8_t* image = reinterpret_cast<uint8_t*>(b.data()) + headers;
  ForEachBand(h, 64, [&](int64_t firstRow, int64_t lastRow) {
    for (uint32_t y = uint32_t(firstRow); y < uint32_t(lastRow); ++y) {
      uint8_t* o = image + size_t(h - 1 - y) * stride;
      const Pixel* row = picture.Row(int32_t(y));
      // The 4-bit rows are or-ed together nibble by nibble; every other depth writes each
      // byte of its row, so only the padding needs clearing.
      if (depth == BmpDepth::Bits4) std::memset(o, 0, stride);
      else std::memset(o + used, 0, stride - used);
      if (depth == BmpDepth::Bits4) {
        const uint8_t* ix = indices.data() + size_t(y) * w;
        for (uint32_t x = 0; x < w; ++x) o[x / 2] |= uint8_t(x % 2 ? ix[x] : ix[x] << 4);
      } else if (depth == BmpDepth::Bits8) {
        std::memcpy(o, indices.data() + size_t(y) * w, w);
      } else {
        EncodeRowPart(o, row, 0, int32_t(w), depth);
      }
    }
  });
}

}  // namespace

void EncodeBmpInto(std::string& out, const TBitmap32& picture, BmpDepth depth) { EncodeInto(out, picture, depth); }
void EncodeBmpInto(FileBytes& out, const TBitmap32& picture, BmpDepth depth) { EncodeInto(out, picture, depth); }

namespace {

// Narrows [first, last) of two byte strings to the part from their first to their last
// differing byte (empty when they are equal there), eight bytes at a time where it can:
// a panel row usually differs in one cell, or nowhere.
void SameEnds(const uint8_t* a, const uint8_t* b, size_t& first, size_t& last) {
  auto load = [](const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
  };
  while (first + 8 <= last && load(a + first) == load(b + first)) first += 8;
  while (first < last && a[first] == b[first]) ++first;
  while (last >= first + 8 && load(a + last - 8) == load(b + last - 8)) last -= 8;
  while (last > first && a[last - 1] == b[last - 1]) --last;
}

template <class Bytes>
bool EncodeSpans(Bytes& file, const TBitmap32& picture, BmpDepth depth, const std::vector<RowSpan>& spans,
                 FileChanges* changed) {
  if (depth == BmpDepth::Bits4 || depth == BmpDepth::Bits8 || picture.Empty()) return false;
  const uint32_t w = uint32_t(picture.Width()), h = uint32_t(picture.Height());
  const int bpp = BitsPerPixel(depth);
  const size_t stride = RowStride(w, bpp), headers = HeaderBytes(depth, 0);
  if (spans.size() != h || file.size() != headers + stride * h) return false;
  auto get = [&](size_t at, size_t bytes) {
    uint32_t v = 0;
    for (size_t i = 0; i < bytes; ++i) v |= uint32_t(uint8_t(file[at + i])) << (8 * i);
    return v;
  };
  if (file[0] != 'B' || file[1] != 'M' || get(10, 4) != headers || get(18, 4) != w || get(22, 4) != h ||
      get(28, 2) != uint32_t(bpp) || get(30, 4) != (depth == BmpDepth::Bits16 ? 3u : 0u))
    return false;
  uint8_t* image = reinterpret_cast<uint8_t*>(file.data()) + headers;
  const size_t pixelBytes = size_t(bpp / 8);
  // By file row (bottom-up): the bytes of the row that changed and what they held, when
  // asked.
  std::vector<ByteRange> rowChanges(changed ? h : 0);
  std::vector<std::string> rowBefore(changed ? h : 0);
  ForEachBand(h, 64, [&](int64_t firstRow, int64_t lastRow) {
    std::vector<uint8_t> before;
    for (uint32_t y = uint32_t(firstRow); y < uint32_t(lastRow); ++y) {
      const int32_t left = std::max(spans[y].left, 0), right = std::min(spans[y].right, int32_t(w));
      if (left >= right) continue;
      const size_t fileRow = size_t(h - 1 - y);
      uint8_t* row = image + fileRow * stride;
      // The row part writes exactly the bytes of its pixels.
      const size_t from = size_t(left) * pixelBytes, to = size_t(right) * pixelBytes;
      if (changed) before.assign(row + from, row + to);
      EncodeRowPart(row, picture.Row(int32_t(y)), left, right, depth);
      if (!changed) continue;
      size_t first = 0, last = to - from;
      SameEnds(before.data(), row + from, first, last);
      if (first < last) {
        rowChanges[fileRow] = {headers + fileRow * stride + from + first, headers + fileRow * stride + from + last};
        rowBefore[fileRow].assign(reinterpret_cast<const char*>(before.data()) + first, last - first);
      }
    }
  });
  if (changed) {
    // Ranges closer than this are written as one: fewer, larger writes.
    constexpr size_t kJoinGap = 4096;
    changed->ranges.clear();
    changed->before.clear();
    for (size_t row = 0; row < rowChanges.size(); ++row) {
      const ByteRange& r = rowChanges[row];
      if (r.first >= r.last) continue;
      std::vector<ByteRange>& ranges = changed->ranges;
      if (ranges.empty() || r.first > ranges.back().last + kJoinGap) {
        ranges.push_back({r.first, r.first});
        changed->before.emplace_back();
      }
      // The bytes between two rows' changes are the same before and after.
      changed->before.back().append(file.data() + ranges.back().last, r.first - ranges.back().last);
      changed->before.back() += rowBefore[row];
      ranges.back().last = r.last;
    }
  }
  return true;
}

}  // namespace

bool EncodeBmpSpans(std::string& file, const TBitmap32& picture, BmpDepth depth, const std::vector<RowSpan>& spans,
                    FileChanges* changed) {
  return EncodeSpans(file, picture, depth, spans, changed);
}
bool EncodeBmpSpans(FileBytes& file, const TBitmap32& picture, BmpDepth depth, const std::vector<RowSpan>& spans,
                    FileChanges* changed) {
  return EncodeSpans(file, picture, depth, spans, changed);
}

}  // namespace ov
