#pragma once
// Splitting pixel work into horizontal bands run side by side on the PC's cores. The
// caller's thread takes a band itself and returns only when every band is done, so the
// work stays synchronous for the caller; it just finishes sooner. Workers only compute
// pixels: they never touch a window.
#include <cstdint>
#include <functional>

namespace ov {

// Threads pixel work may use, the caller's included: by default the processor count
// (at most 8). Setting 0 goes back to that default; 1 runs everything on the caller.
void SetPixelThreads(int threads);
int PixelThreads();

// Runs work(first, last) over [0, rows) split into at most PixelThreads() bands of at
// least minRows rows each (fewer bands for little work). An exception thrown by any band
// is caught on its thread and the first one is thrown again here after all bands ended.
void ForEachBand(int64_t rows, int64_t minRows, const std::function<void(int64_t first, int64_t last)>& work);

}  // namespace ov
