#pragma once
// The composed picture layer of the last wallpaper build (pictures placed, adjusted, the
// overlay over them) kept for the next one: a note edit, a colour code or a new day
// changes only the calendar, so the next build copies the layer and draws the panel over
// it instead of decoding and resampling the picture again. The build's other surfaces
// are kept with it so a rebuild allocates nothing, and where the last build drew over the
// layer is known, so the next one restores and encodes again only those parts and what
// it draws itself, and writes over the file only the bytes that changed. Release frees
// it all. Park frees it too but first puts the composed pixels into a cache file, which
// the next build reads back while nothing the layer depends on has changed: the program
// parks the layer after a minute without builds, so that a note written later costs a
// read of the file instead of a decode and a resampling of the picture, while the idle
// program holds none of it in memory.
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/images/ImageProps.h"
#include "core/render/Bitmap32.h"
#include "core/render/BmpWriter.h"
#include "core/render/RowSpans.h"
#include "core/util/Rect.h"

namespace ov {

struct WallpaperBuildInput;
std::string BuildWallpaper(WallpaperBuildInput& in, const std::string& file);

class KeptPictureLayer {
 public:
  // Everything the layer depends on. The picture file is known by its name, size and
  // time of last change, the loaded pictures by the property store's load count.
  struct Key {
    std::string file;
    int64_t fileTime = 0;
    uintmax_t fileSize = 0;
    Size size;
    int32_t desktopColor = 0, wallpaperAlpha = 0;
    bool noBackground = false;
    const void* overlay = nullptr;  // the overlay drawn, or nullptr
    uint64_t overlayChanges = 0;
    uint64_t pictureLoads = 0;
    std::string bottomFile;
    TImageProps current, bottom;
    bool operator==(const Key&) const = default;
  };

  KeptPictureLayer() = default;
  KeptPictureLayer(const KeptPictureLayer&) = delete;
  KeptPictureLayer& operator=(const KeptPictureLayer&) = delete;
  ~KeptPictureLayer();  // removes the cache file of a parked layer

  // Frees everything, the parked layer's cache file included.
  void Release();
  // Frees every surface after writing the composed layer to `cacheFile` (outside the
  // data folder, which backups copy), unless that file holds it already. Without a layer,
  // or when the file cannot be written, this is Release.
  void Park(const std::filesystem::path& cacheFile);
  bool Holds() const { return valid_; }
  // True while a parked layer waits in its cache file.
  bool Parked() const { return !parkedFile_.empty(); }
  // Bytes of pixels and file buffer held.
  size_t Bytes() const;
  // Builds that drew over the kept layer instead of composing it again.
  int Reuses() const { return reuses_; }

 private:
  friend std::string BuildWallpaper(WallpaperBuildInput& in, const std::string& file);
  // Frees the surfaces and what the last build wrote; the parked layer stays.
  void FreeSurfaces();
  // Reads the parked layer back when `key` is still its key and the file still holds
  // what was written; a file that does not is removed.
  bool Unpark(const Key& key);
  void ForgetParked();

  bool valid_ = false;
  Key key_;
  TBitmap32 layer_;    // the composed pictures
  TBitmap32 work_;     // the layer with the calendar, as written
  FileBytes file_;     // the encoded file
  // Where work_ differs from layer_, when work_ is the unrotated picture that file_ holds;
  // else drawnKnown_ is false and the next build starts from the whole layer.
  std::vector<RowSpan> drawn_;
  bool drawnKnown_ = false;
  // The output file as the last build left it (its name, time of last change and size),
  // which then holds file_: the next build writes over it only the bytes that changed.
  // An empty name when that is not known.
  std::filesystem::path written_;
  int64_t writtenTime_ = 0;
  uintmax_t writtenSize_ = 0;
  int reuses_ = 0;
  // The parked layer: its cache file (empty when none), its key, size and fingerprint.
  std::filesystem::path parkedFile_;
  Key parkedKey_;
  Size parkedSize_;
  uint64_t parkedFingerprint_ = 0;
};

// The picture file's time of last change and size; false when it cannot be read.
bool PictureFileStamp(const std::filesystem::path& file, int64_t& time, uintmax_t& size);

}  // namespace ov
