#pragma once
// Number rules used throughout the program: Round is round-half-to-even, Trunc cuts
// toward zero, and C++ integer division already truncates toward zero.
#include <cmath>
#include <cstdint>
#include <limits>

namespace ov {

// Round half to even, as the calendar geometry and the picture placement require.
// NaN gives 0; values beyond the 64-bit range saturate.
inline int64_t Round(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (v <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(std::nearbyint(v));  // default FE_TONEAREST = ties to even
}

inline int32_t Round32(double v) {
  int64_t r = Round(v);
  if (r > INT32_MAX) return INT32_MAX;
  if (r < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(r);
}

// Truncation toward zero, saturating like Round.
inline int64_t Trunc(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (v <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

template <typename T>
constexpr T Clamp(T v, T lo, T hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace ov
