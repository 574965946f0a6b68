#include "core/app/VersionText.h"

#include "core/util/Text.h"

namespace ov {

std::string FormatVersionText(const FileVersion& v) {
  std::string s = Format("Version %d.%d.%d (build %d)", v.major, v.minor, v.release, v.build);
  if (v.preRelease) s += " [BETA]";
  if (v.specialBuild) s += " [Special]";
  if (v.privateBuild) s += " [PRIVATE]";
  return s;
}

std::string MainWindowCaption(const FileVersion& v) { return "Orvinta3 - " + FormatVersionText(v); }

std::string AboutProgramLabel(const FileVersion& v) { return "Orvinta - " + FormatVersionText(v); }

}  // namespace ov
