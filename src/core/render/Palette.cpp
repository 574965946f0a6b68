#include "core/render/Palette.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace ov {

Palette StandardPalette16() {
  return {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
          0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
}

namespace {

inline int32_t Dist2(int32_t r, int32_t g, int32_t b, Pixel p) {
  int32_t dr = r - int32_t(RedOf(p)), dg = g - int32_t(GreenOf(p)), db = b - int32_t(BlueOf(p));
  return dr * dr + dg * dg + db * db;
}

int Nearest(const Palette& pal, int32_t r, int32_t g, int32_t b) {
  int best = 0;
  int32_t bestD = INT32_MAX;
  for (size_t i = 0; i < pal.size(); ++i) {
    int32_t d = Dist2(r, g, b, pal[i]);
    if (d < bestD) {
      bestD = d;
      best = int(i);
    }
  }
  return best;
}

// One histogram bin: the pixels whose colour falls into a 5-5-5 cell.
struct Bin {
  double count = 0, r = 0, g = 0, b = 0;  // count and colour sums
  int32_t Mean(int c) const { return int32_t((c == 0 ? r : c == 1 ? g : b) / count + 0.5); }
};

struct Box {
  std::vector<int32_t> bins;  // indices of non-empty bins
  double count = 0;
  int axis = 0;
  double score = 0;  // how much splitting it would help
};

void Measure(Box& box, const std::vector<Bin>& hist) {
  double sum[3] = {0, 0, 0}, sq[3] = {0, 0, 0};
  box.count = 0;
  for (int32_t i : box.bins) {
    const Bin& b = hist[size_t(i)];
    for (int c = 0; c < 3; ++c) {
      double m = (c == 0 ? b.r : c == 1 ? b.g : b.b) / b.count;
      sum[c] += m * b.count;
      sq[c] += m * m * b.count;
    }
    box.count += b.count;
  }
  box.score = 0;
  for (int c = 0; c < 3; ++c) {
    double var = box.count > 0 ? sq[c] - sum[c] * sum[c] / box.count : 0;  // count × variance
    if (var > box.score) {
      box.score = var;
      box.axis = c;
    }
  }
  if (box.bins.size() < 2) box.score = 0;
}

}  // namespace

int NearestPaletteIndex(const Palette& palette, Pixel color) {
  return Nearest(palette, int32_t(RedOf(color)), int32_t(GreenOf(color)), int32_t(BlueOf(color)));
}

Palette BuildAdaptivePalette(const TBitmap32& picture, int maxColors) {
  maxColors = std::clamp(maxColors, 1, 256);
  // The histogram holds only the cells the picture uses, in cell order: a first pass
  // numbers them, a second sums their pixels. A small picture then costs a 64 KB table of
  // slots instead of a megabyte of mostly empty bins.
  auto cellOf = [](Pixel p) { return size_t(((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F)); };
  std::vector<uint16_t> slot(32768, 0);  // 1 + the bin of a used cell, 0 when unused
  for (int32_t y = 0; y < picture.Height(); ++y) {
    const Pixel* row = picture.Row(y);
    for (int32_t x = 0; x < picture.Width(); ++x) slot[cellOf(row[x])] = 1;
  }
  Box all;
  for (size_t cell = 0; cell < slot.size(); ++cell)
    if (slot[cell]) {
      all.bins.push_back(int32_t(all.bins.size()));
      slot[cell] = uint16_t(all.bins.size());
    }
  std::vector<Bin> hist(all.bins.size());
  for (int32_t y = 0; y < picture.Height(); ++y) {
    const Pixel* row = picture.Row(y);
    for (int32_t x = 0; x < picture.Width(); ++x) {
      const Pixel p = row[x];
      Bin& b = hist[slot[cellOf(p)] - 1u];
      b.count += 1;
      b.r += RedOf(p);
      b.g += GreenOf(p);
      b.b += BlueOf(p);
    }
  }
  if (all.bins.empty()) return {kBlack32};
  Measure(all, hist);

  // Median cut: split the box whose colours spread most, at the pixel median of its
  // widest axis, until there are enough boxes or none can be split.
  std::vector<Box> boxes{std::move(all)};
  while (int(boxes.size()) < maxColors) {
    auto it = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.score < b.score; });
    if (it->score <= 0) break;
    Box box = std::move(*it);
    boxes.erase(it);
    const int axis = box.axis;
    std::sort(box.bins.begin(), box.bins.end(), [&](int32_t a, int32_t b) {
      return hist[size_t(a)].Mean(axis) < hist[size_t(b)].Mean(axis);
    });
    double half = box.count / 2, acc = 0;
    size_t cut = 1;
    for (size_t k = 0; k + 1 < box.bins.size(); ++k) {
      acc += hist[size_t(box.bins[k])].count;
      cut = k + 1;
      if (acc >= half) break;
    }
    Box lo, hi;
    lo.bins.assign(box.bins.begin(), box.bins.begin() + long(cut));
    hi.bins.assign(box.bins.begin() + long(cut), box.bins.end());
    Measure(lo, hist);
    Measure(hi, hist);
    boxes.push_back(std::move(lo));
    boxes.push_back(std::move(hi));
  }

  // Each box's mean colour, then k-means rounds over the bins.
  std::vector<std::array<double, 3>> centres;
  for (const Box& box : boxes) {
    std::array<double, 3> s{0, 0, 0};
    for (int32_t i : box.bins) {
      s[0] += hist[size_t(i)].r;
      s[1] += hist[size_t(i)].g;
      s[2] += hist[size_t(i)].b;
    }
    centres.push_back({s[0] / box.count, s[1] / box.count, s[2] / box.count});
  }
  std::vector<int32_t> used;
  for (const Box& box : boxes) used.insert(used.end(), box.bins.begin(), box.bins.end());
  for (int round = 0; round < 4; ++round) {
    std::vector<std::array<double, 4>> sums(centres.size(), {0, 0, 0, 0});
    for (int32_t i : used) {
      const Bin& b = hist[size_t(i)];
      double r = b.r / b.count, g = b.g / b.count, bl = b.b / b.count;
      size_t best = 0;
      double bestD = 1e30;
      for (size_t c = 0; c < centres.size(); ++c) {
        double dr = r - centres[c][0], dg = g - centres[c][1], db = bl - centres[c][2];
        double d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
          bestD = d;
          best = c;
        }
      }
      sums[best][0] += b.r;
      sums[best][1] += b.g;
      sums[best][2] += b.b;
      sums[best][3] += b.count;
    }
    for (size_t c = 0; c < centres.size(); ++c)
      if (sums[c][3] > 0) centres[c] = {sums[c][0] / sums[c][3], sums[c][1] / sums[c][3], sums[c][2] / sums[c][3]};
  }
  Palette pal;
  for (const auto& c : centres) {
    auto q = [](double v) { return uint32_t(std::clamp(v + 0.5, 0.0, 255.0)); };
    pal.push_back(MakeArgb(255, q(c[0]), q(c[1]), q(c[2])));
  }
  return pal;
}

