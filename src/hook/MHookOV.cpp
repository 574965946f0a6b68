#include <windows.h>
extern "C" __declspec(dllexport) int WINAPI Initialize(HWND) { return 1; }
extern "C" __declspec(dllexport) void WINAPI DeInitialize() {}
