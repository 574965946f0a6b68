#include "core/render/Resample.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

#include "core/render/Avx2.h"
#include "core/render/Bands.h"
#include "core/render/Blend.h"
#include "core/render/ResampleWeights.h"

namespace ov {

namespace {

// Fixed-point stages: the horizontal pass keeps 7 fractional bits per channel (values
// up to 255 << 7 fit a signed 16-bit lane); the vertical pass rounds back to 8 bits.
constexpr int kMidShift = kWeightBits - 7;
constexpr int kOutShift = kWeightBits + 7;

struct Plan {
  Rect visible;        // destination pixels to compute
  Rect source;         // srcRect clipped to src
  int64_t dstWidth = 0, dstHeight = 0;
  int64_t firstX = 0, firstY = 0;  // visible corner relative to dstRect
  bool ok = false;
};

Plan MakePlan(const TBitmap32& dst, const Rect& dstRect, const TBitmap32& src, const Rect& srcRect) {
  Plan p;
  if (dst.Empty() || src.Empty() || dstRect.Empty()) return p;
  p.source = srcRect.Intersect(src.BoundsRect());
  if (p.source.Empty()) return p;
  p.visible = dstRect.Intersect(dst.BoundsRect());
  if (p.visible.Empty()) return p;
  p.dstWidth = dstRect.Width();
  p.dstHeight = dstRect.Height();
  p.firstX = int64_t(p.visible.left) - dstRect.left;
  p.firstY = int64_t(p.visible.top) - dstRect.top;
  p.ok = true;
  return p;
}

inline Pixel Premultiply(Pixel p) {
  uint32_t a = AlphaOf(p);
  if (a == 255) return p;
  return MakeArgb(a, Div255(RedOf(p) * a), Div255(GreenOf(p) * a), Div255(BlueOf(p) * a));
}

inline Pixel Unpremultiply(Pixel p) {
  uint32_t a = AlphaOf(p);
  if (a == 255) return p;
  if (a == 0) return 0;
  auto c = [a](uint32_t v) { return std::min<uint32_t>(255, (v * 255 + a / 2) / a); };
  return MakeArgb(a, c(RedOf(p)), c(GreenOf(p)), c(BlueOf(p)));
}

bool RowOpaque(const Pixel* p, size_t n) {
  uint32_t all = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) all &= p[i];
  return (all >> 24) == 255;
}

// Source row span [first, first + n) in premultiplied form: the row itself when opaque.
// The reference (`fast` false) takes every pixel alone.
const Pixel* PremultipliedRow(const Pixel* row, int32_t first, int32_t n, std::vector<Pixel>& scratch, bool fast) {
  if (RowOpaque(row + first, size_t(n))) return row + first;
  scratch.resize(size_t(n));
  int32_t i = 0;
#if defined(__SSE2__)
  // Four pixels at a time with the same rounding: each colour times its alpha, divided by
  // 255; alpha itself times 255, which divides back to it exactly.
  const __m128i zero = _mm_setzero_si128(), c128 = _mm_set1_epi16(128);
  const __m128i alphaLanes = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
  const __m128i alphaOnly = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
  auto half = [&](__m128i v) {
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF);
    __m128i x = _mm_add_epi16(_mm_mullo_epi16(_mm_or_si128(_mm_andnot_si128(alphaOnly, v), alphaLanes), a), c128);
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
  };
  for (; fast && i + 4 <= n; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + first + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(scratch.data() + i),
                     _mm_packus_epi16(half(_mm_unpacklo_epi8(v, zero)), half(_mm_unpackhi_epi8(v, zero))));
  }
#endif
  for (; i < n; ++i) scratch[size_t(i)] = Premultiply(row[first + i]);
  return scratch.data();
}

void WriteRow(Pixel* dst, const Pixel* result, size_t n, DrawMode mode, uint32_t master, bool fast = true) {
  if (mode == DrawMode::Opaque)
    std::memcpy(dst, result, n * sizeof(Pixel));
  else if (fast)
    BlendSpanMaster(result, dst, n, master);
  else
    BlendSpanMasterReference(result, dst, n, master);
}

// ---- scalar passes (the reference arithmetic) ----

// One source row (already premultiplied, indices relative to the span start `base`)
// into 4 channels × visible width of 16-bit values.
void HorizontalScalar(const Pixel* row, int32_t base, const WeightTable& h, int16_t* out) {
  for (int32_t x = 0; x < h.Size(); ++x) {
    const int16_t* w = h.WeightsOf(x);
    const Pixel* p = row + (h.start[size_t(x)] - base);
    int32_t acc[4] = {0, 0, 0, 0};
    for (int32_t k = 0; k < h.count[size_t(x)]; ++k) {
      const Pixel v = p[k];
      acc[0] += w[k] * int32_t(v & 0xFF);
      acc[1] += w[k] * int32_t((v >> 8) & 0xFF);
      acc[2] += w[k] * int32_t((v >> 16) & 0xFF);
      acc[3] += w[k] * int32_t(v >> 24);
    }
    for (int c = 0; c < 4; ++c) out[4 * x + c] = int16_t((acc[c] + (1 << (kMidShift - 1))) >> kMidShift);
  }
}

