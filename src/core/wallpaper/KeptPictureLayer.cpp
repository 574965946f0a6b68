#include "core/wallpaper/KeptPictureLayer.h"

#include <fstream>
#include <string_view>
#include <system_error>

#include "core/util/FileIo.h"

namespace ov {

namespace {

// A fingerprint of the pixels, four words at a time in independent lanes (a few
// milliseconds for a 4K layer): a cache file changed behind the program's back, or
// read back short, is not taken for the layer.
uint64_t Fingerprint(const TBitmap32& s) {
  const Pixel* p = s.Bits();
  const size_t n = size_t(s.Width()) * size_t(s.Height());
  uint64_t lane[4] = {0x9E3779B97F4A7C15u, 0xC2B2AE3D27D4EB4Fu, 0x165667B19E3779F9u, 0x27D4EB2F165667C5u};
  size_t i = 0;
  for (; i + 4 <= n; i += 4)
    for (int k = 0; k < 4; ++k) lane[k] = (lane[k] ^ p[i + size_t(k)]) * 0x100000001B3u;
  for (; i < n; ++i) lane[0] = (lane[0] ^ p[i]) * 0x100000001B3u;
  return lane[0] ^ (lane[1] << 1) ^ (lane[2] << 2) ^ (lane[3] << 3) ^ n;
}

std::string_view PixelBytes(const TBitmap32& s) {
  return {reinterpret_cast<const char*>(s.Bits()), size_t(s.Width()) * size_t(s.Height()) * sizeof(Pixel)};
}

}  // namespace

KeptPictureLayer::~KeptPictureLayer() { ForgetParked(); }

void KeptPictureLayer::FreeSurfaces() {
  valid_ = false;
  key_ = {};
  layer_.SetSize(0, 0);
  work_.SetSize(0, 0);
  FileBytes().swap(file_);
  std::vector<RowSpan>().swap(drawn_);
  drawnKnown_ = false;
  written_.clear();
}

void KeptPictureLayer::Release() {
  FreeSurfaces();
  ForgetParked();
}

void KeptPictureLayer::ForgetParked() {
  if (parkedFile_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(parkedFile_, ec);
  parkedFile_.clear();
  parkedKey_ = {};
}

void KeptPictureLayer::Park(const std::filesystem::path& cacheFile) {
  if (!valid_ || layer_.Empty()) {
    Release();
    return;
  }
  // A layer read back from the file and not composed again since is in the file already.
  const bool inFile = parkedFile_ == cacheFile && parkedKey_ == key_ &&
                      parkedSize_ == Size{layer_.Width(), layer_.Height()};
  if (!inFile) {
    ForgetParked();
    const uint64_t fingerprint = Fingerprint(layer_);
    if (WriteFileAtomic(cacheFile, PixelBytes(layer_))) {
      parkedFile_ = cacheFile;
      parkedKey_ = key_;
      parkedSize_ = {layer_.Width(), layer_.Height()};
      parkedFingerprint_ = fingerprint;
    }
  }
  FreeSurfaces();
}

bool KeptPictureLayer::Unpark(const Key& key) {
  if (parkedFile_.empty() || !(parkedKey_ == key)) return false;
  layer_.Reshape(parkedSize_.width, parkedSize_.height);
  const std::streamsize bytes = std::streamsize(PixelBytes(layer_).size());
  bool read = false;
  {
    // Closed before a spoiled file is removed: Windows removes no file that is open.
    std::ifstream in(parkedFile_, std::ios::binary);
    read = in && in.read(reinterpret_cast<char*>(layer_.Bits()), bytes) && in.gcount() == bytes &&
           in.peek() == std::ifstream::traits_type::eof();
  }
  if (!read || Fingerprint(layer_) != parkedFingerprint_) {
    layer_.SetSize(0, 0);
    ForgetParked();
    return false;
  }
  key_ = key;
  valid_ = true;
  drawnKnown_ = false;
  return true;
}

size_t KeptPictureLayer::Bytes() const {
  return layer_.BufferBytes() + work_.BufferBytes() + file_.capacity();
}

bool PictureFileStamp(const std::filesystem::path& file, int64_t& time, uintmax_t& size) {
  std::error_code ec;
  const auto t = std::filesystem::last_write_time(file, ec);
  if (ec) return false;
  size = std::filesystem::file_size(file, ec);
  if (ec) return false;
  time = static_cast<int64_t>(t.time_since_epoch().count());
  return true;
}

}  // namespace ov
