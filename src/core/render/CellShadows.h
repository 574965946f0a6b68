#pragma once
// Cell shadows: every cell rectangle offset by the shadow offset, with every cell cut
// out of it, so shadows fall only on the background.
#include <vector>

#include "core/util/Rect.h"

namespace ov {

// `piece` minus `cut`: a left and a right strip of full height, then a top and a bottom
// strip between them. Empty strips are left out; a piece wholly inside cut vanishes and
// a piece that does not meet cut comes back unchanged.
void SubtractRect(const Rect& piece, const Rect& cut, std::vector<Rect>& out);

// The shadow pieces of the cells: each cell offset by (dx, dy), then each cell in list
// order cut out of every piece; a piece identical to an earlier one is dropped, and the
// part of a piece that earlier pieces cover is cut away too, so the pieces never
// overlap and no background pixel is darkened twice.
std::vector<Rect> ShadowPieces(const std::vector<Rect>& cells, int32_t dx, int32_t dy);

}  // namespace ov
