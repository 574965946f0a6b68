#pragma once
// The one wrapper for every window of the program: a static thunk stores `this` when the
// window is created and forwards each message to the virtual OnMessage. Exceptions never
// cross into the operating system: the thunk catches them and falls back to the default.
#include <windows.h>

#include <string>

namespace ov {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
  void Destroy();

 protected:
  // Registers the class once per process (by name) and creates the window.
  bool CreateWindowOfClass(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle,
                           int x, int y, int w, int h, HWND parent, HMENU menu = nullptr,
                           UINT classStyle = 0, HICON icon = nullptr, HBRUSH background = nullptr);
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }
  // Called after WM_NCDESTROY; the handle is gone.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  HWND hwnd_ = nullptr;
};

}  // namespace ov