void VerticalScalar(const int16_t* const* rows, const int16_t* w, int32_t count, int32_t width, Pixel* out) {
  for (int32_t x = 0; x < width; ++x) {
    int32_t acc[4] = {0, 0, 0, 0};
    for (int32_t k = 0; k < count; ++k)
      for (int c = 0; c < 4; ++c) acc[c] += w[k] * int32_t(rows[k][4 * x + c]);
    uint32_t v[4];
    for (int c = 0; c < 4; ++c) v[c] = uint32_t((acc[c] + (1 << (kOutShift - 1))) >> kOutShift);
    out[x] = Unpremultiply(MakeArgb(v[3], v[2], v[1], v[0]));
  }
}

// ---- SSE2 passes: the same sums, two taps per multiply-add ----
#if defined(__SSE2__)

// The horizontal weights as 16-bit pairs (w[k] low, w[k + 1] high) for one multiply-add
// per two taps; an odd last tap is paired with 0.
struct PairedWeights {
  std::vector<int32_t> pairs;
  std::vector<int32_t> first;   // first pair of each position
  std::vector<int32_t> npairs;  // pairs of each position

  // The same weights with as many pairs (`uniformPairs`) for every position, padded with
  // zero weights, so that a vector pass treats all positions alike: a zero weight adds
  // nothing, and the sums stay exactly those above. Each padded window lies inside the
  // source span [spanFirst, spanFirst + spanLen): one that would end past it starts
  // earlier, with leading zeros. Empty when the span is shorter than a padded window.
  // uniformPairs pairs per position, laid out for the AVX2 pass, which takes two
  // positions at a time: for each pair k of positions x and x + 1 (x even), eight values,
  // pair k of x four times and then pair k of x + 1 four times.
  std::vector<int32_t> uniform;
  std::vector<int32_t> uniformStart;  // first source index of each padded window
  int32_t uniformPairs = 0;

  PairedWeights(const WeightTable& h, int32_t spanFirst, int32_t spanLen) {
    first.resize(size_t(h.Size()));
    npairs.resize(size_t(h.Size()));
    for (int32_t x = 0; x < h.Size(); ++x) {
      const int16_t* w = h.WeightsOf(x);
      const int32_t n = h.count[size_t(x)];
      first[size_t(x)] = int32_t(pairs.size());
      npairs[size_t(x)] = (n + 1) / 2;
      for (int32_t k = 0; k < n; k += 2) {
        uint32_t hi = k + 1 < n ? uint16_t(w[k + 1]) : 0u;
        pairs.push_back(int32_t((hi << 16) | uint16_t(w[k])));
      }
    }
    const int32_t taps = 2 * ((h.maxCount + 1) / 2);
    if (h.Size() == 0 || taps > spanLen) return;
    uniformPairs = taps / 2;
    uniform.assign(size_t(h.Size() + 1) / 2 * size_t(uniformPairs) * 8, 0);
    uniformStart.resize(size_t(h.Size()));
    std::vector<uint16_t> padded(static_cast<size_t>(taps));
    for (int32_t x = 0; x < h.Size(); ++x) {
      const int32_t start = std::min(h.start[size_t(x)], spanFirst + spanLen - taps);
      const int32_t lead = h.start[size_t(x)] - start;
      std::fill(padded.begin(), padded.end(), uint16_t(0));
      for (int32_t k = 0; k < h.count[size_t(x)]; ++k) padded[size_t(lead + k)] = uint16_t(h.WeightsOf(x)[k]);
      uniformStart[size_t(x)] = start;
      int32_t* out = uniform.data() + size_t(x / 2) * size_t(uniformPairs) * 8 + size_t(x % 2) * 4;
      for (int32_t k = 0; k < uniformPairs; ++k)
        std::fill_n(out + 8 * k, 4, int32_t((uint32_t(padded[size_t(2 * k + 1)]) << 16) | padded[size_t(2 * k)]));
    }
  }
};

