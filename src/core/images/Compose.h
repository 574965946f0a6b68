#pragma once
// Placing one decoded picture on a destination surface by its properties, then the
// colour adjustments, the overlay and the mirror over the whole destination.
#include <cstdint>

#include "core/images/ImageProps.h"
#include "core/images/Overlay.h"
#include "core/render/Bitmap32.h"
#include "core/settings/Settings.h"
#include "core/util/Rect.h"

namespace ov {

struct ComposeSettings {
  // The wallpaper size that zoom and offsets are meant in; a smaller destination
  // (preview, print page) scales everything by its size / this.
  Size screen;
  int32_t wallpaperAlpha = 255;  // opacity of the current picture (slot 0), 0..255
  bool noBackground = false;     // draw no picture at all, only desktopColor
  Pixel desktopColor = kBlack32;
  const OverlayImage* overlay = nullptr;  // set when the overlay is switched on
};

ComposeSettings MakeComposeSettings(const Settings& s, Size screen, const OverlayImage* overlay);

// ComposeImage: the picture's MasterAlpha and drawing mode are set for the slot; then fit,
// stretch, tile or as-is placement with zoom, offsets and the mirrored offset of a flipped
// picture; then, when adjust is set, grayscale, equalise and the tone curve over the whole
// destination and (current slot only) the overlay; last the mirror when FlipHorz is set.
// Stored property values that would break the arithmetic are held (WorkingImageProps).
void ComposeImage(TBitmap32& dst, TBitmap32& picture, const TImageProps& props, StretchFilter filter,
                  ImageSlot slot, bool adjust, const ComposeSettings& settings);

// The two halves of ComposeImage, for callers that keep the placed picture between
// redraws: PlaceImage draws the picture by its size mode (false when nothing more is to be
// done: no picture, or no background); FinishImage runs the adjustments, the overlay and
// the mirror over the destination.
// Given `adjusted`, PlaceImage may also apply the colour adjustments to the picture's
// pixels as it draws them, while they are in the cache (an opaque, untiled picture whose
// adjustments need no look at it first), and sets `adjusted` to the part it did so; the
// caller passes that part on to FinishImage, which then leaves it alone. A caller that
// keeps the placed picture to adjust it differently later passes none.
bool PlaceImage(TBitmap32& dst, TBitmap32& picture, const TImageProps& props, StretchFilter filter, ImageSlot slot,
                const ComposeSettings& settings, Rect* adjusted = nullptr);
void FinishImage(TBitmap32& dst, const TImageProps& props, StretchFilter filter, ImageSlot slot, bool adjust,
                 const ComposeSettings& settings, const Rect& adjusted = {});

// The part of the destination that PlaceImage writes over whole, every pixel replaced by
// the picture's: the visible placement of an opaque as-is, fit or stretched picture;
// empty when the picture is blended, tiled or not drawn at all.
Rect OpaquelyPlaced(Size dst, Size picture, const TImageProps& props, ImageSlot slot,
                    const ComposeSettings& settings);

// Where the as-is or fit placement puts the picture: one pixel larger than the scaled
// size, centred, moved by the offsets (mirrored when flipped). Coordinates beyond 32 bits
// are held at the 32-bit limits.
Rect PicturePlacement(Size dst, Size picture, const TImageProps& workingProps, Size screen);

// Copies the rectangle (0, 0, tileW, tileH) of the surface over the whole surface, tile by
// tile. Does nothing for a tile narrower or lower than one pixel.
void RepeatTile(TBitmap32& surface, int32_t tileW, int32_t tileH);

}  // namespace ov
