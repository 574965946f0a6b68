#pragma once
// The monitors as the system reports them now, for MonitorLayout.
#include "core/wallpaper/MonitorLayout.h"

namespace ov {

// Every monitor with its bounds, work area and primary flag, and the system's version.
// With no monitor reported, the primary screen's metrics stand in for one.
MonitorLayout QueryMonitorLayout();

// The work area of the monitor holding a screen point (or the nearest one).
Rect WorkAreaAt(Point screen);

}  // namespace ov
