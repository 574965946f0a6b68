#pragma once
// The sizes of the pop-up's caption bar and of the mini controller on a monitor of a given
// DPI: their design sizes are 96-dpi units, scaled so that they stay as easy to read and
// to hit at 150 % as at 100 %.
#include <cstdint>

#include "core/util/Rect.h"

namespace ov {

// v (96-dpi units) in pixels at `dpi` (rounded; 96 where dpi is 0).
int32_t ScaleToDpi(int32_t v, uint32_t dpi);

struct EntryCaptionMetrics {
  int32_t captionHeight;  // the caption bar, also the close box's width
  int32_t fontHeight;     // the caption's and menu panel's font, negative: character height
};
EntryCaptionMetrics EntryCaptionFor(uint32_t dpi);

struct ControllerMetrics {
  Rect bounds;         // the window: as high as the strip, wider by the DPI
  int32_t arrowWidth;  // "<" and ">"
  int32_t fontHeight;  // negative: character height
};
// `strip` is the controller rectangle of the render (its 96-dpi width at one end of the
// title strip); the window grows from that end, so it stays over the same corner.
ControllerMetrics ControllerMetricsFor(const Rect& strip, bool atLeft, uint32_t dpi);

}  // namespace ov
