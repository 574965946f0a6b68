#include "core/wallpaper/WallpaperBuilder.h"

#include <algorithm>
#include <exception>

#include "core/images/Compose.h"
#include "core/library/RotationTime.h"
#include "core/render/BmpWriter.h"
#include "core/render/Color.h"
#include "core/render/RowSpans.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "core/wallpaper/MonitorLayout.h"

namespace ov {

std::string ProblemLoadingImage(const std::string& file) { return "Problem loading image \"" + file + "\""; }
std::string ProblemConstructingWallpaper(const std::string& file) {
  return "Problem constructing wallpaper \"" + file + "\"";
}
std::string ProblemSavingWallpaper(const std::string& output) { return "Problem saving wallpaper \"" + output + "\""; }

namespace {

// The layer's key before the picture is loaded; false when the picture file cannot be
// read, and nothing is kept for it.
bool LayerKey(const WallpaperBuildInput& in, const std::string& file, KeptPictureLayer::Key& key) {
  const Settings& s = in.settings;
  key.file = file;
  if (!PictureFileStamp(PathFromUtf8(file), key.fileTime, key.fileSize)) return false;
  key.size = in.wallpaperSize;
  key.desktopColor = s.DesktopColor;
  key.wallpaperAlpha = s.WallpaperAlpha;
  key.noBackground = s.NoBackground;
  key.overlay = s.Overlay ? in.overlay : nullptr;
  key.overlayChanges = key.overlay ? in.overlay->Changes() : 0;
  key.pictureLoads = in.props.PictureLoads();
  key.bottomFile = in.props.BottomImageFilename();
  key.current = in.props.Props(ImageSlot::Current);
  key.bottom = in.props.Props(ImageSlot::Bottom);
  return true;
}

// The bottom image and the picture composed over the desktop colour; false when the
// picture does not decode (nothing is drawn then). A failure while drawing leaves what
// was drawn and sets `problem`. `picture` is left holding the decoded picture.
bool ComposeLayer(WallpaperBuildInput& in, const std::string& file, TBitmap32& layer, TBitmap32& picture,
                  bool& problem) {
  Settings& s = in.settings;
  DecodeResult decoded = in.props.LoadImageWithProperties(picture, PathFromUtf8(file), ImageSlot::Current);
  if (!decoded.ok || picture.Empty()) return false;
  layer.Reshape(in.wallpaperSize.width, in.wallpaperSize.height);
  const Pixel desktop = ToArgb(static_cast<uint32_t>(s.DesktopColor));
  const ComposeSettings compose = MakeComposeSettings(s, in.wallpaperSize, s.Overlay ? in.overlay : nullptr);
  TBitmap32& bottom = in.props.BottomImage();
  const TImageProps& props = in.props.Props(ImageSlot::Current);
  // The desktop colour where the picture leaves it showing; what an opaque picture covers
  // whole is written once, by the picture.
  const Rect covered = bottom.Empty() ? OpaquelyPlaced(in.wallpaperSize, {picture.Width(), picture.Height()}, props,
                                                       ImageSlot::Current, compose)
                                      : Rect{};
  layer.ClearOutside(covered, desktop);
  bool placed = false;
  try {
    if (!bottom.Empty())
      ComposeImage(layer, bottom, in.props.Props(ImageSlot::Bottom), StretchFilter::Spline, ImageSlot::Bottom, true,
                   compose);
    Rect adjusted;
    placed = PlaceImage(layer, picture, props, StretchFilter::Spline, ImageSlot::Current, compose, &adjusted);
    if (placed) FinishImage(layer, props, StretchFilter::Spline, ImageSlot::Current, true, compose, adjusted);
    placed = true;
  } catch (const std::exception&) {
    // The build goes on with what was drawn; where the picture was to go and did not,
    // the desktop colour.
    if (!placed) layer.FillRectOpaque(covered, desktop);
    problem = true;
  }
  return true;
}

}  // namespace

std::string BuildWallpaper(WallpaperBuildInput& in, const std::string& file) {
  Settings& s = in.settings;
  auto busy = [&](bool on) {
    if (in.host.busy) in.host.busy(on);
  };
  busy(true);
  std::string result;
  KeptPictureLayer* kept = in.kept;

  // The picture layer: the kept one when nothing it depends on changed (unsaved edits of
  // the image tab are saved by a full load first), else composed again.
  KeptPictureLayer::Key key;
  const bool keyable = kept && LayerKey(in, file, key);
  // A parked layer is read back when it still is what the build would compose.
  if (keyable && !kept->valid_ && !in.props.Modified()) kept->Unpark(key);
  const bool reuse = keyable && kept->valid_ && !in.props.Modified() && kept->key_ == key;
  TBitmap32 ownSurface, decoded;
  TBitmap32& wallpaper = kept ? kept->work_ : ownSurface;
  if (reuse) {
    ++kept->reuses_;
  } else {
    if (kept) {
      kept->valid_ = false;
      kept->ForgetParked();  // what it holds is composed anew
    }
    bool problem = false;
    if (!ComposeLayer(in, file, kept ? kept->layer_ : ownSurface, decoded, problem)) {
      if (in.host.normalPriority) in.host.normalPriority();
      busy(false);
      return ProblemLoadingImage(file);
    }
    if (problem) result = ProblemConstructingWallpaper(file);
    else if (keyable) {
      // The load counted itself and read the picture's own properties: the key is the
      // state after it.
      key.pictureLoads = in.props.PictureLoads();
      key.current = in.props.Props(ImageSlot::Current);
      key.bottom = in.props.Props(ImageSlot::Bottom);
      kept->key_ = key;
      kept->valid_ = true;
    }
  }
  // Over the kept layer, only what the last build drew is taken back to the layer: the
  // rest of the work surface still equals it.
  const bool partial = reuse && kept->drawnKnown_;
  if (kept) {
    if (partial) {
      CopySpans(wallpaper, kept->layer_, kept->drawn_);
    } else {
      // Copied into the kept work surface: the same size keeps its buffer. A new one
      // takes the decoded picture's, which is done with and already in memory.
      wallpaper.ReshapeInBufferOf(decoded, kept->layer_.Width(), kept->layer_.Height());
      std::copy_n(kept->layer_.Bits(), size_t(wallpaper.Width()) * size_t(wallpaper.Height()), wallpaper.Bits());
    }
    kept->drawnKnown_ = false;
  }
  decoded.SetSize(0, 0);

  std::string outputText = PathToUtf8(in.outputFile);
  {
    if (s.CalendarVisible) {
      in.renderer.SetTargetSize(in.wallpaperSize);
      in.renderer.SetDayCellTable(&in.cells);
      in.renderer.RenderCalendar(wallpaper, s.CalendarRect, s.CalendarFromStartOfMonth, s.PastVisibleWeeks,
                                 s.VisibleWeeks, in.displayDate, in.clock.Now());
    } else {
      in.cells.Clear();
    }
    // What no monitor shows stays plain; the day cells keep wallpaper pixels, only the
    // written file is rotated for a tile that starts on the primary monitor.
    for (const Rect& r : in.unshown) wallpaper.FillRectOpaque(r, ToArgb(static_cast<uint32_t>(s.DesktopColor)));
    const BmpDepth depth = BmpDepthFromPixelMode(s.OutputPixelmode);
    const bool rotated = in.tileShift.x != 0 || in.tileShift.y != 0;
    // What this build drew over the layer; when the last build's file has this depth
    // (EncodeBmpSpans reads it from the file's header), only that and what the last build
    // drew are encoded again.
    std::vector<RowSpan> drawn;
    if (kept && !rotated) drawn = DifferingSpans(wallpaper, kept->layer_);
    RotateForTile(wallpaper, in.tileShift);

    // A whole file is written beside the old one and swapped in only when complete, so
    // the last good wallpaper survives a full disk or a crash.
    FileBytes ownFile;
    FileBytes& bmp = kept ? kept->file_ : ownFile;
    FileChanges changed;
    const bool patched =
        partial && !rotated && EncodeBmpSpans(bmp, wallpaper, depth, UniteSpans(drawn, kept->drawn_), &changed);
    if (!patched) EncodeBmpInto(bmp, wallpaper, depth);
    const std::string_view bytes(bmp.data(), bmp.size());
    if (kept && !rotated) {
      kept->drawn_ = std::move(drawn);
      kept->drawnKnown_ = true;
    }
    if (!kept) wallpaper.SetSize(0, 0);
    std::error_code ec;
    std::filesystem::create_directories(in.outputFile.parent_path(), ec);
    // The wallpaper is rebuilt at every start, so it is written in place, where a crash in
    // the middle costs nothing that lasts, and without the new file and the rename that
    // cost many times the write itself on some file systems. Over the file the last
    // build wrote, still as it left it (its length and time), a note edit writes only the
    // bytes that changed (a few cells instead of the whole picture, checked against what
    // they held); any other build writes the whole picture over a file as long. A file
    // of another length, or one that cannot be written in place, is replaced whole
    // through a temporary, which keeps the old one when the disk is full.
    bool written = false;
    int64_t time = 0;
    uintmax_t size = 0;
    if (patched && kept->written_ == in.outputFile && PictureFileStamp(in.outputFile, time, size) &&
        time == kept->writtenTime_ && size == kept->writtenSize_) {
      // Nothing changed: the first bytes again, so that the file's time still tells of
      // the build.
      if (changed.ranges.empty()) changed = {{{0, 2}}, {std::string(bytes.substr(0, 2))}};
      written = WriteFileRanges(in.outputFile, bytes, changed.ranges, changed.before);
    }
    if (!written) written = !bytes.empty() && OverwriteFileInPlace(in.outputFile, bytes);
    if (!written) written = !bytes.empty() && WriteFileAtomic(in.outputFile, bytes);
    if (!written) result = ProblemSavingWallpaper(outputText);
    if (kept) {
      kept->written_.clear();
      if (written && PictureFileStamp(in.outputFile, kept->writtenTime_, kept->writtenSize_))
        kept->written_ = in.outputFile;
    }
  }

  if (in.host.install && in.host.install(outputText)) s.WallpaperBackground = file;
  else result = kInstallFailed;

  // A new background restarts the rotation interval; the same one again does not, except
  // for a rotation: one that picked the picture already shown (a library of one) would
  // otherwise stay due and rebuild at every tick.
  if (s.LastWallpaperFile != file || in.rotation)
    s.NextRotationTime = NextRotation(in.clock.Now(), s.RotationInterval, s.RotationMode);
  s.LastWallpaperFile = file;
  busy(false);
  return result;
}

}  // namespace ov
