#include "core/ical/WindowsZones.h"

#include <algorithm>
#include <iterator>

namespace ov {
namespace {

struct ZoneName {
  std::string_view windows;
  std::string_view iana;
};

// Sorted by the Windows name; generated from CLDR at build time.
constexpr ZoneName kZones[] = {
#include "WindowsZones.inc"
};

}  // namespace

std::string_view IanaZoneForWindowsName(std::string_view windowsName) {
  auto it = std::lower_bound(std::begin(kZones), std::end(kZones), windowsName,
                             [](const ZoneName& z, std::string_view n) { return z.windows < n; });
  if (it != std::end(kZones) && it->windows == windowsName) return it->iana;
  return {};
}

}  // namespace ov
