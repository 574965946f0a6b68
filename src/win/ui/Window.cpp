#include "win/ui/Window.h"

#include "win/ui/SharedImages.h"

#include <exception>

namespace ov {

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
}

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool Window::CreateWindowOfClass(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle,
                                 int x, int y, int w, int h, HWND parent, HMENU menu, UINT classStyle, HICON icon,
                                 HBRUSH background) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(inst, className, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.style = classStyle;
    wc.lpfnWndProc = &Window::Thunk;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hbrBackground = background ? background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) return false;
  }
  return CreateWindowExW(exStyle, className, title.c_str(), style, x, y, w, h, parent, menu, inst, this) != nullptr;
}

LRESULT Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  Window* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    self = static_cast<Window*>(cs->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result;
  // The menu images of every menu a window of ours shows are drawn here.
  if ((msg == WM_MEASUREITEM || msg == WM_DRAWITEM) && HandleMenuImageMessage(msg, lp)) return TRUE;
  try {
    result = self->OnMessage(msg, wp, lp);
  } catch (...) {
    // A failure inside a handler must not unwind through the system's message dispatch.
    result = DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    try {
      self->OnDestroyed();
    } catch (...) {
    }
  }
  return result;
}

}  // namespace ov