// One position of the horizontal pass.
inline void HorizontalOne(const Pixel* row, int32_t base, const WeightTable& h, const PairedWeights& pw, int32_t x,
                          int16_t* out) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i round = _mm_set1_epi32(1 << (kMidShift - 1));
  const Pixel* p = row + (h.start[size_t(x)] - base);
  const int32_t* wp = pw.pairs.data() + pw.first[size_t(x)];
  const int32_t n = h.count[size_t(x)];
  __m128i acc = zero;
  int32_t k = 0;
  for (; k + 1 < n; k += 2, ++wp) {
    // Two neighbouring pixels as b0 b1 g0 g1 r0 r1 a0 a1 in 16-bit lanes.
    __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + k));
    v = _mm_unpacklo_epi8(_mm_unpacklo_epi8(v, _mm_srli_si128(v, 4)), zero);
    acc = _mm_add_epi32(acc, _mm_madd_epi16(v, _mm_set1_epi32(*wp)));
  }
  if (k < n) {
    __m128i v = _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(p[k])), zero), zero);
    acc = _mm_add_epi32(acc, _mm_madd_epi16(v, _mm_set1_epi32(*wp)));
  }
  acc = _mm_srai_epi32(_mm_add_epi32(acc, round), kMidShift);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * x), _mm_packs_epi32(acc, acc));
}

void HorizontalFast(const Pixel* row, int32_t base, const WeightTable& h, const PairedWeights& pw, int32_t from,
                    int32_t to, int16_t* out) {
  for (int32_t x = from; x < to; ++x) HorizontalOne(row, base, h, pw, x, out);
}

void VerticalFast(const int16_t* const* rows, const int16_t* w, int32_t count, int32_t width, Pixel* out) {
  const __m128i round = _mm_set1_epi32(1 << (kOutShift - 1));
  const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
  // Weight pairs for the rows taken two at a time; an odd last row pairs with weight 0
  // and reads its own row twice.
  int32_t pairs[64];
  std::vector<int32_t> manyPairs;
  int32_t* ww = pairs;
  const int32_t npairs = (count + 1) / 2;
  if (npairs > 64) {
    manyPairs.resize(size_t(npairs));
    ww = manyPairs.data();
  }
  for (int32_t k = 0; k < count; k += 2) {
    uint32_t hi = k + 1 < count ? uint16_t(w[k + 1]) : 0u;
    ww[k / 2] = int32_t((hi << 16) | uint16_t(w[k]));
  }
  int32_t x = 0;
  for (; x + 2 <= width; x += 2) {
    __m128i acc0 = _mm_setzero_si128(), acc1 = _mm_setzero_si128();
    for (int32_t k = 0; k < count; k += 2) {
      const int16_t* second = rows[k + 1 < count ? k + 1 : k];
      __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + 4 * x));
      __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second + 4 * x));
      __m128i wv = _mm_set1_epi32(ww[k / 2]);
      acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), wv));
      acc1 = _mm_add_epi32(acc1, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), wv));
    }
    acc0 = _mm_srai_epi32(_mm_add_epi32(acc0, round), kOutShift);
    acc1 = _mm_srai_epi32(_mm_add_epi32(acc1, round), kOutShift);
    __m128i px = _mm_packus_epi16(_mm_packs_epi32(acc0, acc1), _mm_setzero_si128());
    if ((_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(px, alpha), alpha)) & 0xFF) == 0xFF) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), px);  // opaque: nothing to undo
    } else {
      Pixel two[2];
      _mm_storel_epi64(reinterpret_cast<__m128i*>(two), px);
      out[x] = Unpremultiply(two[0]);
      out[x + 1] = Unpremultiply(two[1]);
    }
  }
  if (x < width) {
    const int16_t* tail[64] = {};
    std::vector<const int16_t*> many;
    const int16_t** r = tail;
    if (count > 64) { many.resize(size_t(count)); r = many.data(); }
    for (int32_t k = 0; k < count; ++k) r[k] = rows[k] + 4 * x;
    VerticalScalar(r, w, count, width - x, out + x);
  }
}

// ---- AVX2 vertical pass: the SSE2 sums four pixels at a time, chosen at run time ----
#if defined(__GNUC__) && defined(__x86_64__)
#define OV_HAVE_AVX2_KERNELS 1

