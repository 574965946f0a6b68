#include <gtest/gtest.h>
#include <windows.h>

#include "win/ui/SharedImages.h"

namespace ov {
namespace {

// A menu image drawn for its item keeps the menu's background where the image is
// transparent, and only our own images are drawn: a foreign owner-drawn item is left to
// its window.
TEST(MenuImages, DrawnWithTheirAlphaOverTheMenuBackground) {
  HBITMAP tick = SharedImages::Get().MenuBitmap(kMenuImageTick);
  MENUITEMINFOW item{};
  item.cbSize = sizeof(item);
  SetMenuItemImage(item, tick);
  EXPECT_EQ(HBMMENU_CALLBACK, item.hbmpItem);
  EXPECT_TRUE(item.fMask & MIIM_DATA);

  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = item.dwItemData;
  ASSERT_TRUE(HandleMenuImageMessage(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_EQ(16u, measure.itemWidth);
  MEASUREITEMSTRUCT foreign{};
  foreign.CtlType = ODT_MENU;
  foreign.itemData = 12345;
  EXPECT_FALSE(HandleMenuImageMessage(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&foreign)));

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP surface = CreateCompatibleBitmap(screen, 20, 20);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, surface);
  RECT all{0, 0, 20, 20};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.hDC = dc;
  draw.rcItem = all;
  draw.itemData = item.dwItemData;
  ASSERT_TRUE(HandleMenuImageMessage(WM_DRAWITEM, reinterpret_cast<LPARAM>(&draw)));
  // The image is centred: its transparent corner leaves white, its stroke is green.
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 3, 3));
  COLORREF stroke = GetPixel(dc, 2 + 6, 2 + 11);
  EXPECT_GT(GetGValue(stroke), GetRValue(stroke));
  EXPECT_LT(GetGValue(stroke), 200);
  SelectObject(dc, old);
  DeleteObject(surface);
  DeleteDC(dc);
}

}  // namespace
}  // namespace ov
