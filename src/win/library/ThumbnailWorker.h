#pragma once
// A worker thread that makes library thumbnails in the order they are asked for (the
// order the grid first paints their cells), so that decoding a large photo never holds
// up the window. Finished thumbnails are collected here; the window is told by one
// posted message whenever new ones are waiting.
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/render/Bitmap32.h"
#include "core/util/Rect.h"

namespace ov {

struct ThumbnailJob {
  uint64_t generation = 0;  // the library build the row belongs to
  size_t row = 0;
  std::filesystem::path file;
  Size cell{0, 0};
  Size screen{0, 0};
};

struct ThumbnailDone {
  uint64_t generation = 0;
  size_t row = 0;
  std::shared_ptr<const TBitmap32> thumbnail;  // null when the picture could not be read
  Size image{0, 0};
};

class ThumbnailWorker {
 public:
  ThumbnailWorker() = default;
  ~ThumbnailWorker() { Stop(); }
  ThumbnailWorker(const ThumbnailWorker&) = delete;
  ThumbnailWorker& operator=(const ThumbnailWorker&) = delete;

  // Starts the thread; `message` is posted to `notify` when thumbnails are ready.
  void Start(HWND notify, UINT message);
  // Drops the waiting jobs, lets the one in hand finish and joins the thread.
  void Stop();
  void Request(ThumbnailJob job);
  // Forgets every waiting job (the library was rebuilt).
  void CancelAll();
  std::vector<ThumbnailDone> TakeFinished();

 private:
  void Run();

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<ThumbnailJob> jobs_;
  std::vector<ThumbnailDone> finished_;
  bool stopping_ = false;
  bool posted_ = false;  // a notification is on its way and not yet answered
  HWND notify_ = nullptr;
  UINT message_ = 0;
};

}  // namespace ov
