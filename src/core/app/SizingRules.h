#pragma once
// Keeping a window's frame drag within its size limits by moving the dragged edge.
#include "core/util/Rect.h"

namespace ov {

// Which part of the frame is being dragged, as the system reports it (WMSZ_* values).
enum class SizingEdge { Left = 1, Right = 2, Top = 3, TopLeft = 4, TopRight = 5, Bottom = 6, BottomLeft = 7, BottomRight = 8 };

// Clamps the width and height of r to [min, max] (a limit of 0 means none). Left and top
// drags move the origin, right and bottom drags the far side.
Rect ClampSizingRect(Rect r, SizingEdge edge, int32_t minWidth, int32_t minHeight, int32_t maxWidth, int32_t maxHeight);

}  // namespace ov
