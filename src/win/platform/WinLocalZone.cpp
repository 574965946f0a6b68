#include "win/platform/WinLocalZone.h"

#include <windows.h>

namespace ov {
namespace {

constexpr int64_t kFileTimeUnixEpoch = 116444736000000000LL;  // 1 January 1970 in FILETIME ticks
constexpr int64_t kTicksPerSecond = 10000000;

}  // namespace

int64_t WinLocalZone::LocalFromUtc(int64_t utcSeconds) const {
  const int64_t ticks = utcSeconds * kTicksPerSecond + kFileTimeUnixEpoch;
  if (ticks < 0) return utcSeconds;
  FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{}, local{};
  if (!FileTimeToSystemTime(&ft, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
    return utcSeconds;
  FILETIME lft{};
  if (!SystemTimeToFileTime(&local, &lft)) return utcSeconds;
  const int64_t lticks = (int64_t(lft.dwHighDateTime) << 32) | lft.dwLowDateTime;
  return (lticks - kFileTimeUnixEpoch) / kTicksPerSecond;
}

}  // namespace ov
