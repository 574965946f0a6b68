#include "core/render/RowSpans.h"

#include <algorithm>
#include <cstring>

#include "core/render/Bands.h"

namespace ov {

namespace {

// Pixels compared a block at a time with memcmp before the pixel in the block is sought.
constexpr int32_t kBlock = 32;

int32_t FirstDifference(const Pixel* a, const Pixel* b, int32_t width) {
  int32_t x = 0;
  while (x + kBlock <= width && std::memcmp(a + x, b + x, kBlock * sizeof(Pixel)) == 0) x += kBlock;
  while (x < width && a[x] == b[x]) ++x;
  return x;
}

// One past the last differing pixel at or after `from`.
int32_t EndOfDifference(const Pixel* a, const Pixel* b, int32_t from, int32_t width) {
  int32_t x = width;
  while (x - kBlock >= from && std::memcmp(a + x - kBlock, b + x - kBlock, kBlock * sizeof(Pixel)) == 0) x -= kBlock;
  while (x > from && a[x - 1] == b[x - 1]) --x;
  return x;
}

}  // namespace

std::vector<RowSpan> DifferingSpans(const TBitmap32& a, const TBitmap32& b) {
  std::vector<RowSpan> spans(size_t(std::max(a.Height(), 0)));
  const int32_t w = a.Width();
  if (a.Width() != b.Width() || a.Height() != b.Height()) {
    std::fill(spans.begin(), spans.end(), RowSpan{0, w});
    return spans;
  }
  ForEachBand(a.Height(), 64, [&](int64_t first, int64_t last) {
    for (int32_t y = int32_t(first); y < int32_t(last); ++y) {
      const Pixel* ra = a.Row(y);
      const Pixel* rb = b.Row(y);
      const int32_t left = FirstDifference(ra, rb, w);
      if (left < w) spans[size_t(y)] = {left, EndOfDifference(ra, rb, left, w)};
    }
  });
  return spans;
}

std::vector<RowSpan> UniteSpans(const std::vector<RowSpan>& a, const std::vector<RowSpan>& b) {
  std::vector<RowSpan> out(a.size());
  for (size_t y = 0; y < a.size(); ++y) {
    if (y >= b.size() || b[y].Empty()) out[y] = a[y];
    else if (a[y].Empty()) out[y] = b[y];
    else out[y] = {std::min(a[y].left, b[y].left), std::max(a[y].right, b[y].right)};
  }
  return out;
}

void CopySpans(TBitmap32& to, const TBitmap32& from, const std::vector<RowSpan>& spans) {
  if (to.Width() != from.Width() || to.Height() != from.Height()) return;
  const int32_t rows = std::min<int32_t>(to.Height(), int32_t(spans.size()));
  ForEachBand(rows, 64, [&](int64_t first, int64_t last) {
    for (int32_t y = int32_t(first); y < int32_t(last); ++y) {
      const RowSpan s = spans[size_t(y)];
      if (!s.Empty()) std::memcpy(to.Row(y) + s.left, from.Row(y) + s.left, size_t(s.right - s.left) * sizeof(Pixel));
    }
  });
}

}  // namespace ov
