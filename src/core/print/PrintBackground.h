#pragma once
// The background of a printed page, drawn before the calendar.
#include <optional>

#include "core/images/ImagePropsStore.h"
#include "core/images/Overlay.h"
#include "core/render/Bitmap32.h"
#include "core/render/CalendarRenderer.h"
#include "core/settings/Settings.h"

namespace ov {

// Fills the page with the desktop colour, then the bottom image and the current picture
// with their own properties and colour adjustments, the overlay following its print check
// box (Overlay is put back afterwards). Without the background the page is opaque white.
// The page stands for the whole wallpaper: zoom and offsets are meant in its pixels.
void ComposePrintBackground(TBitmap32& page, Settings& s, ImagePropsStore& props, const OverlayImage* overlay);

// The whole page image of displayDate's month: its size from the device page (nullopt =
// no printer) and PrintZoomFactor, the background, then the calendar. A full-size
// calendar is drawn again with one more row while the month overflows; rowsOut gets
// the rows of the page returned.
TBitmap32 RenderPrintPage(Settings& s, CalendarRenderer& renderer, ImagePropsStore& props, const OverlayImage* overlay,
                          std::optional<Size> devicePage, double displayDate, double today,
                          int32_t* rowsOut = nullptr);

}  // namespace ov