// Two pixels of UnpremultiplyAvx2 as 32-bit lanes (b g r a b g r a).
__attribute__((target("avx2"))) inline __m256i UnpremultiplyTwoAvx2(__m128i pixels) {
  const __m256i v = _mm256_cvtepu8_epi32(pixels);
  const __m256i a = _mm256_shuffle_epi32(v, _MM_SHUFFLE(3, 3, 3, 3));
  const __m256i c = _mm256_min_epu32(v, a);
  const __m256i n = _mm256_add_epi32(_mm256_sub_epi32(_mm256_slli_epi32(c, 8), c), _mm256_srli_epi32(a, 1));
  const __m256 divisor = _mm256_cvtepi32_ps(_mm256_max_epi32(a, _mm256_set1_epi32(1)));
  // 1 / a from the estimate (relative error under 1.5 · 2^-12) and one Newton step (then
  // under 2^-21); the bias lifts a whole quotient that came out a hair low.
  __m256 inverse = _mm256_rcp_ps(divisor);
  inverse = _mm256_mul_ps(inverse, _mm256_sub_ps(_mm256_set1_ps(2.0f), _mm256_mul_ps(divisor, inverse)));
  const __m256 quotient = _mm256_mul_ps(_mm256_cvtepi32_ps(n), inverse);
  const __m256i q = _mm256_cvttps_epi32(_mm256_add_ps(quotient, _mm256_set1_ps(1.0f / 1024)));
  return _mm256_blend_epi32(q, a, 0x88);  // alpha as it was
}

// Unpremultiply of four pixels, the same values as the scalar one without its integer
// divisions: each colour channel c becomes (min(c, a) · 255 + a / 2) / a rounded down,
// which never exceeds 255 (the scalar one clamps to 255 exactly where c > a); alpha
// stays, and a = 0 gives 0. The quotient is taken in single precision, which is exact
// here: a quotient under 256 comes out within 2^-12 of the true one, the bias of 2^-10
// lifts a whole one that came out low back to it, and any other lies at least 1/255
// below the next whole number, far more than error and bias together.
__attribute__((target("avx2"))) inline __m128i UnpremultiplyAvx2(__m128i four) {
  const __m256i lo = UnpremultiplyTwoAvx2(four), hi = UnpremultiplyTwoAvx2(_mm_srli_si128(four, 8));
  // 16-bit values: pixels 0 and 2 in the low half, 1 and 3 in the high one; then bytes,
  // and the pixels back in order.
  const __m256i bytes = _mm256_packus_epi16(_mm256_packus_epi32(lo, hi), _mm256_setzero_si256());
  return _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 3, 6, 7)));
}

// Four pixels from the vertical sums (each 128-bit half of acc0 and acc1 holds two: the
// low unpack gives pixels 0 and 2, the high one pixels 1 and 3). Always inlined: a
// 256-bit value is never passed in a call.
__attribute__((target("avx2"), always_inline)) inline void StoreFourAvx2(__m256i acc0, __m256i acc1, Pixel* to) {
  const __m256i round = _mm256_set1_epi32(1 << (kOutShift - 1));
  const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
  acc0 = _mm256_srai_epi32(_mm256_add_epi32(acc0, round), kOutShift);
  acc1 = _mm256_srai_epi32(_mm256_add_epi32(acc1, round), kOutShift);
  __m256i px = _mm256_packus_epi16(_mm256_packs_epi32(acc0, acc1), _mm256_setzero_si256());
  // Pixels 0 1 in the low 64 bits of the first half, 2 3 in those of the second.
  const __m128i four = _mm256_castsi256_si128(_mm256_permute4x64_epi64(px, 0x08));
  // Opaque pixels, and black ones of any alpha (the dark of an overlay whose alpha comes
  // from brightness), are their own unpremultiplied values: nothing to undo.
  const __m128i opaque = _mm_cmpeq_epi32(_mm_and_si128(four, alpha), alpha);
  const __m128i black = _mm_cmpeq_epi32(_mm_andnot_si128(alpha, four), _mm_setzero_si128());
  if (_mm_movemask_epi8(_mm_or_si128(opaque, black)) == 0xFFFF)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), four);
  else
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), UnpremultiplyAvx2(four));
}

