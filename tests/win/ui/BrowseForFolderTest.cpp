#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "win/ui/MessageBoxes.h"

namespace ov {
namespace {

// Stands in for the browser dialog: records what the callback sends it.
struct BrowserStandIn {
  static inline std::wstring status, selection;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == BFFM_SETSTATUSTEXTW) status = reinterpret_cast<const wchar_t*>(lp);
    if (msg == BFFM_SETSELECTIONW) selection = reinterpret_cast<const wchar_t*>(lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
};

TEST(BrowseForFolderCallback, ShowsTheSelectedItemAndStartsInTheGivenFolder) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &BrowserStandIn::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"OrvintaBrowserStandIn";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(hwnd);

  wchar_t windows[MAX_PATH] = L"";
  ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  PIDLIST_ABSOLUTE pidl = nullptr;
  ASSERT_EQ(SHParseDisplayName(windows, nullptr, &pidl, 0, nullptr), S_OK);
  // The initial folder handed to the browser differs from the selection, so a callback
  // that reads one for the other shows the wrong text (or reads garbage).
  std::wstring initial = L"C:\\users";

  BrowseForFolderCallback(hwnd, BFFM_INITIALIZED, 0, reinterpret_cast<LPARAM>(initial.c_str()));
  EXPECT_EQ(BrowserStandIn::selection, initial);
  BrowseForFolderCallback(hwnd, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(pidl),
                          reinterpret_cast<LPARAM>(initial.c_str()));
  EXPECT_EQ(CompareStringOrdinal(BrowserStandIn::status.c_str(), -1, windows, -1, TRUE), CSTR_EQUAL)
      << "status text was: " << std::string(BrowserStandIn::status.begin(), BrowserStandIn::status.end());
  // No item list: nothing to show, nothing read.
  BrowserStandIn::status.clear();
  BrowseForFolderCallback(hwnd, BFFM_SELCHANGED, 0, reinterpret_cast<LPARAM>(initial.c_str()));
  EXPECT_TRUE(BrowserStandIn::status.empty());

  CoTaskMemFree(pidl);
  DestroyWindow(hwnd);
}

}  // namespace
}  // namespace ov
