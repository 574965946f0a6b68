#pragma once
// When the next wallpaper rotation is due.

namespace ov {

// now plus `interval` units of RotationMode: 0 minutes, 1 hours, 2 days; any other mode
// gives 0, which makes a rotation due at once.
double NextRotation(double now, int interval, int mode);

}  // namespace ov
