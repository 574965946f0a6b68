#include "core/images/PrefetchingDecoder.h"

#include <system_error>
#include <utility>

namespace ov {

namespace {

// The file's time and length, which tell whether it changed since it was read.
bool Stamp(const std::filesystem::path& file, std::filesystem::file_time_type& time, uintmax_t& size) {
  std::error_code ec;
  time = std::filesystem::last_write_time(file, ec);
  if (ec) return false;
  size = std::filesystem::file_size(file, ec);
  return !ec;
}

}  // namespace

PrefetchingDecoder::PrefetchingDecoder(IImageDecoder& inner, ThreadScope scope)
    : inner_(inner), scope_(std::move(scope)) {}

PrefetchingDecoder::~PrefetchingDecoder() { Join(); }

void PrefetchingDecoder::Join() {
  if (worker_.joinable()) worker_.join();
}

void PrefetchingDecoder::Prefetch(const std::filesystem::path& file) {
  if (held_) return;
  Join();
  if (!Stamp(file, time_, size_)) return;
  file_ = file;
  held_ = true;
  try {
    worker_ = std::thread([this] {
      auto work = [this] {
        try {
          result_ = inner_.Decode(picture_, file_);
        } catch (...) {
          result_ = {};
        }
      };
      if (scope_) scope_(work);
      else work();
    });
  } catch (const std::system_error&) {
    // No thread to be had: the picture is decoded when it is asked for.
    held_ = false;
  }
}

DecodeResult PrefetchingDecoder::Decode(TBitmap32& surface, const std::filesystem::path& file) {
  if (held_ && file == file_) {
    Join();
    held_ = false;
    std::filesystem::file_time_type time;
    uintmax_t size = 0;
    // A failed decode is tried again here: the thread may have lacked what the caller's has.
    if (result_.ok && Stamp(file, time, size) && time == time_ && size == size_) {
      surface = std::move(picture_);
      picture_ = TBitmap32();
      return result_;
    }
    picture_ = TBitmap32();
  }
  return inner_.Decode(surface, file);
}

void PrefetchingDecoder::Forget() {
  Join();
  held_ = false;
  picture_ = TBitmap32();
}

}  // namespace ov