__attribute__((target("avx2"))) void VerticalAvx2(const int16_t* const* rows, const int16_t* w, int32_t count,
                                                  int32_t width, Pixel* out) {
  int32_t pairs[64];
  std::vector<int32_t> manyPairs;
  int32_t* ww = pairs;
  const int32_t npairs = (count + 1) / 2;
  if (npairs > 64) {
    manyPairs.resize(size_t(npairs));
    ww = manyPairs.data();
  }
  for (int32_t k = 0; k < count; k += 2) {
    uint32_t hi = k + 1 < count ? uint16_t(w[k + 1]) : 0u;
    ww[k / 2] = int32_t((hi << 16) | uint16_t(w[k]));
  }
  // The second row of each pair; an odd last row is read twice, with weight 0.
  const int16_t* seconds[64];
  std::vector<const int16_t*> manySeconds;
  const int16_t** second = seconds;
  if (npairs > 64) {
    manySeconds.resize(size_t(npairs));
    second = manySeconds.data();
  }
  for (int32_t k = 0; k < count; k += 2) second[k / 2] = rows[k + 1 < count ? k + 1 : k];
  int32_t x = 0;
  // Eight pixels at a time: each pair of rows and its weights serve two groups of four.
  for (; x + 8 <= width; x += 8) {
    __m256i acc0 = _mm256_setzero_si256(), acc1 = _mm256_setzero_si256();
    __m256i acc2 = _mm256_setzero_si256(), acc3 = _mm256_setzero_si256();
    for (int32_t k = 0; k < npairs; ++k) {
      const __m256i* a = reinterpret_cast<const __m256i*>(rows[2 * k] + 4 * x);
      const __m256i* b = reinterpret_cast<const __m256i*>(second[k] + 4 * x);
      const __m256i a0 = _mm256_loadu_si256(a), a1 = _mm256_loadu_si256(a + 1);
      const __m256i b0 = _mm256_loadu_si256(b), b1 = _mm256_loadu_si256(b + 1);
      const __m256i wv = _mm256_set1_epi32(ww[k]);
      acc0 = _mm256_add_epi32(acc0, _mm256_madd_epi16(_mm256_unpacklo_epi16(a0, b0), wv));
      acc1 = _mm256_add_epi32(acc1, _mm256_madd_epi16(_mm256_unpackhi_epi16(a0, b0), wv));
      acc2 = _mm256_add_epi32(acc2, _mm256_madd_epi16(_mm256_unpacklo_epi16(a1, b1), wv));
      acc3 = _mm256_add_epi32(acc3, _mm256_madd_epi16(_mm256_unpackhi_epi16(a1, b1), wv));
    }
    StoreFourAvx2(acc0, acc1, out + x);
    StoreFourAvx2(acc2, acc3, out + x + 4);
  }
  for (; x + 4 <= width; x += 4) {
    __m256i acc0 = _mm256_setzero_si256(), acc1 = _mm256_setzero_si256();
    for (int32_t k = 0; k < npairs; ++k) {
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[2 * k] + 4 * x));
      const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(second[k] + 4 * x));
      const __m256i wv = _mm256_set1_epi32(ww[k]);
      acc0 = _mm256_add_epi32(acc0, _mm256_madd_epi16(_mm256_unpacklo_epi16(a, b), wv));
      acc1 = _mm256_add_epi32(acc1, _mm256_madd_epi16(_mm256_unpackhi_epi16(a, b), wv));
    }
    StoreFourAvx2(acc0, acc1, out + x);
  }
  if (x < width) {
    const int16_t* tail[64] = {};
    std::vector<const int16_t*> many;
    const int16_t** r = tail;
    if (count > 64) { many.resize(size_t(count)); r = many.data(); }
    for (int32_t k = 0; k < count; ++k) r[k] = rows[k] + 4 * x;
    VerticalFast(r, w, count, width - x, out + x);
  }
}

// The horizontal pass two positions at a time, one in each 128-bit half, over the padded
// windows of PairedWeights (every position the same number of pairs); the same sums as
// the SSE2 pass. An odd last position is left to HorizontalBest. It calls nothing, so no
// 256-bit value has to be kept across a call.
// Positions from (even) to to, two at a time.
__attribute__((target("avx2"))) void HorizontalAvx2(const Pixel* row, int32_t base, const PairedWeights& pw,
                                                    int32_t from, int32_t to, int16_t* out) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i round = _mm256_set1_epi32(1 << (kMidShift - 1));
  const int32_t np = pw.uniformPairs;
  for (int32_t x = from; x + 2 <= to; x += 2) {
    const Pixel* p0 = row + (pw.uniformStart[size_t(x)] - base);
    const Pixel* p1 = row + (pw.uniformStart[size_t(x) + 1] - base);
    const __m256i* w = reinterpret_cast<const __m256i*>(pw.uniform.data() + size_t(x / 2) * size_t(np) * 8);
    __m256i acc = zero;
    for (int32_t k = 0; k < np; ++k) {
      // Two neighbouring pixels of each position as b0 b1 g0 g1 r0 r1 a0 a1 in 16-bit lanes.
      __m256i v = _mm256_setr_m128i(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p0 + 2 * k)),
                                    _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p1 + 2 * k)));
      v = _mm256_unpacklo_epi8(_mm256_unpacklo_epi8(v, _mm256_srli_si256(v, 4)), zero);
      acc = _mm256_add_epi32(acc, _mm256_madd_epi16(v, _mm256_loadu_si256(w + k)));
    }
    acc = _mm256_srai_epi32(_mm256_add_epi32(acc, round), kMidShift);
    const __m256i packed = _mm256_packs_epi32(acc, acc);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * x), _mm256_castsi256_si128(packed));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * x + 4), _mm256_extracti128_si256(packed, 1));
  }
}
#endif

