#include "core/render/Avx2.h"

#include <atomic>

namespace ov {

namespace {
std::atomic<bool> g_allowed{true};
}  // namespace

bool UseAvx2Kernels() {
#if defined(__GNUC__) && defined(__x86_64__)
  static const bool supported = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return supported && g_allowed.load(std::memory_order_relaxed);
#else
  return false;
#endif
}

void AllowAvx2Kernels(bool allowed) { g_allowed.store(allowed, std::memory_order_relaxed); }

}  // namespace ov
