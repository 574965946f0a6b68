#pragma once
// Scaling one surface into another.
#include <cstddef>
#include <functional>

#include "core/render/Bitmap32.h"

namespace ov {

// Scales srcRect of src into dstRect of dst. srcRect is first clipped to src; dstRect may
// lie partly or wholly outside dst: only destination pixels inside dst are computed, so
// the cost follows the visible area however large the zoom. Filters: nearest, tent
// (Linear2) and cubic B-spline (Spline), kernels widened by the reduction factor when
// shrinking; computed as a horizontal and a vertical pass over precomputed weights, in
// premultiplied alpha so transparent pixels lend no colour to their neighbours.
// Opaque mode writes the result; Blend mode blends it with its alpha × src.MasterAlpha.
void ResampleInto(TBitmap32& dst, const Rect& dstRect, const TBitmap32& src, const Rect& srcRect,
                  StretchFilter filter, DrawMode mode);

// The same with the master alpha given here instead of taken from src.
void ResampleInto(TBitmap32& dst, const Rect& dstRect, const TBitmap32& src, const Rect& srcRect,
                  StretchFilter filter, DrawMode mode, uint8_t masterAlpha);

// Work done on each part of a row the resampler has written, while it is still in the
// cache, instead of in a pass of its own over the whole surface afterwards.
using RowFinish = std::function<void(Pixel* row, size_t count)>;

// ResampleInto in opaque mode that runs `finish` over every row part it writes (from any
// thread of the pixel pool, each part once); returns the part of dst written, empty when
// nothing was.
Rect ResampleIntoFinishing(TBitmap32& dst, const Rect& dstRect, const TBitmap32& src, const Rect& srcRect,
                           StretchFilter filter, const RowFinish& finish);

// The plain scalar version with the same arithmetic; the fast one must match it exactly.
void ResampleIntoReference(TBitmap32& dst, const Rect& dstRect, const TBitmap32& src,
                           const Rect& srcRect, StretchFilter filter, DrawMode mode);

}  // namespace ov
