#pragma once
// Where a pop-up menu goes so that all of it stays on the screen.
#include <cstdint>

#include "core/util/Rect.h"

namespace ov {

// The top-left corner for a menu of `size` opened at `anchor` (its wished top-left)
// inside `workArea`. A menu that would run past the right or bottom edge opens to the
// left of or above the anchor instead, as menus do at a screen corner; one that fits
// neither way is pushed back inside, and one larger than the area starts at its
// top-left corner so that its first items and captions stay readable.
Point MenuOrigin(Point anchor, Size size, const Rect& workArea);

}  // namespace ov
