#include "win/library/ThumbnailWorker.h"

#include <objbase.h>

#include "win/library/ThumbnailMaker.h"

namespace ov {

void ThumbnailWorker::Start(HWND notify, UINT message) {
  if (thread_.joinable()) return;
  notify_ = notify;
  message_ = message;
  stopping_ = false;
  thread_ = std::thread([this] {
    try {
      Run();
    } catch (...) {
      // Out of memory for the results, say: thumbnails stop arriving and the rows stay
      // grey, but the program goes on.
    }
  });
}

void ThumbnailWorker::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  finished_.clear();
  posted_ = false;
}

void ThumbnailWorker::Request(ThumbnailJob job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
}

void ThumbnailWorker::CancelAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  jobs_.clear();
  finished_.clear();
}

std::vector<ThumbnailDone> ThumbnailWorker::TakeFinished() {
  std::lock_guard<std::mutex> lock(mutex_);
  posted_ = false;
  std::vector<ThumbnailDone> out;
  out.swap(finished_);
  return out;
}

void ThumbnailWorker::Run() {
  // The imaging component's objects live in this thread's apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  // Below the window's thread, so that painting and input always come first.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
  for (;;) {
    ThumbnailJob job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) break;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    Thumbnail made;
    try {
      made = MakeThumbnail(job.file, job.cell, job.screen);
    } catch (...) {
      // Nothing thrown while decoding may end the program: the picture gets no thumbnail.
      made = Thumbnail{};
    }
    ThumbnailDone done{job.generation, job.row, nullptr, made.image};
    if (!made.pixels.Empty()) done.thumbnail = std::make_shared<const TBitmap32>(std::move(made.pixels));
    bool post = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) break;
      finished_.push_back(std::move(done));
      post = !posted_;
      posted_ = true;
    }
    if (post) PostMessageW(notify_, message_, 0, 0);
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace ov
