#pragma once
// The interface of MHookOV.dll as the program binds it at run time.
#include <windows.h>

namespace ov::hook {

// Posted to the window given to Initialize for every left-button press (wParam
// WM_LBUTTONDOWN) and release (WM_LBUTTONUP) on the desktop; lParam is 0. The click
// point is the message's cursor position (GetMessagePos).
constexpr UINT kHookMouseMessage = 0xCAE;

// Results of Initialize; everything but kInitOk is a failure.
constexpr int kInitOk = 0;
constexpr int kInitBadWindow = 1;
constexpr int kInitNoThread = 2;
constexpr int kInitNoHook = 3;
constexpr int kInitTimedOut = 4;

using InitializeFn = int(WINAPI*)(HWND window);
using DeInitializeFn = void(WINAPI*)();

constexpr const char* kInitializeName = "Initialize";
constexpr const char* kDeInitializeName = "DeInitialize";

}  // namespace ov::hook
