#include "core/render/ResampleWeights.h"

#include <algorithm>
#include <cmath>

namespace ov {

double KernelRadius(StretchFilter filter) {
  switch (filter) {
    case StretchFilter::Nearest: return 0.5;
    case StretchFilter::Linear2: return 1.0;
    case StretchFilter::Spline: return 2.0;
  }
  return 1.0;
}

double KernelWeight(StretchFilter filter, double x) {
  x = std::fabs(x);
  switch (filter) {
    case StretchFilter::Nearest:
      return x < 0.5 ? 1.0 : 0.0;
    case StretchFilter::Linear2:
      return x < 1.0 ? 1.0 - x : 0.0;
    case StretchFilter::Spline:
      // Cubic B-spline: smooth, never negative, so results stay inside 0..255.
      if (x < 1.0) return 2.0 / 3.0 - x * x + x * x * x / 2.0;
      if (x < 2.0) {
        double t = 2.0 - x;
        return t * t * t / 6.0;
      }
      return 0.0;
  }
  return 0.0;
}

namespace {

// floor(((2x + 1) · srcLen) / (2 · dstLen)) without overflow for any 32-bit geometry.
int32_t NearestIndex(int64_t x, int64_t dstLen, int32_t srcLen) {
  unsigned __int128 num = static_cast<unsigned __int128>(2 * x + 1) * static_cast<uint64_t>(srcLen);
  unsigned __int128 den = static_cast<unsigned __int128>(2 * dstLen);
  int64_t i = static_cast<int64_t>(num / den);
  return static_cast<int32_t>(std::clamp<int64_t>(i, 0, srcLen - 1));
}

}  // namespace

WeightTable BuildWeightTable(StretchFilter filter, int64_t dstLen, int64_t firstVisible,
                             int32_t visibleLen, int32_t srcLen) {
  WeightTable t;
  if (visibleLen <= 0 || srcLen <= 0 || dstLen <= 0) return t;
  t.start.resize(size_t(visibleLen));
  t.count.resize(size_t(visibleLen));
  t.offset.resize(size_t(visibleLen));

  // At the same size every filter shows each pixel as it is: the B-spline would
  // otherwise soften a picture that needs no scaling at all.
  if (filter == StretchFilter::Nearest || dstLen == srcLen) {
    t.weights.assign(size_t(visibleLen), int16_t(kWeightOne));
    for (int32_t i = 0; i < visibleLen; ++i) {
      t.start[size_t(i)] = NearestIndex(firstVisible + i, dstLen, srcLen);
      t.count[size_t(i)] = 1;
      t.offset[size_t(i)] = i;
    }
    t.maxCount = 1;
    return t;
  }

  const double scale = double(dstLen) / double(srcLen);
  const double widen = scale < 1.0 ? scale : 1.0;  // kernel argument factor
  const double support = KernelRadius(filter) / widen;
  std::vector<double> acc;
  std::vector<int32_t> fixed;
  t.weights.reserve(size_t(visibleLen) * size_t(std::ceil(2 * support) + 1));
  for (int32_t i = 0; i < visibleLen; ++i) {
    const double center = (double(firstVisible + i) + 0.5) / scale - 0.5;
    int64_t lo = int64_t(std::ceil(center - support));
    int64_t hi = int64_t(std::floor(center + support));
    int64_t first = std::clamp<int64_t>(lo, 0, srcLen - 1);
    int64_t last = std::clamp<int64_t>(hi, 0, srcLen - 1);
    acc.assign(size_t(last - first + 1), 0.0);
    double sum = 0;
    for (int64_t j = lo; j <= hi; ++j) {
      double w = KernelWeight(filter, (double(j) - center) * widen);
      if (w <= 0) continue;
      acc[size_t(std::clamp<int64_t>(j, first, last) - first)] += w;
      sum += w;
    }
    fixed.assign(acc.size(), 0);
    if (sum <= 0) {
      // No tap reached (cannot happen for sane geometry): take the nearest pixel.
      first = std::clamp<int64_t>(int64_t(std::floor(center + 0.5)), 0, srcLen - 1);
      fixed.assign(1, kWeightOne);
    } else {
      int32_t total = 0;
      size_t biggest = 0;
      for (size_t k = 0; k < acc.size(); ++k) {
        fixed[k] = int32_t(std::lround(acc[k] / sum * kWeightOne));
        total += fixed[k];
        if (fixed[k] > fixed[biggest]) biggest = k;
      }
      fixed[biggest] += kWeightOne - total;  // the sum is exactly one
    }
    // Drop zero taps at both ends.
    size_t b = 0, e = fixed.size();
    while (b + 1 < e && fixed[b] == 0) ++b;
    while (e - 1 > b && fixed[e - 1] == 0) --e;
    t.start[size_t(i)] = int32_t(first + int64_t(b));
    t.count[size_t(i)] = int32_t(e - b);
    t.offset[size_t(i)] = int32_t(t.weights.size());
    for (size_t k = b; k < e; ++k) t.weights.push_back(int16_t(fixed[k]));
    t.maxCount = std::max(t.maxCount, int32_t(e - b));
  }
  return t;
}

}  // namespace ov
