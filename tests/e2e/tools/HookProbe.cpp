// hookprobe.exe: loads MHookOV.dll at run time, hands it its own window and writes every
// hook message it receives to a log file, so that a scenario can check what a click on
// the desktop produced.
//
//   hookprobe.exe LOGFILE DLLPATH [X Y W H]
//
// The window (class "OvHookProbe", title "HookProbe") is visible at X,Y (default
// 700,100, 400x300) so that it can be clicked as "another window". Log lines:
//   init <result of Initialize>
//   hook 0x201|0x202 <x> <y> <l>  the message's wParam, cursor position and lParam
//   deinit                        after DeInitialize
//   exit
// Commands, posted to the window: WM_APP+1 DeInitialize, WM_APP+2 Initialize again,
// WM_CLOSE DeInitialize and end.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

#include "hook/MHookOV.h"

namespace {

using namespace ov::hook;

constexpr UINT kCmdDeInitialize = WM_APP + 1;
constexpr UINT kCmdInitialize = WM_APP + 2;

HANDLE gLog = INVALID_HANDLE_VALUE;
InitializeFn gInitialize = nullptr;
DeInitializeFn gDeInitialize = nullptr;
bool gHooked = false;

// Each line goes to the file at once: the scenario reads it while the probe runs.
void Log(const char* format, ...) {
  char line[256];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(line, sizeof(line) - 1, format, args);
  va_end(args);
  if (n < 0) return;
  if (n > static_cast<int>(sizeof(line)) - 2) n = sizeof(line) - 2;
  line[n++] = '\n';
  DWORD written = 0;
  WriteFile(gLog, line, static_cast<DWORD>(n), &written, nullptr);
}

void HookOn(HWND hwnd) {
  int result = gInitialize(hwnd);
  gHooked = result == kInitOk;
  Log("init %d", result);
}

void HookOff() {
  gDeInitialize();
  gHooked = false;
  Log("deinit");
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kCmdDeInitialize:
      HookOff();
      return 0;
    case kCmdInitialize:
      HookOn(hwnd);
      return 0;
    case WM_CLOSE:
      if (gHooked) HookOff();
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      HBRUSH brush = CreateSolidBrush(RGB(40, 120, 200));
      FillRect(dc, &rc, brush);
      DeleteObject(brush);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      DrawTextW(dc, L"HookProbe", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(hwnd, &ps);
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: hookprobe LOGFILE DLLPATH [X Y W H]\n", stderr);
    return 2;
  }
  gLog = CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (gLog == INVALID_HANDLE_VALUE) return 3;
  int x = 700, y = 100, w = 400, h = 300;
  if (argc >= 7) {
    x = _wtoi(argv[3]);
    y = _wtoi(argv[4]);
    w = _wtoi(argv[5]);
    h = _wtoi(argv[6]);
  }

  HMODULE dll = LoadLibraryW(argv[2]);
  if (dll) {
    gInitialize = reinterpret_cast<InitializeFn>(reinterpret_cast<void*>(GetProcAddress(dll, kInitializeName)));
    gDeInitialize =
        reinterpret_cast<DeInitializeFn>(reinterpret_cast<void*>(GetProcAddress(dll, kDeInitializeName)));
  }
  if (!gInitialize || !gDeInitialize) {
    Log("load failed %lu", GetLastError());
    return 4;
  }

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = ProbeProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"OvHookProbe";
  RegisterClassExW(&wc);
  HWND hwnd = CreateWindowExW(0, L"OvHookProbe", L"HookProbe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd) {
    Log("window failed %lu", GetLastError());
    return 5;
  }
  UpdateWindow(hwnd);
  HookOn(hwnd);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == kHookMouseMessage) {
      // The click point travels as the position recorded with the posted message.
      DWORD pos = GetMessagePos();
      Log("hook 0x%x %d %d %lld", static_cast<unsigned>(msg.wParam), static_cast<short>(LOWORD(pos)),
          static_cast<short>(HIWORD(pos)), static_cast<long long>(msg.lParam));
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  Log("exit");
  CloseHandle(gLog);
  FreeLibrary(dll);
  return 0;
}
