#include "core/render/Bands.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace ov {

namespace {

std::atomic<int> g_threads{0};

int DefaultThreads() {
  const unsigned n = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(n, 1u, 8u));
}

// One ForEachBand call: whoever is free takes its next band.
struct Call {
  const std::function<void(int64_t)>* run = nullptr;
  int64_t bands = 0;
  std::atomic<int64_t> next{0};
  int64_t done = 0;  // bands ended, under the pool's lock
  int users = 0;     // workers inside the call, under the pool's lock
};

// Worker threads kept between calls: starting a thread for every call cost more than
// the work of a small pass (a calendar cell), above all under Wine. A worker with
// nothing to do for a few seconds ends, so nothing lingers while the program sits idle
// in the tray. The pool is never destroyed: workers may still wait on it while the
// process ends.
class Pool {
 public:
  static Pool& Get() {
    static Pool* pool = new Pool;
    return *pool;
  }

  // Runs run(0 .. bands-1), the caller's thread taking bands too, and returns when every
  // band has ended.
  void Run(int64_t bands, const std::function<void(int64_t)>& run) {
    Call call;
    call.run = &run;
    call.bands = bands;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      calls_.push_back(&call);
      for (int64_t b = idle_; b < bands - 1 && live_ < kMaxWorkers; ++b) {
        try {
          std::thread([this] { Work(); }).detach();
          ++live_;
          ++idle_;  // counted as free until it takes a band
        } catch (...) {
          break;  // no thread to be had: the caller does those bands as well
        }
      }
    }
    wake_.notify_all();
    // A caller never waits for a band nobody has taken: it takes what is left itself, so
    // a band may start a banded pass of its own.
    for (int64_t b; (b = call.next++) < bands;) {
      run(b);
      std::lock_guard<std::mutex> lock(mutex_);
      ++call.done;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [&] { return call.done == bands && call.users == 0; });
    calls_.erase(std::find(calls_.begin(), calls_.end(), &call));
  }

 private:
  static constexpr int kMaxWorkers = 7;
  static constexpr auto kIdleEnd = std::chrono::seconds(5);

  void Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      Call* call = nullptr;
      for (Call* c : calls_)
        if (c->next.load() < c->bands) {
          call = c;
          break;
        }
      if (!call) {
        if (!wake_.wait_for(lock, kIdleEnd, [&] { return HasWork(); })) {
          --idle_;
          --live_;
          return;
        }
        continue;
      }
      --idle_;
      ++call->users;
      lock.unlock();
      for (int64_t b; (b = call->next++) < call->bands;) {
        (*call->run)(b);
        std::lock_guard<std::mutex> done(mutex_);
        ++call->done;
      }
      lock.lock();
      --call->users;
      ++idle_;
      finished_.notify_all();
    }
  }

  bool HasWork() const {
    for (const Call* c : calls_)
      if (c->next.load() < c->bands) return true;
    return false;
  }

  std::mutex mutex_;
  std::condition_variable wake_, finished_;
  std::deque<Call*> calls_;
  int live_ = 0;  // workers running
  int idle_ = 0;  // of those, the ones not inside a call
};

}  // namespace

void SetPixelThreads(int threads) { g_threads = std::max(threads, 0); }

int PixelThreads() {
  const int t = g_threads.load();
  return t > 0 ? t : DefaultThreads();
}

void ForEachBand(int64_t rows, int64_t minRows, const std::function<void(int64_t, int64_t)>& work) {
  if (rows <= 0) return;
  minRows = std::max<int64_t>(minRows, 1);
  const int64_t bands = std::clamp<int64_t>(rows / minRows, 1, PixelThreads());
  if (bands == 1) {
    work(0, rows);
    return;
  }
  std::exception_ptr failure;
  std::mutex failureLock;
  const std::function<void(int64_t)> run = [&](int64_t band) noexcept {
    try {
      work(rows * band / bands, rows * (band + 1) / bands);
    } catch (...) {
      std::lock_guard<std::mutex> lock(failureLock);
      if (!failure) failure = std::current_exception();
    }
  };
  Pool::Get().Run(bands, run);
  if (failure) std::rethrow_exception(failure);
}

}  // namespace ov
