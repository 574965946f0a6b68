#include "core/ical/IcalSetup.h"

#include <libical/ical.h>

#include <cstdio>

namespace ov {

bool UseZoneFolder(const std::string& folder) {
  // Checked the way the library opens it (the C library's fopen), so a path it cannot
  // open is found here and not later, silently, as UTC.
  FILE* f = std::fopen((folder + "/zones.tab").c_str(), "rb");
  if (f) std::fclose(f);
  icaltimezone_set_builtin_tzdata(1);
  set_zone_directory(folder.c_str());  // the library keeps its own copy
  return f != nullptr;
}

}  // namespace ov
