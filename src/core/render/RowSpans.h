#pragma once
// Where two surfaces of one size differ, row by row, so that a picture rebuilt with only a
// part changed can be restored and written again in that part alone. A row's span covers
// every differing pixel of the row (and may cover equal pixels between them).
#include <cstdint>
#include <vector>

#include "core/render/Bitmap32.h"

namespace ov {

struct RowSpan {
  int32_t left = 0, right = 0;  // columns [left, right); empty when left >= right
  bool Empty() const { return left >= right; }
  bool operator==(const RowSpan&) const = default;
};

// One span per row of `a` (every row whole when b has another size). Each row is compared from
// both ends inwards, so a row that differs in its middle costs only its two ends.
std::vector<RowSpan> DifferingSpans(const TBitmap32& a, const TBitmap32& b);
// The smallest spans covering both, row by row, one per row of `a`.
std::vector<RowSpan> UniteSpans(const std::vector<RowSpan>& a, const std::vector<RowSpan>& b);
// The pixels of `from` inside the spans copied into `to`; nothing when their sizes differ.
void CopySpans(TBitmap32& to, const TBitmap32& from, const std::vector<RowSpan>& spans);

}  // namespace ov
