#include "core/config/PreviewContent.h"

#include "core/images/Compose.h"
#include "core/render/Color.h"
#include "core/wallpaper/WallpaperSize.h"

namespace ov {

namespace {

// Puts a setting back however the drawing ends.
struct RestoreFlag {
  bool& flag;
  bool saved;
  ~RestoreFlag() { flag = saved; }
};

// Only the placement fields of the current picture's properties decide its placed form.
TImageProps PlacementOnly(const TImageProps& p) {
  TImageProps q;
  q.Fit = p.Fit;
  q.Stretch = p.Stretch;
  q.Tile = p.Tile;
  q.Zoom = p.Zoom;
  q.OffsetX = p.OffsetX;
  q.OffsetY = p.OffsetY;
  q.FlipHorz = p.FlipHorz;
  return q;
}

}  // namespace

uint64_t PictureFingerprint(const TBitmap32& picture) {
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](uint64_t v) {
    h ^= v;
    h *= 1099511628211ull;
  };
  mix(static_cast<uint32_t>(picture.Width()));
  mix(static_cast<uint32_t>(picture.Height()));
  mix(reinterpret_cast<uintptr_t>(picture.Bits()));
  if (picture.Empty()) return h;
  const size_t count = static_cast<size_t>(picture.Width()) * static_cast<size_t>(picture.Height());
  for (size_t i = 0; i <= 256; ++i) mix(picture.Bits()[(count - 1) * i / 256]);
  return h;
}

void ComposePreview(TBitmap32& preview, PreviewInput& in, PreviewQuality quality, bool adjust, PreviewCache* cache) {
  if (preview.Empty()) return;
  Settings& s = in.settings;
  RestoreFlag restore{s.NoBackground, s.NoBackground};
  if (in.keepPicture) s.NoBackground = false;
  StretchFilter filter = PreviewFilter(quality);

  ComposeSettings compose = MakeComposeSettings(s, in.wallpaperSize, s.Overlay ? in.overlay : nullptr);
  const Pixel desktop = 0xFF000000u | ToArgb(static_cast<uint32_t>(s.DesktopColor));
  TBitmap32& bottom = in.props.BottomImage();
  TBitmap32& shown = in.props.ShownPicture();
  const TImageProps& shownProps = in.props.Props(ImageSlot::Current);

  PreviewCache::Key key;
  PreviewCache::Entry* entry = nullptr;
  if (cache) {
    key = {{preview.Width(), preview.Height()}, in.wallpaperSize, desktop, compose.noBackground, adjust,
           compose.wallpaperAlpha, PictureFingerprint(shown), PictureFingerprint(bottom), in.props.PictureLoads(),
           PlacementOnly(shownProps), in.props.Props(ImageSlot::Bottom)};
    entry = &cache->entries_[quality == PreviewQuality::Full ? 1 : 0];
  }
  bool finish = false;
  if (entry && entry->valid && entry->key == key) {
    ++cache->hits_;
    preview.CopyWithin(preview.BoundsRect(), entry->placed.BoundsRect(), entry->placed);
    finish = entry->finish;
  } else {
    preview.Clear(desktop);
    if (!bottom.Empty())
      ComposeImage(preview, bottom, in.props.Props(ImageSlot::Bottom), filter, ImageSlot::Bottom, adjust, compose);
    finish = PlaceImage(preview, shown, shownProps, filter, ImageSlot::Current, compose);
    if (entry) {
      entry->valid = true;
      entry->finish = finish;
      entry->key = key;
      entry->placed = preview;
    }
  }
  if (finish) FinishImage(preview, shownProps, filter, ImageSlot::Current, adjust, compose);

  if (in.showCalendar) {
    in.renderer.SetTargetSize(in.wallpaperSize);
    in.renderer.SetDayCellTable(nullptr);  // only the installed wallpaper fills the cell table
    in.renderer.RenderCalendar(preview, s.CalendarRect, s.CalendarFromStartOfMonth, s.PastVisibleWeeks,
                               s.VisibleWeeks, in.now, in.now);
  }
  if (s.PreviewTaskBar) MarkTaskbar(preview, in.taskbars, in.wallpaperSize);

  // The label: 8 points in light green on a dark translucent cell, centred on one line.
  FontSpec label = s.CaptionFont;
  label.SetPointSize(8);
  label.weight = 400;
  label.color = 0x80FF80;
  constexpr uint32_t kSingleLineCentred = 37;
  in.renderer.PaintCell(preview, Rect{4, 4, 100, 24}, 0x60004000, false, std::nullopt, kSingleLineCentred, "预览", -15,
                        label);
}

}  // namespace ov
