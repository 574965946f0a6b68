// The numeric field as a window: typed text, the right-button reset on each part, the
// arrows with Ctrl and Shift, the bar, leaving the field, and what the parent hears.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "win/config/FrameEdit.h"

namespace ov {
namespace {

int g_changes = 0;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE && LOWORD(wp) == 7) ++g_changes;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class FrameEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FrameEditTestParent";
    RegisterClassW(&wc);
    parent_ = CreateWindowExW(0, L"FrameEditTestParent", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              wc.hInstance, nullptr);
    font_ = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    ASSERT_TRUE(field_.Create(parent_, 7, 10, 10, 40, 16, 21, 6, font_));
    bar_ = FindWindowExW(field_.Handle(), nullptr, L"TFrEditBar", nullptr);
    g_changes = 0;
  }
  void TearDown() override {
    DestroyWindow(parent_);
    DeleteObject(font_);
  }
  std::wstring EditText() {
    wchar_t buf[64] = L"";
    GetWindowTextW(field_.EditHandle(), buf, 64);
    return buf;
  }
  bool Bold() {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(field_.EditHandle(), WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf.lfWeight >= FW_BOLD;
  }
  void Arrow(bool up, BYTE shift, BYTE ctrl) {
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift;
    keys[VK_CONTROL] = ctrl;
    SetKeyboardState(keys);
    NMUPDOWN ud{};
    ud.hdr.hwndFrom = field_.SpinHandle();
    ud.hdr.idFrom = 2;
    ud.hdr.code = UDN_DELTAPOS;
    ud.iPos = field_.Position();
    ud.iDelta = up ? 1 : -1;
    SendMessageW(field_.Handle(), WM_NOTIFY, 2, reinterpret_cast<LPARAM>(&ud));
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
  }

  HWND parent_ = nullptr, bar_ = nullptr;
  HFONT font_ = nullptr;
  TFrEdit field_{-50, 50, 6, true};
};

TEST_F(FrameEditTest, TypingResetArrowsBarAndLeaving) {
  EXPECT_EQ(EditText(), L"6");
  EXPECT_TRUE(Bold());

  SetWindowTextW(field_.EditHandle(), L"120");
  EXPECT_EQ(EditText(), L"50");
  EXPECT_EQ(field_.Position(), 50);
  EXPECT_FALSE(Bold());
  EXPECT_GE(g_changes, 1);

  SetWindowTextW(field_.EditHandle(), L"-");
  EXPECT_EQ(field_.Position(), 50);
  SendMessageW(field_.Handle(), WM_COMMAND, MAKEWPARAM(1, EN_KILLFOCUS),
               reinterpret_cast<LPARAM>(field_.EditHandle()));
  EXPECT_EQ(EditText(), L"50");

  // The right button on every part resets; the text field's menu never opens.
  for (HWND part : {field_.EditHandle(), field_.SpinHandle(), bar_}) {
    field_.SetPosition(-20);
    SendMessageW(part, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(field_.Position(), 6);
    EXPECT_TRUE(Bold());
  }
  EXPECT_EQ(SendMessageW(field_.EditHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field_.EditHandle()), -1), 0);

  field_.SetPosition(0);
  Arrow(true, 0, 0x80);
  EXPECT_EQ(field_.Position(), 10);
  Arrow(false, 0x80, 0);
  EXPECT_EQ(field_.Position(), -50);
  EXPECT_EQ(EditText(), L"-50");

  // A press in the middle of the bar: minimum + round(x / width * range).
  RECT rc;
  GetClientRect(bar_, &rc);
  SendMessageW(bar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right / 2, 2));
  SendMessageW(bar_, WM_LBUTTONUP, 0, MAKELPARAM(rc.right / 2, 2));
  EXPECT_NEAR(field_.Position(), 0, 2);

  // Disabled, every part is disabled.
  EnableWindow(field_.Handle(), FALSE);
  EXPECT_FALSE(IsWindowEnabled(field_.EditHandle()));
  EXPECT_FALSE(IsWindowEnabled(field_.SpinHandle()));
}

}  // namespace
}  // namespace ov
