#include "core/render/Bands.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace ov {

namespace {

std::atomic<int> g_threads{0};

int DefaultThreads() {
  const unsigned n = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(n, 1u, 8u));
}

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
  auto run = [&](int64_t band) noexcept {
    try {
      work(rows * band / bands, rows * (band + 1) / bands);
    } catch (...) {
      std::lock_guard<std::mutex> lock(failureLock);
      if (!failure) failure = std::current_exception();
    }
  };
  // Threads are started per call: a few tens of microseconds against passes of
  // milliseconds, and nothing lingers while the program sits idle in the tray.
  std::vector<std::thread> workers;
  workers.reserve(size_t(bands - 1));
  for (int64_t b = 1; b < bands; ++b) {
    try {
      workers.emplace_back(run, b);
    } catch (...) {
      run(b);  // no thread to be had: the caller does that band as well
    }
  }
  run(0);
  for (std::thread& t : workers) t.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace ov
