#include "core/render/CellShadows.h"

#include <algorithm>
#include <unordered_set>

namespace ov {

void SubtractRect(const Rect& piece, const Rect& cut, std::vector<Rect>& out) {
  if (piece.Empty()) return;
  const Rect in = piece.Intersect(cut);
  if (in.Empty()) {
    out.push_back(piece);
    return;
  }
  auto add = [&](const Rect& r) {
    if (!r.Empty()) out.push_back(r);
  };
  add({piece.left, piece.top, in.left, piece.bottom});
  add({in.right, piece.top, piece.right, piece.bottom});
  add({in.left, piece.top, in.right, in.top});
  add({in.left, in.bottom, in.right, piece.bottom});
}

namespace {

struct RectHash {
  size_t operator()(const Rect& r) const {
    uint64_t a = uint64_t(uint32_t(r.left)) << 32 | uint32_t(r.top);
    uint64_t b = uint64_t(uint32_t(r.right)) << 32 | uint32_t(r.bottom);
    return std::hash<uint64_t>()(a * 0x9E3779B97F4A7C15ull ^ b);
  }
};

// Offsets saturate: a stored rectangle near the 32-bit limits must not wrap around.
int32_t AddSat(int32_t v, int32_t d) {
  int64_t r = int64_t(v) + d;
  return int32_t(std::clamp<int64_t>(r, INT32_MIN, INT32_MAX));
}

}  // namespace

std::vector<Rect> ShadowPieces(const std::vector<Rect>& cells, int32_t dx, int32_t dy) {
  std::vector<Rect> result;
  std::unordered_set<Rect, RectHash> seen;
  std::vector<Rect> pieces, next;
  for (const Rect& c : cells) {
    if (c.Empty()) continue;
    pieces.assign(1, {AddSat(c.left, dx), AddSat(c.top, dy), AddSat(c.right, dx), AddSat(c.bottom, dy)});
    for (const Rect& cut : cells) {
      next.clear();
      for (const Rect& p : pieces) SubtractRect(p, cut, next);
      pieces.swap(next);
      if (pieces.empty()) break;
    }
    for (const Rect& p : pieces) {
      if (!seen.insert(p).second) continue;  // identical to an earlier piece
      // What earlier pieces already cover is left out, so overlapping shadows of
      // different cells darken each pixel once.
      next.assign(1, p);
      for (const Rect& done : result) {
        std::vector<Rect> rest;
        for (const Rect& q : next) SubtractRect(q, done, rest);
        next.swap(rest);
        if (next.empty()) break;
      }
      result.insert(result.end(), next.begin(), next.end());
    }
  }
  return result;
}

}  // namespace ov
