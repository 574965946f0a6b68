#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/app/Housekeeping.h"

namespace ov {
namespace {

class RecordingHost : public HousekeepingHost {
 public:
  uintptr_t CurrentHookWindow() override { return window; }
  void DeInitializeHook() override { calls.push_back("deinit"); }
  int InitializeHook(uintptr_t w) override {
    calls.push_back("init " + std::to_string(w));
    return initResult;
  }
  void ShowHookError() override { calls.push_back("hook error"); }
  void KeepIconCaptionsTransparent() override { calls.push_back("icons"); }
  void SetDisplayDate(double date) override { displayDate = date; }
  void UpdateWallpaper() override { calls.push_back("update " + std::to_string(displayDate)); }
  void ShowBackupAge() override { calls.push_back("backup age"); }
  void Rotate() override { calls.push_back("rotate"); }
  void ShowNextRotation() override { calls.push_back("next rotation"); }
  void CaptureCheck() override { calls.push_back("capture"); }
  void SetTimerEnabled(bool on) override { calls.push_back(on ? "timer on" : "timer off"); }

  uintptr_t window = 100;
  double displayDate = 46000.9;
  int initResult = 0;
  std::vector<std::string> calls;
};

class HousekeepingTest : public ::testing::Test {
 protected:
  HousekeepingTest() {
    state.hookWindow = 100;
    state.lastTick = 46000.9;  // 21:36
    state.nextRotationTime = 46010;
  }
  HousekeepingState state;
  RecordingHost host;
};

TEST_F(HousekeepingTest, AnOrdinaryTickOnlyKeepsTheIconsAndTheLabel) {
  HousekeepingTick(state, host, 46000.95);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"icons", "next rotation"}));
  EXPECT_DOUBLE_EQ(state.lastTick, 46000.95);
  EXPECT_DOUBLE_EQ(host.displayDate, 46000.9);
}

TEST_F(HousekeepingTest, MidnightMovesTheCalendarToTheNewDay) {
  HousekeepingTick(state, host, 46001.00001);
  // The calendar moves to the new day before it is rebuilt.
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{"icons", "update " + std::to_string(46001.00001), "backup age", "next rotation"}));
  EXPECT_DOUBLE_EQ(host.displayDate, 46001.00001);
  host.calls.clear();
  HousekeepingTick(state, host, 46001.0001);  // same day: no second rebuild
  EXPECT_EQ(host.calls, (std::vector<std::string>{"icons", "next rotation"}));
}

TEST_F(HousekeepingTest, AClockChangeIsSeenAsADayChange) {
  // The message filter sets the last tick one day back when the clock is set.
  state.lastTick = 46000.95 - 1.0;
  HousekeepingTick(state, host, 46000.95);
  EXPECT_EQ(host.calls[1].rfind("update", 0), 0u);
  // The clock set back by a day also rebuilds.
  host.calls.clear();
  HousekeepingTick(state, host, 45999.5);
  EXPECT_EQ(host.calls[1].rfind("update", 0), 0u);
}

TEST_F(HousekeepingTest, DueRotationOnlyWhenSwitchedOn) {
  HousekeepingTick(state, host, 46010.5);
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "rotate"), 0);
  state.rotateImages = true;
  host.calls.clear();
  HousekeepingTick(state, host, 46010.5);
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "rotate"), 1);
  host.calls.clear();
  HousekeepingTick(state, host, 46009.5);  // not yet due
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "rotate"), 0);
}

TEST_F(HousekeepingTest, NewApplicationWindowReattachesTheHookAndReportsAFailureOnce) {
  host.window = 200;
  host.initResult = 5;
  HousekeepingTick(state, host, 46000.95);
  EXPECT_EQ(host.calls[0], "deinit");
  EXPECT_EQ(host.calls[1], "init 200");
  EXPECT_EQ(host.calls[2], "hook error");
  EXPECT_EQ(state.hookWindow, 200u);
  host.calls.clear();
  HousekeepingTick(state, host, 46000.96);
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "hook error"), 0);
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "init 200"), 0);
}

TEST_F(HousekeepingTest, CaptureRunsWithTheTimerOff) {
  state.captureWallpaper = true;
  HousekeepingTick(state, host, 46000.95);
  std::vector<std::string> tail(host.calls.end() - 3, host.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"timer off", "capture", "timer on"}));
}

TEST_F(HousekeepingTest, NothingHappensWhileQuitting) {
  state.quitting = true;
  state.rotateImages = true;
  state.captureWallpaper = true;
  host.window = 300;
  HousekeepingTick(state, host, 46020.5);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_DOUBLE_EQ(state.lastTick, 46000.9);
}

}  // namespace
}  // namespace ov
