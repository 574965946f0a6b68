// The program's windows around its modal dialogs: the folder browser disables the
// thread's other windows while it is open and gives them back afterwards, and a window
// made busy for long work comes back enabled even when the work throws.
#include "win/ui/ModalScope.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "win/ui/MessageBoxes.h"

namespace ov {
namespace {

HWND TopLevel(const wchar_t* title) {
  return CreateWindowExW(0, L"STATIC", title, WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// What the windows looked like while the browser was open; the timer then cancels it.
struct SeenInBrowser {
  static inline HWND other = nullptr, owner = nullptr;
  static inline int ticks = 0;
  static inline bool seen = false, otherEnabled = true, ownerEnabled = true;

  static BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM) {
    wchar_t cls[16] = L"";
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    if (!seen) {
      seen = true;
      otherEnabled = IsWindowEnabled(other) != FALSE;
      ownerEnabled = IsWindowEnabled(owner) != FALSE;
    }
    PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
    // Bounded: after ten seconds the test fails instead of waiting for ever.
    if (seen || ++ticks > 100) KillTimer(nullptr, id);
  }
};

TEST(ModalScope, TheFolderBrowserDisablesTheOtherWindowsWhileOpen) {
  HWND owner = TopLevel(L"owner"), other = TopLevel(L"other"), off = TopLevel(L"off");
  ASSERT_TRUE(owner && other && off);
  EnableWindow(off, FALSE);
  SeenInBrowser::owner = owner;
  SeenInBrowser::other = other;
  SetTimer(nullptr, 0, 100, &SeenInBrowser::Tick);

  EXPECT_EQ(BrowseForFolder(owner, "title", "C:\\"), "");
  ASSERT_TRUE(SeenInBrowser::seen) << "the browser did not open";
  EXPECT_FALSE(SeenInBrowser::otherEnabled) << "another window stayed enabled under the browser";
  EXPECT_FALSE(SeenInBrowser::ownerEnabled);
  // Afterwards every window is as it was.
  EXPECT_TRUE(IsWindowEnabled(other));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(IsWindowEnabled(off));
  for (HWND h : {owner, other, off}) DestroyWindow(h);
}

TEST(ModalScope, ABusyWindowComesBackAfterAnException) {
  HWND window = TopLevel(L"busy");
  HWND field = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 30, 20, window, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(window && field);
  SetFocus(field);
  try {
    BusyWindow busy(window);
    EXPECT_FALSE(IsWindowEnabled(window));
    throw std::bad_alloc();
  } catch (const std::bad_alloc&) {
  }
  EXPECT_TRUE(IsWindowEnabled(window));
  EXPECT_EQ(GetFocus(), field);
  // A window that was disabled before stays so.
  EnableWindow(window, FALSE);
  { BusyWindow busy(window); }
  EXPECT_FALSE(IsWindowEnabled(window));
  DestroyWindow(window);
}

}  // namespace
}  // namespace ov
