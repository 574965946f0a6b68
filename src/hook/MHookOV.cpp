// MHookOV.dll: a low-level mouse hook, run on a thread of the library's own, that
// posts every left-button press and release on the desktop to one window.
#include "hook/MHookOV.h"

#include <atomic>
#include <new>

#include "hook/DesktopWindow.h"

namespace {

using namespace ov::hook;

constexpr DWORD kStartTimeoutMs = 5000;
constexpr DWORD kStopTimeoutMs = 5000;

HMODULE gModule = nullptr;

// Initialize and DeInitialize may come from any thread; they take this lock. The hook
// procedure takes no lock: it reads the target once per event.
SRWLOCK gLock = SRWLOCK_INIT;
std::atomic<HWND> gTarget{nullptr};
HANDLE gThread = nullptr;
DWORD gThreadId = 0;
std::atomic<bool> gHookInstalled{false};

class LockGuard {
 public:
  LockGuard() { AcquireSRWLockExclusive(&gLock); }
  ~LockGuard() { ReleaseSRWLockExclusive(&gLock); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;
};

// Shared by Initialize and the thread it starts; whichever lets go last frees it, so a
// start that outlives Initialize's wait touches nothing freed.
struct StartState {
  HANDLE ready = nullptr;
  std::atomic<bool> hooked{false};
  std::atomic<int> refs{2};
};

// Allocated from the process heap rather than with operator new, which would pull the
// C++ exception machinery into this small library.
StartState* NewStartState() {
  void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(StartState));
  return memory ? new (memory) StartState : nullptr;
}

void FreeStartState(StartState* state) {
  if (state->ready) CloseHandle(state->ready);
  state->~StartState();
  HeapFree(GetProcessHeap(), 0, state);
}

void Release(StartState* state) {
  if (state->refs.fetch_sub(1) == 1) FreeStartState(state);
}

// Runs for every mouse event of the session: no locks, no messages sent, no waiting.
LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && (wParam == WM_LBUTTONDOWN || wParam == WM_LBUTTONUP)) {
    HWND target = gTarget.load(std::memory_order_acquire);
    if (target) {
      const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
      // The receiver reads the point from the message's cursor position.
      if (IsDesktopAt(event->pt)) PostMessageW(target, kHookMouseMessage, wParam, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Hook points are physical pixels; WindowFromPoint must take them as such whatever
// DPI awareness the host program declares.
void UsePhysicalPixels() {
  using SetContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto set = user32 ? reinterpret_cast<SetContextFn>(
                          reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")))
                    : nullptr;
  if (set && !set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
}

DWORD WINAPI HookThreadMain(void* param) {
  auto* start = static_cast<StartState*>(param);
  UsePhysicalPixels();
  // Creates the thread's message queue before Initialize returns, so that DeInitialize's
  // WM_QUIT cannot get lost.
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, gModule, 0);
  gHookInstalled.store(hook != nullptr);
  start->hooked.store(hook != nullptr);
  SetEvent(start->ready);
  Release(start);
  if (hook) {
    // Low-level hooks are called through this thread's message loop.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    UnhookWindowsHookEx(hook);
    gHookInstalled.store(false);
  }
  // The thread holds a reference on the library, so that a FreeLibrary by the host
  // without DeInitialize cannot unmap the code this thread runs.
  FreeLibraryAndExitThread(gModule, 0);
}

bool ThreadRunning() { return gThread && WaitForSingleObject(gThread, 0) == WAIT_TIMEOUT; }

void ForgetThread() {
  if (gThread) CloseHandle(gThread);
  gThread = nullptr;
  gThreadId = 0;
}

int StartHookThread() {
  HMODULE self = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&HookThreadMain), &self))
    return kInitNoThread;
  StartState* start = NewStartState();
  if (start) start->ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD id = 0;
  HANDLE thread = start && start->ready ? CreateThread(nullptr, 0, HookThreadMain, start, 0, &id) : nullptr;
  if (!thread) {
    if (start) FreeStartState(start);
    FreeLibrary(self);
    return kInitNoThread;
  }
  HANDLE waits[2] = {start->ready, thread};
  DWORD waited = WaitForMultipleObjects(2, waits, FALSE, kStartTimeoutMs);
  bool hooked = waited == WAIT_OBJECT_0 && start->hooked.load();
  Release(start);
  gThread = thread;
  gThreadId = id;
  if (hooked) return kInitOk;
  if (waited == WAIT_TIMEOUT) return kInitTimedOut;  // DeInitialize or the next Initialize deals with it
  // The hook could not be installed: the thread ends by itself.
  WaitForSingleObject(thread, kStopTimeoutMs);
  ForgetThread();
  return kInitNoHook;
}

void StopHookThread() {
  if (!gThread) return;
  if (ThreadRunning()) {
    PostThreadMessageW(gThreadId, WM_QUIT, 0, 0);
    // Called at process end the thread is already gone and this returns at once.
    if (WaitForSingleObject(gThread, kStopTimeoutMs) == WAIT_TIMEOUT) return;  // retried by the next call
  }
  ForgetThread();
}

}  // namespace

extern "C" int WINAPI Initialize(HWND window) {
  if (!window || !IsWindow(window)) return kInitBadWindow;
  LockGuard lock;
  // Messages go to the new window from the next event on, also when the hook runs already.
  gTarget.store(window, std::memory_order_release);
  if (ThreadRunning()) {
    if (gHookInstalled.load()) return kInitOk;
    StopHookThread();  // a start that never finished: try once more from scratch
    if (gThread) {
      gTarget.store(nullptr);
      return kInitTimedOut;
    }
  }
  ForgetThread();
  int result = StartHookThread();
  if (result != kInitOk) gTarget.store(nullptr);
  return result;
}

extern "C" void WINAPI DeInitialize() {
  LockGuard lock;
  // Nothing is posted from here on, even before the thread has ended.
  gTarget.store(nullptr, std::memory_order_release);
  StopHookThread();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    gModule = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
