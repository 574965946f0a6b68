#include "core/images/Adjustments.h"

#include <algorithm>
#include <cmath>

#include <mutex>

#include "core/render/Bands.h"
#include "core/util/Numeric.h"

namespace ov {

namespace {

constexpr uint32_t Channel(Pixel p, int shift) { return (p >> shift) & 0xFF; }

ByteTable IdentityTable() {
  ByteTable t;
  for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(i);
  return t;
}

uint8_t ClampByte(int32_t v) { return static_cast<uint8_t>(Clamp(v, 0, 255)); }

constexpr int64_t kBandRows = 32;

// Pixel ranges [first, last) of the surface's row bands, run side by side.
template <typename F>
void ForEachPixelBand(const TBitmap32& s, F&& work) {
  const size_t w = static_cast<size_t>(s.Width());
  ForEachBand(s.Height(), kBandRows, [&](int64_t y0, int64_t y1) { work(size_t(y0) * w, size_t(y1) * w); });
}

// Darkest and brightest equalise measure over the surface.
void ScanLuminance(const TBitmap32& s, uint32_t& lo, uint32_t& hi) {
  lo = 255;
  hi = 0;
  std::mutex lock;
  const Pixel* p = s.Bits();
  ForEachPixelBand(s, [&](size_t first, size_t last) {
    uint32_t bandLo = 255, bandHi = 0;
    for (size_t i = first; i < last; ++i) {
      uint32_t l = EqualizeLuminance(Channel(p[i], 16), Channel(p[i], 8), Channel(p[i], 0));
      bandLo = std::min(bandLo, l);
      bandHi = std::max(bandHi, l);
    }
    std::lock_guard<std::mutex> guard(lock);
    lo = std::min(lo, bandLo);
    hi = std::max(hi, bandHi);
  });
}

inline Pixel Mapped(Pixel v, const ColourTables& t) {
  return (uint32_t(t.red[Channel(v, 16)]) << 16) | (uint32_t(t.green[Channel(v, 8)]) << 8) | t.blue[Channel(v, 0)];
}

// The tables over every pixel of the surface outside `done`; alpha stays.
void ApplyTables(TBitmap32& s, const ColourTables& t, const Rect& done) {
  const Rect skip = done.Intersect(s.BoundsRect());
  const int32_t w = s.Width();
  ForEachBand(s.Height(), kBandRows, [&](int64_t y0, int64_t y1) {
    for (int32_t y = int32_t(y0); y < int32_t(y1); ++y) {
      Pixel* row = s.Row(y);
      auto apply = [&](int32_t from, int32_t to) {
        for (int32_t x = from; x < to; ++x) row[x] = (row[x] & 0xFF000000u) | Mapped(row[x], t);
      };
      if (skip.Empty() || y < skip.top || y >= skip.bottom) {
        apply(0, w);
      } else {
        apply(0, skip.left);
        apply(skip.right, w);
      }
    }
  });
}

// The tone curve and colour shift over the equalise table `first`; `identity` tells
// whether they change nothing.
ColourTables ToneTables(const TImageProps& props, const ByteTable& first, bool& identity) {
  const ByteTable tone = BuildToneTable(props.Gamma, props.Contrast, props.Brightness);
  const int32_t shift[3] = {ColourShiftAmount(props.Red), ColourShiftAmount(props.Green),
                            ColourShiftAmount(props.Blue)};
  ColourTables t;
  ByteTable* tables[3] = {&t.red, &t.green, &t.blue};
  identity = true;
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < 256; ++i) {
      (*tables[c])[i] = ClampByte(int32_t(tone[first[i]]) + shift[c]);
      identity = identity && (*tables[c])[i] == i;
    }
  return t;
}

void Adjust(TBitmap32& s, const TImageProps& props, const Rect& done) {
  if (s.Empty()) return;
  uint32_t lo = 255, hi = 0;
  if (props.GrayScale) {
    // Gray pixels have R = G = B = g, so the equalise measure is g*255 >> 8; take it in
    // the same pass.
    Pixel* p = s.Bits();
    std::mutex lock;
    ForEachPixelBand(s, [&](size_t first, size_t last) {
      uint32_t bandLo = 255, bandHi = 0;
      for (size_t i = first; i < last; ++i) {
        Pixel v = p[i];
        uint32_t g = GrayValue(Channel(v, 16), Channel(v, 8), Channel(v, 0));
        p[i] = (v & 0xFF000000u) | (g << 16) | (g << 8) | g;
        uint32_t l = EqualizeLuminance(g, g, g);
        bandLo = std::min(bandLo, l);
        bandHi = std::max(bandHi, l);
      }
      std::lock_guard<std::mutex> guard(lock);
      lo = std::min(lo, bandLo);
      hi = std::max(hi, bandHi);
    });
  } else if (props.Equalize) {
    ScanLuminance(s, lo, hi);
  }

  ByteTable first = IdentityTable();
  if (props.Equalize) BuildEqualizeTable(lo, hi, first);

  // Equalise, tone curve and colour shift folded into one table per channel.
  bool identity = true;
  const ColourTables tables = ToneTables(props, first, identity);
  if (!identity) ApplyTables(s, tables, done);
}

}  // namespace

