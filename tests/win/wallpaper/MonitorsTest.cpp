#include <gtest/gtest.h>
#include <windows.h>

#include "win/wallpaper/Monitors.h"

namespace ov {
namespace {

// What the system reports agrees with its own virtual-screen metrics, so the wallpaper's
// size and origin are those the desktop lays the picture out in.
TEST(Monitors, TheLayoutMatchesTheSystemsVirtualScreen) {
  MonitorLayout layout = QueryMonitorLayout();
  ASSERT_FALSE(layout.monitors.empty());
  Rect v = layout.VirtualScreen();
  EXPECT_EQ(v, (Rect{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)}));
  MonitorInfo primary = layout.Primary();
  EXPECT_TRUE(primary.primary);
  EXPECT_EQ(primary.bounds.left, 0);
  EXPECT_EQ(primary.bounds.top, 0);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(primary.workArea, (Rect{work.left, work.top, work.right, work.bottom}));
  EXPECT_EQ(WorkAreaAt({10, 10}), primary.workArea);
  EXPECT_GE(layout.version.major, 5);
}

}  // namespace
}  // namespace ov