std::vector<uint8_t> DitherToPalette(const TBitmap32& picture, const Palette& palette) {
  const int32_t w = picture.Width(), h = picture.Height();
  std::vector<uint8_t> out(size_t(w) * size_t(h));
  if (w == 0 || h == 0 || palette.empty()) return out;
  // Nearest entries per 7-7-7 cell of the corrected colour (cells 2 levels wide), cached
  // when the picture is large enough for the 4 MB cache to cost less than the searches
  // it saves; a small picture searches its cells directly, with the same result.
  constexpr size_t kCells = size_t(1) << 21;
  const bool cached = size_t(w) * size_t(h) * palette.size() > kCells;
  std::vector<int16_t> cache(cached ? kCells : 0, -1);
  auto lookup = [&](int32_t r, int32_t g, int32_t b) -> int16_t {
    if ((r | g | b) & ~255) return int16_t(Nearest(palette, r, g, b));  // outside the cube
    auto ofCell = [&] { return int16_t(Nearest(palette, (r & ~1) + 1, (g & ~1) + 1, (b & ~1) + 1)); };
    if (!cached) return ofCell();
    int16_t& e = cache[(size_t(r >> 1) << 14) | (size_t(g >> 1) << 7) | size_t(b >> 1)];
    if (e < 0) e = ofCell();
    return e;
  };
  // Error rows with one spare pixel each side, in 1/16 units.
  std::vector<int32_t> cur(size_t(w + 2) * 3, 0), next(size_t(w + 2) * 3, 0);
  for (int32_t y = 0; y < h; ++y) {
    const Pixel* row = picture.Row(y);
    uint8_t* o = out.data() + size_t(y) * size_t(w);
    const bool ltr = (y % 2) == 0;
    const int32_t step = ltr ? 1 : -1;
    std::fill(next.begin(), next.end(), 0);
    for (int32_t i = 0; i < w; ++i) {
      const int32_t x = ltr ? i : w - 1 - i;
      const size_t e = size_t(x + 1) * 3;
      const Pixel p = row[x];
      int32_t c[3] = {int32_t(RedOf(p)), int32_t(GreenOf(p)), int32_t(BlueOf(p))};
      // The corrected colour may leave the cube a little: clamping it at 0..255 would
      // drop error that a sparse palette needs to reach colours between its entries.
      for (int k = 0; k < 3; ++k) c[k] = std::clamp(c[k] + ((cur[e + size_t(k)] + 8) >> 4), -16, 271);
      const int16_t idx = lookup(c[0], c[1], c[2]);
      o[x] = uint8_t(idx);
      const Pixel q = palette[size_t(idx)];
      const int32_t err[3] = {c[0] - int32_t(RedOf(q)), c[1] - int32_t(GreenOf(q)), c[2] - int32_t(BlueOf(q))};
      const size_t ahead = size_t(int64_t(e) + 3 * step), behind = size_t(int64_t(e) - 3 * step);
      for (int k = 0; k < 3; ++k) {
        cur[ahead + size_t(k)] += err[k] * 7;
        next[behind + size_t(k)] += err[k] * 3;
        next[e + size_t(k)] += err[k] * 5;
        next[ahead + size_t(k)] += err[k] * 1;
      }
    }
    std::swap(cur, next);
  }
  return out;
}

}  // namespace ov