bool BuildEqualizeTable(uint32_t lo, uint32_t hi, ByteTable& table) {
  if (hi < lo || hi - lo < 2) return false;
  for (uint32_t i = 0; i < 256; ++i) {
    if (i <= lo) table[i] = 0;
    else if (i >= hi) table[i] = 255;
    else table[i] = static_cast<uint8_t>((i - lo) * 255 / (hi - lo));
  }
  return true;
}

ByteTable BuildToneTable(double gamma, int32_t contrast, int32_t brightness) {
  const float g = std::pow(10.0f, static_cast<float>(-gamma / 10.0));
  const float c = 1.0f + static_cast<float>(contrast) / 100.0f;
  const float b = static_cast<float>(brightness) / 100.0f;
  ByteTable t;
  for (int i = 0; i < 256; ++i) {
    const float x = static_cast<float>(i) / 255.0f;
    const float v = (std::pow(x, g) - 0.5f) * c + 0.5f + b;
    const float scaled = v * 255.0f;
    t[i] = static_cast<uint8_t>(Clamp<int64_t>(Round(scaled), 0, 255));
  }
  return t;
}

int32_t ColourShiftAmount(int32_t value) {
  // value * 255 / 100 in integers is the exact product with 2.55, truncated toward zero.
  return static_cast<int32_t>(Clamp<int64_t>(int64_t(value) * 255 / 100, -255, 255));
}

void AdjustColours(TBitmap32& s, const TImageProps& props) { Adjust(s, props, {}); }

void AdjustColoursOutside(TBitmap32& s, const TImageProps& props, const Rect& done) {
  // Adjustments that look at the picture first are never applied ahead of time.
  Adjust(s, props, props.GrayScale || props.Equalize ? Rect{} : done);
}

bool FixedColourTables(const TImageProps& props, ColourTables& tables) {
  if (props.GrayScale || props.Equalize) return false;
  bool identity = true;
  tables = ToneTables(props, IdentityTable(), identity);
  return true;
}

void ApplyColourTablesOpaque(Pixel* row, size_t count, const ColourTables& tables) {
  for (size_t i = 0; i < count; ++i) row[i] = 0xFF000000u | Mapped(row[i], tables);
}

void MirrorRows(TBitmap32& s) {
  ForEachBand(s.Height(), kBandRows, [&s](int64_t y0, int64_t y1) {
    for (int32_t y = int32_t(y0); y < int32_t(y1); ++y) std::reverse(s.Row(y), s.Row(y) + s.Width());
  });
}

namespace reference {

void GrayScale(TBitmap32& s) {
  for (int32_t y = 0; y < s.Height(); ++y)
    for (int32_t x = 0; x < s.Width(); ++x) {
      Pixel v = s.At(x, y);
      uint32_t g = (Channel(v, 16) * 76 + Channel(v, 8) * 150 + Channel(v, 0) * 29) >> 8;
      s.At(x, y) = (v & 0xFF000000u) | (g << 16) | (g << 8) | g;
    }
}

void Equalize(TBitmap32& s) {
  int lo = 255, hi = 0;
  for (int32_t y = 0; y < s.Height(); ++y)
    for (int32_t x = 0; x < s.Width(); ++x) {
      Pixel v = s.At(x, y);
      int l = static_cast<int>((Channel(v, 16) * 61 + Channel(v, 8) * 174 + Channel(v, 0) * 20) >> 8);
      if (l < lo) lo = l;
      if (l > hi) hi = l;
    }
  if (hi - lo < 2) return;
  int table[256];
  for (int i = 0; i < 256; ++i) table[i] = i <= lo ? 0 : (i >= hi ? 255 : (i - lo) * 255 / (hi - lo));
  for (int32_t y = 0; y < s.Height(); ++y)
    for (int32_t x = 0; x < s.Width(); ++x) {
      Pixel v = s.At(x, y);
      s.At(x, y) = (v & 0xFF000000u) | (uint32_t(table[Channel(v, 16)]) << 16) |
                   (uint32_t(table[Channel(v, 8)]) << 8) | uint32_t(table[Channel(v, 0)]);
    }
}

void ToneCurve(TBitmap32& s, const TImageProps& props) {
  const ByteTable table = BuildToneTable(props.Gamma, props.Contrast, props.Brightness);
  const int32_t addR = ColourShiftAmount(props.Red), addG = ColourShiftAmount(props.Green),
                addB = ColourShiftAmount(props.Blue);
  for (int32_t y = 0; y < s.Height(); ++y)
    for (int32_t x = 0; x < s.Width(); ++x) {
      Pixel v = s.At(x, y);
      int32_t r = table[Channel(v, 16)], g = table[Channel(v, 8)], b = table[Channel(v, 0)];
      r = Clamp(r + addR, 0, 255);
      g = Clamp(g + addG, 0, 255);
      b = Clamp(b + addB, 0, 255);
      s.At(x, y) = (v & 0xFF000000u) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
    }
}

void AdjustColours(TBitmap32& s, const TImageProps& props) {
  if (props.GrayScale) GrayScale(s);
  if (props.Equalize) Equalize(s);
  ToneCurve(s, props);
}

}  // namespace reference

}  // namespace ov
