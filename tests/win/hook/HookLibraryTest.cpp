// Loads the real MHookOV.dll and clicks through the system's input queue.
#include <gtest/gtest.h>

#include <string>

#include "StandInWindows.h"
#include "hook/MHookOV.h"

namespace ov::test {
namespace {

using namespace ov::hook;

// Wine reaches the build tree's Unix path through drive Z:.
const wchar_t* const kDllPath = L"Z:" ORV_HOOK_DLL_W;

// Enough for a posted message to arrive; nothing more than a poll interval in practice.
constexpr DWORD kSettleMs = 400;

class HookLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryW(kDllPath);
    ASSERT_NE(module_, nullptr) << "cannot load the hook library";
    initialize_ = reinterpret_cast<InitializeFn>(reinterpret_cast<void*>(GetProcAddress(module_, kInitializeName)));
    deInitialize_ =
        reinterpret_cast<DeInitializeFn>(reinterpret_cast<void*>(GetProcAddress(module_, kDeInitializeName)));
    ASSERT_NE(initialize_, nullptr);
    ASSERT_NE(deInitialize_, nullptr);
    PumpHookMessages(50);  // nothing left over from an earlier test
  }
  void TearDown() override {
    if (deInitialize_) deInitialize_();
    if (module_) FreeLibrary(module_);
  }

  HMODULE module_ = nullptr;
  InitializeFn initialize_ = nullptr;
  DeInitializeFn deInitialize_ = nullptr;
};

TEST_F(HookLibraryTest, InitializeRefusesWindowsThatDoNotExist) {
  EXPECT_NE(initialize_(nullptr), kInitOk);
  EXPECT_NE(initialize_(reinterpret_cast<HWND>(static_cast<intptr_t>(0x7ffff0))), kInitOk);
  HWND gone;
  {
    auto receiver = StandInWindow::Receiver();
    gone = receiver.Handle();
  }
  EXPECT_NE(initialize_(gone), kInitOk);
}

TEST_F(HookLibraryTest, DeInitializeIsHarmlessWithoutInitializeAndTwice) {
  deInitialize_();
  deInitialize_();
  auto receiver = StandInWindow::Receiver();
  EXPECT_EQ(initialize_(receiver.Handle()), kInitOk);
  deInitialize_();
  deInitialize_();
  // And the hook starts again after being stopped.
  EXPECT_EQ(initialize_(receiver.Handle()), kInitOk);
}

TEST_F(HookLibraryTest, PostsPressAndReleaseOnTheDesktopWithTheClickPoint) {
  auto desktop = StandInWindow::TopLevel(L"Progman", RECT{20, 20, 260, 260});
  auto view = StandInWindow::Child(L"SHELLDLL_DefView", desktop.Handle());
  auto receiver = StandInWindow::Receiver();
  ASSERT_EQ(initialize_(receiver.Handle()), kInitOk);

  const POINT click{123, 87};
  ClickAt(click);
  auto got = PumpHookMessages(kSettleMs);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].WParam, static_cast<WPARAM>(WM_LBUTTONDOWN));
  EXPECT_EQ(got[1].WParam, static_cast<WPARAM>(WM_LBUTTONUP));
  for (const auto& m : got) {
    EXPECT_EQ(m.Window, receiver.Handle());
    EXPECT_EQ(m.LParam, 0);
    EXPECT_EQ(m.Pos.x, click.x);
    EXPECT_EQ(m.Pos.y, click.y);
  }
}

TEST_F(HookLibraryTest, ClicksOnOtherWindowsAreNotReported) {
  auto other = StandInWindow::TopLevel(L"OvOtherProgram", RECT{300, 20, 500, 200});
  auto taskBar = StandInWindow::TopLevel(L"Shell_TrayWnd", RECT{0, 300, 500, 330});
  auto receiver = StandInWindow::Receiver();
  ASSERT_EQ(initialize_(receiver.Handle()), kInitOk);
  ClickAt(POINT{400, 100});
  ClickAt(POINT{100, 310});
  EXPECT_TRUE(PumpHookMessages(kSettleMs).empty());
}

TEST_F(HookLibraryTest, ReInitializeMovesTheMessagesToTheNewWindow) {
  auto desktop = StandInWindow::TopLevel(L"WorkerW", RECT{20, 20, 260, 260});
  auto first = StandInWindow::Receiver();
  auto second = StandInWindow::Receiver();
  ASSERT_EQ(initialize_(first.Handle()), kInitOk);
  ASSERT_EQ(initialize_(second.Handle()), kInitOk);
  ClickAt(POINT{50, 60});
  auto got = PumpHookMessages(kSettleMs);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].Window, second.Handle());
  EXPECT_EQ(got[1].Window, second.Handle());

  // A failed re-Initialize keeps nothing half-done: the hook stays with its window.
  EXPECT_NE(initialize_(nullptr), kInitOk);
  ClickAt(POINT{50, 60});
  EXPECT_EQ(PumpHookMessages(kSettleMs).size(), 2u);
}

TEST_F(HookLibraryTest, NothingArrivesAfterDeInitialize) {
  auto desktop = StandInWindow::TopLevel(L"Progman", RECT{20, 20, 260, 260});
  auto receiver = StandInWindow::Receiver();
  ASSERT_EQ(initialize_(receiver.Handle()), kInitOk);
  deInitialize_();
  ClickAt(POINT{100, 100});
  EXPECT_TRUE(PumpHookMessages(kSettleMs).empty());
}

TEST_F(HookLibraryTest, UnloadingWhileHookedKeepsTheLibraryUntilItIsStopped) {
  auto desktop = StandInWindow::TopLevel(L"Progman", RECT{20, 20, 260, 260});
  auto receiver = StandInWindow::Receiver();
  ASSERT_EQ(initialize_(receiver.Handle()), kInitOk);
  FreeLibrary(module_);
  module_ = nullptr;
  // The hook thread still runs the library's code, so the library stays mapped and
  // keeps reporting.
  ASSERT_NE(GetModuleHandleW(kDllPath), nullptr);
  ClickAt(POINT{100, 100});
  EXPECT_EQ(PumpHookMessages(kSettleMs).size(), 2u);
  // Loaded again it is the same instance; stopping the hook lets go of the thread's
  // reference, and our own release then unloads it.
  module_ = LoadLibraryW(kDllPath);
  ASSERT_NE(module_, nullptr);
  auto deInitialize =
      reinterpret_cast<DeInitializeFn>(reinterpret_cast<void*>(GetProcAddress(module_, kDeInitializeName)));
  ASSERT_EQ(deInitialize, deInitialize_);
  deInitialize();
  FreeLibrary(module_);
  module_ = nullptr;
  deInitialize_ = nullptr;
  EXPECT_EQ(GetModuleHandleW(kDllPath), nullptr);
}

}  // namespace
}  // namespace ov::test