#else
struct PairedWeights {
  PairedWeights(const WeightTable&, int32_t, int32_t) {}
};
void HorizontalFast(const Pixel* row, int32_t base, const WeightTable& h, const PairedWeights&, int32_t, int32_t,
                    int16_t* out) {
  HorizontalScalar(row, base, h, out);
}
void VerticalFast(const int16_t* const* rows, const int16_t* w, int32_t count, int32_t width, Pixel* out) {
  VerticalScalar(rows, w, count, width, out);
}
#endif

// The fastest horizontal pass this processor runs, for the positions [from, to) (a few
// more where the vector pass takes them in pairs); all give the same values.
void HorizontalBest(const Pixel* row, int32_t base, const WeightTable& h, const PairedWeights& pw, int32_t from,
                    int32_t to, int16_t* out) {
#if defined(OV_HAVE_AVX2_KERNELS)
  if (UseAvx2Kernels() && pw.uniformPairs > 0) {
    const int32_t size = h.Size();
    HorizontalAvx2(row, base, pw, from & ~1, std::min(size & ~1, to + (to & 1)), out);
    if (size % 2 && to == size) HorizontalOne(row, base, h, pw, size - 1, out);
    return;
  }
#endif
  HorizontalFast(row, base, h, pw, from, to, out);
}

// The fastest vertical pass this processor runs; all give the same pixels.
void VerticalBest(const int16_t* const* rows, const int16_t* w, int32_t count, int32_t width, Pixel* out) {
#if defined(OV_HAVE_AVX2_KERNELS)
  if (UseAvx2Kernels()) {
    VerticalAvx2(rows, w, count, width, out);
    return;
  }
#endif
  VerticalFast(rows, w, count, width, out);
}

// Source columns that the horizontal table reaches.
void SourceSpan(const WeightTable& h, int32_t& first, int32_t& n) {
  int32_t lo = h.start[0], hi = lo;
  for (int32_t x = 0; x < h.Size(); ++x) {
    lo = std::min(lo, h.start[size_t(x)]);
    hi = std::max(hi, h.start[size_t(x)] + h.count[size_t(x)]);
  }
  first = lo;
  n = hi - lo;
}

void ResampleNearest(TBitmap32& dst, const Plan& p, const TBitmap32& src, DrawMode mode, uint32_t master,
                     const RowFinish* finish) {
  const int32_t vw = p.visible.right - p.visible.left, vh = p.visible.bottom - p.visible.top;
  WeightTable h = BuildWeightTable(StretchFilter::Nearest, p.dstWidth, p.firstX, vw,
                                   p.source.right - p.source.left);
  WeightTable v = BuildWeightTable(StretchFilter::Nearest, p.dstHeight, p.firstY, vh,
                                   p.source.bottom - p.source.top);
  ForEachBand(vh, 32, [&](int64_t firstRow, int64_t lastRow) {
    std::vector<Pixel> line(static_cast<size_t>(vw));
    int32_t lastY = -1;
    for (int32_t y = int32_t(firstRow); y < int32_t(lastRow); ++y) {
      const int32_t sy = v.start[size_t(y)];
      if (sy != lastY) {  // rows repeat when enlarging: gather once
        const Pixel* s = src.Row(p.source.top + sy) + p.source.left;
        for (int32_t x = 0; x < vw; ++x) line[size_t(x)] = s[h.start[size_t(x)]];
        lastY = sy;
      }
      Pixel* const target = dst.Row(p.visible.top + y) + p.visible.left;
      WriteRow(target, line.data(), size_t(vw), mode, master);
      if (finish) (*finish)(target, size_t(vw));
    }
  });
}

// Where a blended source reaches the destination. A transparent source pixel adds
// nothing to any sum, and a result of alpha 0 leaves the destination as it is; so over an
// overlay or a frame that is mostly transparent, only the destination positions whose
// filter windows reach a pixel that is not transparent need computing.
class ReachedPositions {
 public:
  // Positions [first, last).
  struct Range {
    int32_t first, last;
  };

  ReachedPositions(const WeightTable& h, int32_t spanFirst, int32_t spanLen)
      : lo_(size_t(spanLen), h.Size()), hi_(size_t(spanLen), 0) {
    for (int32_t x = 0; x < h.Size(); ++x)
      for (int32_t k = 0; k < h.count[size_t(x)]; ++k) {
        const size_t c = size_t(h.start[size_t(x)] + k - spanFirst);
        lo_[c] = std::min(lo_[c], x);
        hi_[c] = std::max(hi_[c], x + 1);
      }
    // As bounds that only grow from column to column, so that a run of columns reaches
    // at most [lo_ of its first, hi_ of its last): at least what it truly reaches.
    for (size_t c = lo_.size(); c-- > 1;) lo_[c - 1] = std::min(lo_[c - 1], lo_[c]);
    for (size_t c = 1; c < hi_.size(); ++c) hi_[c] = std::max(hi_[c], hi_[c - 1]);
  }

