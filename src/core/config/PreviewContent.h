#pragma once
// What the configuration window's preview shows: the desktop colour, the bottom image,
// the current picture with its adjustments and the overlay, the calendar on the tabs that
// edit it, the task bar's place and the "预览" label, all at preview size.
#include <vector>

#include <optional>

#include "core/config/PreviewSchedule.h"
#include "core/images/ImagePropsStore.h"
#include "core/images/Overlay.h"
#include "core/render/CalendarRenderer.h"
#include "core/settings/Settings.h"

namespace ov {

struct PreviewInput {
  Settings& settings;           // NoBackground is lifted for the redraw and put back
  ImagePropsStore& props;       // the shown picture (slot 0) and the bottom image (slot 1)
  const OverlayImage* overlay;  // the loaded overlay, drawn when Overlay is on
  CalendarRenderer& renderer;
  Size wallpaperSize;
  double now = 0;               // the calendar shows today's weeks
  bool showCalendar = false;    // calendar, entries and desktop tabs
  bool keepPicture = false;     // image tab: the picture shows even with NoBackground
  std::vector<Rect> taskbars;   // the task bars in wallpaper pixels (TaskbarRects)
};

// Quick previews place the picture with the nearest pixel, full ones with the spline.
inline StretchFilter PreviewFilter(PreviewQuality q) {
  return q == PreviewQuality::Full ? StretchFilter::Spline : StretchFilter::Nearest;
}

// The placed pictures of the last redraw at each quality, before the colour adjustments:
// a burst of gauge edits changes only the adjustments, so the picture is not resampled
// again. An entry is used only when everything the placement depends on is the same.
class PreviewCache {
 public:
  struct Key {
    Size preview, screen;
    Pixel desktop = 0;
    bool noBackground = false, adjust = false;
    int32_t wallpaperAlpha = 255;
    uint64_t shown = 0, bottom = 0;  // PictureFingerprint
    // ImagePropsStore::PictureLoads: a picture loaded again may be another one that the
    // fingerprint cannot tell apart (same size, same buffer, same sampled pixels).
    uint64_t loads = 0;
    TImageProps shownPlacement, bottomProps;
    bool operator==(const Key&) const = default;
  };
  void Clear() { entries_[0].valid = entries_[1].valid = false; }
  int Hits() const { return hits_; }

 private:
  friend void ComposePreview(TBitmap32&, PreviewInput&, PreviewQuality, bool, PreviewCache*);
  struct Entry {
    bool valid = false;
    bool finish = false;  // the placed picture still wants its adjustments
    Key key;
    TBitmap32 placed;
  };
  Entry entries_[2];
  int hits_ = 0;
};

// Identifies a picture without reading all of it: its size, where its pixels live and 257
// pixels spread over it. It catches a surface replaced outside the property store; a
// picture loaded through the store is told apart by the store's load count.
uint64_t PictureFingerprint(const TBitmap32& picture);

// Draws the whole preview into `preview` (its size is the preview's). With a cache the
// placed picture is kept and reused; the result is the same as without one.
void ComposePreview(TBitmap32& preview, PreviewInput& in, PreviewQuality quality, bool adjust,
                    PreviewCache* cache = nullptr);

}  // namespace ov
