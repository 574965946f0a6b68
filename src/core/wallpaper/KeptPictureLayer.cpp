#include "core/wallpaper/KeptPictureLayer.h"

#include <system_error>

namespace ov {

void KeptPictureLayer::Release() {
  valid_ = false;
  key_ = {};
  layer_.SetSize(0, 0);
  work_.SetSize(0, 0);
  FileBytes().swap(file_);
  std::vector<RowSpan>().swap(drawn_);
  drawnKnown_ = false;
  written_.clear();
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
