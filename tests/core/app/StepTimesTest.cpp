#include "core/app/StepTimes.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

TEST(StepTimesTest, ReportsEachStepOnceWithItsMomentAndDuration) {
  StepTimes t;
  EXPECT_EQ(t.Report(), "");
  t.Mark("entry", 180.4);
  t.Mark("main window", 352.6);
  t.Mark("wallpaper installed", 701.0);
  t.Mark("main window", 900);  // a second time: the first moment stays
  t.Mark("ready", 720.2);
  EXPECT_EQ(t.Report(),
            "entry\t180\t180\n"
            "main window\t353\t172\n"
            "wallpaper installed\t701\t348\n"
            "ready\t720\t19\n");
}

}  // namespace
}  // namespace ov
