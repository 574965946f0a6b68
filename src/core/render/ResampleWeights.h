#pragma once
// Precomputed weight tables for separable resampling. For every visible destination
// position a table holds the first source index, the number of taps and their weights
// in 14-bit fixed point, normalised to sum exactly 1 << kWeightBits. Source indices
// outside the source are folded onto its edge pixels.
#include <cstdint>
#include <vector>

#include "core/render/Bitmap32.h"

namespace ov {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;

// The filter kernels: radius and weight at distance x (in source pixels when enlarging).
double KernelRadius(StretchFilter filter);
double KernelWeight(StretchFilter filter, double x);

struct WeightTable {
  std::vector<int32_t> start;    // first source index of each position
  std::vector<int32_t> count;    // taps of each position (at least 1)
  std::vector<int32_t> offset;   // where each position's weights begin in weights
  std::vector<int16_t> weights;
  int32_t maxCount = 0;

  int32_t Size() const { return static_cast<int32_t>(start.size()); }
  const int16_t* WeightsOf(int32_t i) const { return weights.data() + offset[size_t(i)]; }
};

// Weights for the destination positions firstVisible .. firstVisible + visibleLen − 1 of a
// destination dstLen long that shows a source srcLen long. Pixel centres map linearly:
// destination x covers source (x + 0.5) · srcLen / dstLen − 0.5. When shrinking, the kernel
// is widened by the reduction factor. Nearest takes the source pixel under that centre;
// so does every filter when the lengths are equal.
WeightTable BuildWeightTable(StretchFilter filter, int64_t dstLen, int64_t firstVisible,
                             int32_t visibleLen, int32_t srcLen);

}  // namespace ov
