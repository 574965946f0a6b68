// Writes the zone folder the program ships for libical: one VCALENDAR file with the
// VTIMEZONE of each zone and link of a tzdata installation (<out>/<Area>/<City>.ics) and
// the list of them (zones.tab). The VTIMEZONEs come from libical's own reader of the
// compiled zone files, so they are exactly what libical would use on a system with tzdata.
//
// Usage: gen_zoneinfo <tzdata folder, e.g. /usr/share/zoneinfo> <output folder>
#include <libical/ical.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: gen_zoneinfo <tzdata folder> <output folder>\n";
    return 2;
  }
  const fs::path tzdir = argv[1];
  const fs::path out = argv[2];
  // libical reads the compiled zone files from TZDIR-like search paths; the folder given
  // must be the one it finds, so check that instead of guessing.
  icaltimezone_set_builtin_tzdata(0);
  const char* found = icaltzutil_get_zone_directory();
  if (!found || fs::weakly_canonical(found) != fs::weakly_canonical(tzdir)) {
    std::cerr << "gen_zoneinfo: libical reads zone files from " << (found ? found : "(none)")
              << ", not " << tzdir << "\n";
    return 1;
  }

  // Zones ("Z name ...") and links ("L target name") of the tzdata source summary.
  std::ifstream zi(tzdir / "tzdata.zi");
  if (!zi) {
    std::cerr << "gen_zoneinfo: cannot read " << (tzdir / "tzdata.zi") << "\n";
    return 1;
  }
  std::set<std::string> names;
  for (std::string line; std::getline(zi, line);) {
    std::istringstream words(line);
    std::string kind, a, b;
    words >> kind >> a >> b;
    if (kind == "Z" && !a.empty()) names.insert(a);
    else if (kind == "L" && !b.empty()) names.insert(b);
  }

  fs::remove_all(out);
  fs::create_directories(out);
  std::ofstream tab(out / "zones.tab", std::ios::binary);
  int written = 0;
  for (const std::string& name : names) {
    icalcomponent* tz = icaltzutil_fetch_timezone(name.c_str());
    if (!tz) {
      std::cerr << "gen_zoneinfo: skipped " << name << "\n";
      continue;
    }
    icalcomponent* cal = icalcomponent_vanew(
        ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"),
        icalproperty_new_prodid("-//Orvinta//zoneinfo//EN"), nullptr);
    icalcomponent_add_component(cal, tz);
    char* text = icalcomponent_as_ical_string_r(cal);
    const fs::path file = out / (name + ".ics");
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    free(text);
    icalcomponent_free(cal);
    tab << name << "\n";
    ++written;
  }
  if (written < 300) {
    std::cerr << "gen_zoneinfo: only " << written << " zones written\n";
    return 1;
  }
  std::cout << "gen_zoneinfo: " << written << " zones\n";
  return 0;
}
