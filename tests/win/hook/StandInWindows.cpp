#include "StandInWindows.h"

#include <gtest/gtest.h>

#include <set>

#include "hook/MHookOV.h"

namespace ov::test {

namespace {

void EnsureClass(const std::wstring& name) {
  static std::set<std::wstring> registered;
  if (registered.count(name)) return;
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
  ASSERT_NE(RegisterClassExW(&wc), 0) << "class registration failed";
  registered.insert(name);
}

struct Parked {
  std::wstring ClassName;
  HWND Window;
  bool InUse;
};

std::vector<Parked>& Pool() {
  static std::vector<Parked> pool;
  return pool;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

StandInWindow StandInWindow::TopLevel(const std::wstring& className, RECT r) {
  HWND hwnd = nullptr;
  for (auto& parked : Pool()) {
    if (!parked.InUse && parked.ClassName == className) {
      parked.InUse = true;
      hwnd = parked.Window;
      break;
    }
  }
  if (!hwnd) {
    EnsureClass(className);
    hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, className.c_str(), L"", WS_POPUP | WS_VISIBLE, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(hwnd, nullptr);
    if (hwnd) Pool().push_back({className, hwnd, true});
  }
  SetWindowPos(hwnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_SHOWWINDOW);
  UpdateWindow(hwnd);
  Pump();
  return StandInWindow(hwnd, true);
}

StandInWindow StandInWindow::Child(const std::wstring& className, HWND parent) {
  // Real common controls are created from their system class; others get ours.
  if (className != L"SysListView32") EnsureClass(className);
  RECT rc{};
  GetClientRect(parent, &rc);
  HWND hwnd = CreateWindowExW(0, className.c_str(), L"", WS_CHILD | WS_VISIBLE, 0, 0, rc.right, rc.bottom, parent,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(hwnd, nullptr);
  Pump();
  return StandInWindow(hwnd, false);
}

StandInWindow StandInWindow::Receiver() {
  EnsureClass(L"OvHookTestReceiver");
  HWND hwnd = CreateWindowExW(0, L"OvHookTestReceiver", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(hwnd, nullptr);
  return StandInWindow(hwnd, false);
}

StandInWindow::StandInWindow(StandInWindow&& other) noexcept : hwnd_(other.hwnd_), pooled_(other.pooled_) {
  other.hwnd_ = nullptr;
}

StandInWindow::~StandInWindow() {
  if (!hwnd_) return;
  if (!pooled_) {
    DestroyWindow(hwnd_);
    return;
  }
  // One pixel in the screen's far corner, where no test clicks. Moved off the screen it
  // would be unmapped, which costs the same two seconds as hiding it.
  SetWindowPos(hwnd_, nullptr, GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1, 1, 1,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (auto& parked : Pool())
    if (parked.Window == hwnd_) parked.InUse = false;
}

std::vector<ReceivedHookMessage> PumpHookMessages(DWORD ms) {
  std::vector<ReceivedHookMessage> out;
  DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < ms) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == ov::hook::kHookMouseMessage) {
        DWORD pos = GetMessagePos();
        out.push_back({msg.hwnd, msg.wParam, msg.lParam,
                       POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))}});
      }
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return out;
}

void ClickAt(POINT point) {
  SetCursorPos(point.x, point.y);
  INPUT inputs[2]{};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  EXPECT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
}

}  // namespace ov::test