  // The positions reached by the pixels of one source row (its span) that are not
  // transparent, sorted and apart; none for a transparent row. Ranges closer than a few
  // positions are joined, and a row of many is taken whole.
  void OfRow(const Pixel* row, std::vector<Range>& out) const {
    out.clear();
    const size_t n = lo_.size();
    size_t c = 0;
    while (c < n) {
      // A run of transparent pixels, then one of pixels that are not.
      while (c + 4 <= n && ((row[c] | row[c + 1] | row[c + 2] | row[c + 3]) >> 24) == 0) c += 4;
      while (c < n && (row[c] >> 24) == 0) ++c;
      if (c >= n) break;
      const size_t runFirst = c;
      while (c + 4 <= n && (row[c] >> 24) && (row[c + 1] >> 24) && (row[c + 2] >> 24) && (row[c + 3] >> 24)) c += 4;
      while (c < n && (row[c] >> 24)) ++c;
      const Range reached{lo_[runFirst], hi_[c - 1]};
      if (reached.first >= reached.last) continue;
      if (!out.empty() && reached.first <= out.back().last + kJoin) out.back().last = reached.last;
      else out.push_back(reached);
    }
    Tidy(out);
  }

  // The union of several rows' ranges.
  void Unite(const std::vector<Range>* const* rows, int32_t count, std::vector<Range>& out) const {
    out.clear();
    for (int32_t k = 0; k < count; ++k) out.insert(out.end(), rows[k]->begin(), rows[k]->end());
    Tidy(out);
  }

 private:
  static constexpr int32_t kJoin = 16;
  static constexpr size_t kMaxRanges = 16;

  // Sorted, overlapping and near ranges joined, and at most kMaxRanges of them.
  static void Tidy(std::vector<Range>& r) {
    if (r.size() < 2) return;
    std::sort(r.begin(), r.end(), [](const Range& a, const Range& b) { return a.first < b.first; });
    size_t kept = 0;
    for (size_t i = 1; i < r.size(); ++i) {
      if (r[i].first <= r[kept].last + kJoin) r[kept].last = std::max(r[kept].last, r[i].last);
      else r[++kept] = r[i];
    }
    r.resize(kept + 1);
    if (r.size() > kMaxRanges) r = {{r.front().first, r.back().last}};
  }

  std::vector<int32_t> lo_, hi_;  // per source column: the positions whose windows hold it
};

