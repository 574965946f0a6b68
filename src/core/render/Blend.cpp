#include "core/render/Blend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define OV_HAVE_AVX2_KERNELS 1
#endif

#include "core/render/Avx2.h"

namespace ov {

namespace {

#if defined(__SSE2__)
// Four opaque destination pixels blended with 16-bit lanes: per channel
// Div255(S·a + D·(255 − a)), the same sums and rounding as the scalar code.
// sa = S·a + 128 per lane (source alpha counted as 255), ia = 255 − a per lane.
inline __m128i Blend4(__m128i d, __m128i saLo, __m128i saHi, __m128i iaLo, __m128i iaHi) {
  const __m128i zero = _mm_setzero_si128();
  __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), iaLo), saLo);
  __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), iaHi), saHi);
  lo = _mm_srli_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), 8);
  hi = _mm_srli_epi16(_mm_add_epi16(hi, _mm_srli_epi16(hi, 8)), 8);
  return _mm_packus_epi16(lo, hi);
}

inline bool AllOpaque(__m128i v) {
  const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
  return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(v, alpha), alpha)) == 0xFFFF;
}
#endif

#if defined(OV_HAVE_AVX2_KERNELS)
// (x + (x >> 8)) >> 8 per 16-bit lane: x / 255 rounded, for x that already holds the 128.
__attribute__((target("avx2"), always_inline)) inline __m256i Div255Avx2(__m256i x) {
  return _mm256_srli_epi16(_mm256_add_epi16(x, _mm256_srli_epi16(x, 8)), 8);
}

// BlendSpanMaster's four-pixel step eight pixels at a time, over opaque destination
// pixels only; returns how many pixels it blended (it stops before a group of eight with a
// translucent destination pixel, which the caller's narrower steps take).
__attribute__((target("avx2"))) size_t BlendSpanMasterAvx2(const Pixel* src, Pixel* dst, size_t n, uint32_t master) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i c128 = _mm256_set1_epi16(128), c255 = _mm256_set1_epi16(255);
  const __m256i master16 = _mm256_set1_epi16(int16_t(master));
  const __m256i alphaLanes = _mm256_set_epi16(255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0);
  const __m256i alpha = _mm256_set1_epi32(int(0xFF000000u));
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(d, alpha), alpha)) != -1) break;
    // Within each 128-bit half as in the four-pixel step; the packs keep the order.
    const __m256i sLo = _mm256_unpacklo_epi8(sv, zero), sHi = _mm256_unpackhi_epi8(sv, zero);
    __m256i aLo = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(sLo, 0xFF), 0xFF);
    __m256i aHi = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(sHi, 0xFF), 0xFF);
    if (master != 255) {
      aLo = Div255Avx2(_mm256_add_epi16(_mm256_mullo_epi16(aLo, master16), c128));
      aHi = Div255Avx2(_mm256_add_epi16(_mm256_mullo_epi16(aHi, master16), c128));
    }
    const __m256i saLo = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_or_si256(sLo, alphaLanes), aLo), c128);
    const __m256i saHi = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_or_si256(sHi, alphaLanes), aHi), c128);
    __m256i lo = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), _mm256_sub_epi16(c255, aLo)), saLo);
    __m256i hi = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), _mm256_sub_epi16(c255, aHi)), saHi);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_packus_epi16(Div255Avx2(lo), Div255Avx2(hi)));
  }
  return i;
}
#endif

}  // namespace

void BlendSpanSolidReference(Pixel* dst, size_t n, Pixel color) {
  uint32_t a = AlphaOf(color);
  for (size_t i = 0; i < n; ++i) dst[i] = BlendPixel(color, a, dst[i]);
}

