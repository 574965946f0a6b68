#pragma once
// The version text shown in the window caption and the About tab.
#include <cstdint>
#include <string>

namespace ov {

struct FileVersion {
  uint16_t major = 0, minor = 0, release = 0, build = 0;
  bool preRelease = false, specialBuild = false, privateBuild = false;
};

// "Version %d.%d.%d (build %d)", then " [BETA]", " [Special]" and " [PRIVATE]" for the
// pre-release, special and private build flags, in that order.
std::string FormatVersionText(const FileVersion& v);

// The main window caption "Orvinta3 - " + version text, and the About label.
std::string MainWindowCaption(const FileVersion& v);
std::string AboutProgramLabel(const FileVersion& v);

}  // namespace ov
