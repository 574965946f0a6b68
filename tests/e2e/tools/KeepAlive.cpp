// keepalive.exe: holds the Wine virtual desktop open for the length of a scenario. Wine
// closes the desktop shortly after its last program ends; this one does nothing but wait
// in its message loop until it is closed (WM_CLOSE to its window) or killed.
#include <windows.h>

namespace {

LRESULT CALLBACK KeepAliveProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = KeepAliveProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"OvKeepAlive";
  if (!RegisterClassExW(&wc)) return 1;
  // Message-only: it exists on the desktop without ever showing.
  if (!CreateWindowExW(0, L"OvKeepAlive", L"OvKeepAlive", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr))
    return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
