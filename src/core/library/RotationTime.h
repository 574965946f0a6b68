#pragma once
// When the next wallpaper rotation is due, and the label that says so.
#include <cstdint>
#include <string>

#include "core/settings/Settings.h"

namespace ov {

// now plus `interval` units of RotationMode: 0 minutes, 1 hours, 2 days; any other mode
// gives 0, which makes a rotation due at once.
double NextRotation(double now, int interval, int mode);

// The interval's number was edited: it is held to 1..9999 and the interval starts again
// from now. (Changing only the unit waits for the next edit or change of picture.)
void RotationIntervalEdited(Settings& s, int32_t interval, double now);

// "下一次更改: \r" and the date-time texts of the locale; the break puts the time under it.
std::string NextRotationLabel(const std::string& shortDate, const std::string& longTime);

}  // namespace ov
