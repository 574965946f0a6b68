// A settings page hands its controls' notifications to the configuration window. While
// the window is torn down its list views still report every item they delete; once the
// page is disconnected, none of that reaches the (departing) window any more.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "win/config/MainWindow.h"

namespace ov {
namespace {

TEST(TabPage, ADisconnectedPageForwardsNothingWhileItsControlsGo) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(host);
  int forwarded = 0;
  auto count = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_NOTIFY) ++forwarded;
    return false;
  };
  TabPage outer, inner;
  ASSERT_TRUE(outer.Create(host, count));
  ASSERT_TRUE(inner.Create(outer.Handle(), count));
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 100, 100, inner.Handle(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(list);
  LVCOLUMNW column{};
  ListView_InsertColumn(list, 0, &column);
  for (int i = 0; i < 3; ++i) {
    LVITEMW item{};
    item.iItem = i;
    ListView_InsertItem(list, &item);
  }
  // Connected, the page hands on what the list reports as it is destroyed.
  ListView_DeleteItem(list, 0);
  EXPECT_GT(forwarded, 0);
  forwarded = 0;
  outer.Disconnect();
  inner.Disconnect();
  DestroyWindow(outer.Handle());  // the inner page and the list go with it
  EXPECT_EQ(forwarded, 0);
  DestroyWindow(host);
}

}  // namespace
}  // namespace ov
