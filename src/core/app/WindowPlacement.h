#pragma once
// Bringing a stored window rectangle back onto the screens that exist now.
#include <vector>

#include "core/settings/Settings.h"
#include "core/util/Rect.h"

namespace ov {

// Returns the placement to apply: the stored one when its rectangle has a usable size and
// at least a corner of its title area lies on one of the work areas; otherwise the default
// size centred on the first work area. A size below the minimum grows to it; a size beyond
// the largest work area shrinks to it. An unknown state name becomes "wsNormal".
WindowPlacementValues FitPlacementToScreens(const WindowPlacementValues& stored, const std::vector<Rect>& workAreas,
                                            Size defaultSize, Size minSize);

}  // namespace ov
