#pragma once
// A decoder that can start on a picture ahead of time, on a thread of its own, while the
// program does other work (at start-up it creates its windows while the background
// picture decodes); decoding that file later takes the result instead of decoding again.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <thread>

#include "core/platform/ImageDecoder.h"
#include "core/render/Bitmap32.h"

namespace ov {

class PrefetchingDecoder final : public IImageDecoder {
 public:
  // Runs work on the decoding thread; a platform may have to prepare that thread around it.
  using ThreadScope = std::function<void(const std::function<void()>& work)>;

  // `inner` must allow two decodes at once on different threads.
  explicit PrefetchingDecoder(IImageDecoder& inner, ThreadScope scope = {});
  ~PrefetchingDecoder() override;
  PrefetchingDecoder(const PrefetchingDecoder&) = delete;
  PrefetchingDecoder& operator=(const PrefetchingDecoder&) = delete;

  // Starts decoding `file` unless a decode started earlier is still held.
  void Prefetch(const std::filesystem::path& file);
  // The held picture when it is of `file` as it is now on disk and decoded well (waiting
  // for it to finish); any other file is decoded by the inner decoder at once, on the
  // calling thread, and the held picture stays held.
  DecodeResult Decode(TBitmap32& surface, const std::filesystem::path& file) override;
  // Lets go of a held picture nobody asked for, waiting for its decode to end.
  void Forget();

 private:
  void Join();

  IImageDecoder& inner_;
  ThreadScope scope_;
  std::thread worker_;
  bool held_ = false;
  std::filesystem::path file_;
  std::filesystem::file_time_type time_{};
  uintmax_t size_ = 0;
  TBitmap32 picture_;
  DecodeResult result_;
};

}  // namespace ov
