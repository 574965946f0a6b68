#include "hook/DesktopWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "StandInWindows.h"

namespace ov::test {
namespace {

using ov::hook::IsDesktopAt;
using ov::hook::IsDesktopWindow;

class DesktopWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
  }
};

TEST_F(DesktopWindowTest, DesktopWindowItselfCountsNullDoesNot) {
  EXPECT_TRUE(IsDesktopWindow(GetDesktopWindow()));
  EXPECT_FALSE(IsDesktopWindow(nullptr));
  EXPECT_FALSE(IsDesktopWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(0x7ffff0))));
}

TEST_F(DesktopWindowTest, EveryLevelOfTheShellDesktopTreeCounts) {
  for (const wchar_t* rootClass : {L"Progman", L"WorkerW"}) {
    SCOPED_TRACE(testing::Message() << "root class " << (rootClass[0] == L'P' ? "Progman" : "WorkerW"));
    auto root = StandInWindow::TopLevel(rootClass, RECT{0, 0, 200, 200});
    auto view = StandInWindow::Child(L"SHELLDLL_DefView", root.Handle());
    auto icons = StandInWindow::Child(L"SysListView32", view.Handle());
    EXPECT_TRUE(IsDesktopWindow(root.Handle()));
    EXPECT_TRUE(IsDesktopWindow(view.Handle()));
    EXPECT_TRUE(IsDesktopWindow(icons.Handle()));
  }
}

TEST_F(DesktopWindowTest, ShellClassesInsideOtherWindowsDoNotCount) {
  // A folder window holds the same view and list classes as the desktop.
  auto folder = StandInWindow::TopLevel(L"CabinetWClass", RECT{0, 0, 200, 200});
  auto view = StandInWindow::Child(L"SHELLDLL_DefView", folder.Handle());
  auto list = StandInWindow::Child(L"SysListView32", view.Handle());
  EXPECT_FALSE(IsDesktopWindow(folder.Handle()));
  EXPECT_FALSE(IsDesktopWindow(view.Handle()));
  EXPECT_FALSE(IsDesktopWindow(list.Handle()));

  auto taskBar = StandInWindow::TopLevel(L"Shell_TrayWnd", RECT{0, 0, 200, 30});
  auto trayChild = StandInWindow::Child(L"WorkerW", taskBar.Handle());
  EXPECT_FALSE(IsDesktopWindow(taskBar.Handle()));
  EXPECT_FALSE(IsDesktopWindow(trayChild.Handle())) << "a WorkerW that is not top-level is not the desktop";
}

TEST_F(DesktopWindowTest, RootClassNamesMatchExactly) {
  EXPECT_TRUE(ov::hook::IsShellDesktopRootClass(L"Progman"));
  EXPECT_TRUE(ov::hook::IsShellDesktopRootClass(L"WorkerW"));
  EXPECT_FALSE(ov::hook::IsShellDesktopRootClass(L"progman"));
  EXPECT_FALSE(ov::hook::IsShellDesktopRootClass(L"ProgmanX"));
  EXPECT_FALSE(ov::hook::IsShellDesktopRootClass(L"SysListView32"));
  EXPECT_FALSE(ov::hook::IsShellDesktopRootClass(L""));
  EXPECT_FALSE(ov::hook::IsShellDesktopRootClass(nullptr));
}

TEST_F(DesktopWindowTest, PointsAreJudgedByTheWindowUnderThem) {
  auto desktop = StandInWindow::TopLevel(L"Progman", RECT{40, 40, 240, 240});
  auto icons = StandInWindow::Child(L"SysListView32", desktop.Handle());
  auto other = StandInWindow::TopLevel(L"OvOtherProgram", RECT{300, 40, 500, 240});
  EXPECT_TRUE(IsDesktopAt(POINT{100, 100}));
  EXPECT_TRUE(IsDesktopAt(POINT{40, 40}));
  EXPECT_FALSE(IsDesktopAt(POINT{400, 100}));
  EXPECT_FALSE(IsDesktopAt(POINT{300, 40}));
}

}  // namespace
}  // namespace ov::test