void ResampleFiltered(TBitmap32& dst, const Plan& p, const TBitmap32& src, StretchFilter filter,
                      DrawMode mode, uint32_t master, bool fast, const RowFinish* finish) {
  const int32_t vw = p.visible.right - p.visible.left, vh = p.visible.bottom - p.visible.top;
  const WeightTable h = BuildWeightTable(filter, p.dstWidth, p.firstX, vw, p.source.right - p.source.left);
  const WeightTable v = BuildWeightTable(filter, p.dstHeight, p.firstY, vh, p.source.bottom - p.source.top);
  int32_t spanFirst = 0, spanLen = 0;
  SourceSpan(h, spanFirst, spanLen);
  const PairedWeights paired(h, spanFirst, spanLen);
  // Blending computes only what the source's pixels that are not transparent reach;
  // writing must give every pixel, and the reference computes them all.
  using Range = ReachedPositions::Range;
  const bool sparse = fast && mode == DrawMode::Blend;
  std::optional<ReachedPositions> reached;
  if (sparse) reached.emplace(h, spanFirst, spanLen);

  // Each band of destination rows works on its own; the source rows at a band's edges are
  // filtered by both neighbours, which costs a few rows and gives the same pixels.
  auto band = [&](int64_t firstRow, int64_t lastRow) {
    // Horizontally filtered source rows in a ring: row j lives in slot j % cap, and a tag
    // says which row a slot holds, so a row is filtered once however often it is used.
    // With each, the positions it holds sums for; the rest of it is zero.
    const int32_t cap = v.maxCount + 1;
    const size_t rowLen = size_t(vw) * 4;
    std::vector<int16_t> ring(rowLen * size_t(cap));
    std::vector<int32_t> tag(size_t(cap), -1);
    std::vector<std::vector<Range>> held(static_cast<size_t>(cap));
    std::vector<Pixel> scratch, result(static_cast<size_t>(vw));
    std::vector<const int16_t*> rows(size_t(v.maxCount)), shifted(size_t(v.maxCount));
    std::vector<const std::vector<Range>*> heldOfRows(size_t(v.maxCount));
    std::vector<Range> ranges;
    const std::vector<Range> whole{{0, vw}};

    for (int32_t y = int32_t(firstRow); y < int32_t(lastRow); ++y) {
      const int32_t first = v.start[size_t(y)], n = v.count[size_t(y)];
      for (int32_t k = 0; k < n; ++k) {
        const int32_t j = first + k;
        const size_t slot = size_t(j % cap);
        int16_t* out = ring.data() + slot * rowLen;
        if (tag[slot] != j) {
          const Pixel* srow = src.Row(p.source.top + j) + p.source.left;
          const Pixel* pm = PremultipliedRow(srow, spanFirst, spanLen, scratch, fast);
          std::vector<Range>& r = held[slot];
          if (!sparse) {
            r = whole;
          } else if (pm == srow + spanFirst) {
            r = whole;  // opaque
          } else {
            reached->OfRow(pm, r);
            // Between the ranges the sums are zero.
            int32_t done = 0;
            for (const Range& range : r) {
              std::fill(out + 4 * size_t(done), out + 4 * size_t(range.first), int16_t(0));
              done = range.last;
            }
            std::fill(out + 4 * size_t(done), out + rowLen, int16_t(0));
          }
          if (!fast)
            HorizontalScalar(pm, spanFirst, h, out);
          else
            for (const Range& range : r) HorizontalBest(pm, spanFirst, h, paired, range.first, range.last, out);
          tag[slot] = j;
        }
        rows[size_t(k)] = out;
        heldOfRows[size_t(k)] = &held[slot];
      }
      if (!fast) {
        VerticalScalar(rows.data(), v.WeightsOf(y), n, vw, result.data());
        Pixel* const target = dst.Row(p.visible.top + y) + p.visible.left;
        WriteRow(target, result.data(), size_t(vw), mode, master, false);
        if (finish) (*finish)(target, size_t(vw));
        continue;
      }
      if (sparse) reached->Unite(heldOfRows.data(), n, ranges);
      Pixel* const target = dst.Row(p.visible.top + y) + p.visible.left;
      for (const Range& range : sparse ? ranges : whole) {
        for (int32_t k = 0; k < n; ++k) shifted[size_t(k)] = rows[size_t(k)] + 4 * size_t(range.first);
        const size_t length = size_t(range.last - range.first);
        // Written straight into the destination row, or blended from the result row.
        if (mode == DrawMode::Opaque) {
          VerticalBest(shifted.data(), v.WeightsOf(y), n, int32_t(length), target + range.first);
        } else {
          VerticalBest(shifted.data(), v.WeightsOf(y), n, int32_t(length), result.data() + range.first);
          WriteRow(target + range.first, result.data() + range.first, length, mode, master);
        }
        if (finish) (*finish)(target + range.first, length);
      }
    }
  };
  // The reference stays one plain loop on the caller's thread.
  if (fast) ForEachBand(vh, 32, band);
  else band(0, vh);
}

// Returns the part of dst written or blended over.
Rect Resample(TBitmap32& dst, const Rect& dstRect, const TBitmap32& src, const Rect& srcRect, StretchFilter filter,
              DrawMode mode, uint32_t master, bool fast, const RowFinish* finish = nullptr) {
  const Plan p = MakePlan(dst, dstRect, src, srcRect);
  if (!p.ok) return {};
  if (mode == DrawMode::Blend && master == 0) return {};
  if (filter == StretchFilter::Nearest)
    ResampleNearest(dst, p, src, mode, master, finish);
  else
    ResampleFiltered(dst, p, src, filter, mode, master, fast, finish);
  return p.visible;
}

}  // namespace

void ResampleInto(TBitmap32& dst, const Rect& dstRect, const TBitmap32& src, const Rect& srcRect,
                  StretchFilter filter, DrawMode mode) {
  Resample(dst, dstRect, src, srcRect, filter, mode, src.MasterAlpha, true);
}

void ResampleInto(TBitmap32& dst, const Rect& dstRect, const TBitmap32& src, const Rect& srcRect,
                  StretchFilter filter, DrawMode mode, uint8_t masterAlpha) {
  Resample(dst, dstRect, src, srcRect, filter, mode, masterAlpha, true);
}

void ResampleIntoReference(TBitmap32& dst, const Rect& dstRect, const TBitmap32& src,
                           const Rect& srcRect, StretchFilter filter, DrawMode mode) {
  Resample(dst, dstRect, src, srcRect, filter, mode, src.MasterAlpha, false);
}

Rect ResampleIntoFinishing(TBitmap32& dst, const Rect& dstRect, const TBitmap32& src, const Rect& srcRect,
                           StretchFilter filter, const RowFinish& finish) {
  return Resample(dst, dstRect, src, srcRect, filter, DrawMode::Opaque, 255, true, &finish);
}

}  // namespace ov
