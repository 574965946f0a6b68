#pragma once
// The background of a printed page, drawn before the calendar.
#include "core/images/ImagePropsStore.h"
#include "core/images/Overlay.h"
#include "core/render/Bitmap32.h"
#include "core/settings/Settings.h"

namespace ov {

// Fills the page with the desktop colour, then the bottom image and the current picture
// with their own properties and colour adjustments, the overlay following its print check
// box (Overlay is put back afterwards). Without the background the page is opaque white.
// The page stands for the whole wallpaper: zoom and offsets are meant in its pixels.
void ComposePrintBackground(TBitmap32& page, Settings& s, ImagePropsStore& props, const OverlayImage* overlay);

}  // namespace ov