void BlendSpanSolid(Pixel* dst, size_t n, Pixel color) {
  uint32_t a = AlphaOf(color);
  if (a == 0) return;
  if (a == 255) {
    for (size_t i = 0; i < n; ++i) dst[i] = color;
    return;
  }
  // Two channels per 32-bit lane pair (red+blue, alpha+green): each 16-bit lane holds
  // at most 65025 + 128 + 254, so nothing carries into its neighbour. The source alpha
  // channel counts as 255 so an opaque destination stays opaque.
  const uint32_t ia = 255 - a;
  const uint32_t srb = (color & 0x00FF00FFu) * a + 0x00800080u;
  const uint32_t sag = (((color >> 8) & 0x000000FFu) | 0x00FF0000u) * a + 0x00800080u;
  size_t i = 0;
#if defined(__SSE2__)
  {
    const Pixel src = color | 0xFF000000u;
    const __m128i s16 = _mm_unpacklo_epi8(_mm_set1_epi32(int(src)), _mm_setzero_si128());
    const __m128i sa = _mm_add_epi16(_mm_mullo_epi16(s16, _mm_set1_epi16(int16_t(a))), _mm_set1_epi16(128));
    const __m128i ia16 = _mm_set1_epi16(int16_t(ia));
    for (; i + 4 <= n; i += 4) {
      __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
      if (!AllOpaque(d)) break;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), Blend4(d, sa, sa, ia16, ia16));
    }
  }
#endif
  for (; i < n; ++i) {
    Pixel d = dst[i];
    if ((d >> 24) != 255) {
      dst[i] = BlendPixel(color, a, d);
      continue;
    }
    uint32_t rb = (d & 0x00FF00FFu) * ia + srb;
    uint32_t ag = ((d >> 8) & 0x00FF00FFu) * ia + sag;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    dst[i] = rb | ag;
  }
}

void BlendSpanMasterReference(const Pixel* src, Pixel* dst, size_t n, uint32_t master) {
  for (size_t i = 0; i < n; ++i) dst[i] = BlendPixel(src[i], Div255(AlphaOf(src[i]) * master), dst[i]);
}

void BlendSpanMaster(const Pixel* src, Pixel* dst, size_t n, uint32_t master) {
  if (master == 0) return;
  size_t i = 0;
#if defined(OV_HAVE_AVX2_KERNELS)
  if (UseAvx2Kernels()) i = BlendSpanMasterAvx2(src, dst, n, master);
#endif
#if defined(__SSE2__)
  // Four source pixels of any alpha over four opaque destination pixels, with the same
  // sums and rounding as the scalar loop: coverage a = Div255(alpha · master) per pixel.
  {
    const __m128i zero = _mm_setzero_si128();
    const __m128i c128 = _mm_set1_epi16(128), c255 = _mm_set1_epi16(255);
    const __m128i master16 = _mm_set1_epi16(int16_t(master));
    const __m128i alphaLanes = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
    auto div255 = [&](__m128i x) {
      x = _mm_add_epi16(x, c128);
      return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
    };
    for (; i + 4 <= n; i += 4) {
      const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
      const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
      if (!AllOpaque(d)) break;
      const __m128i sLo = _mm_unpacklo_epi8(sv, zero), sHi = _mm_unpackhi_epi8(sv, zero);
      // Each pixel's alpha in all four of its lanes.
      __m128i aLo = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sLo, 0xFF), 0xFF);
      __m128i aHi = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sHi, 0xFF), 0xFF);
      if (master != 255) {
        aLo = div255(_mm_mullo_epi16(aLo, master16));
        aHi = div255(_mm_mullo_epi16(aHi, master16));
      }
      // The source's alpha channel counts as 255, so the destination stays opaque.
      const __m128i saLo = _mm_add_epi16(_mm_mullo_epi16(_mm_or_si128(sLo, alphaLanes), aLo), c128);
      const __m128i saHi = _mm_add_epi16(_mm_mullo_epi16(_mm_or_si128(sHi, alphaLanes), aHi), c128);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                       Blend4(d, saLo, saHi, _mm_sub_epi16(c255, aLo), _mm_sub_epi16(c255, aHi)));
    }
  }
#endif
  for (; i < n; ++i) {
    Pixel s = src[i];
    uint32_t a = AlphaOf(s);
    if (master != 255) a = Div255(a * master);
    if (a == 255) {
      dst[i] = s;
      continue;
    }
    if (a == 0) continue;
    Pixel d = dst[i];
    if ((d >> 24) != 255) {
      dst[i] = BlendPixel(s, a, d);
      continue;
    }
    uint32_t ia = 255 - a;
    uint32_t rb = (d & 0x00FF00FFu) * ia + (s & 0x00FF00FFu) * a + 0x00800080u;
    uint32_t ag = ((d >> 8) & 0x00FF00FFu) * ia + (((s >> 8) & 0xFFu) | 0x00FF0000u) * a + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    dst[i] = rb | ag;
  }
}

}  // namespace ov
