#pragma once
// A window that behaves like a dialog: dialog keyboard handling (Tab, Enter for the
// default button, Esc for cancel), a font for its controls, helpers that create the
// controls in 96-dpi units, and a modal loop.
#include <windows.h>

#include <string>

#include "win/ui/Window.h"

namespace ov {

class Dialog : public Window {
 public:
  // The main loop asks each message's top-level window whether it handles dialog keys.
  static bool HandleDialogMessage(MSG& msg);

  // Shows the dialog modally over `modalTo` (disabled meanwhile; nullptr: the owner);
  // returns the id it was ended with (IDOK, IDCANCEL). The loop offers every message to
  // the thread's message filters first, as the system's own dialog loops do.
  int ShowModal(HWND modalTo);
  // Ends a modal run with the given result, or hides a modeless dialog.
  void EndDialog(int result);
  bool InModalLoop() const { return modal_; }

 protected:
  // Creates the dialog window with a caption and a fixed dialog frame; client size in
  // 96-dpi units. fontFace nullptr: the system's dialog font.
  bool CreateDialogWindow(const wchar_t* className, const std::wstring& caption, int clientWidth, int clientHeight,
                          HWND owner, const wchar_t* fontFace, int fontHeight);
  void SetClientSize(int clientWidth, int clientHeight);
  int Dpi(int v) const;
  UINT CurrentDpi() const { return dpi_; }
  // 96-dpi units from pixels.
  int Undpi(int pixels) const { return MulDiv(pixels, 96, static_cast<int>(dpi_)); }
  HFONT Font() const { return font_; }

  // Control helpers (positions in 96-dpi units); each returns the control's handle.
  HWND AddControl(const wchar_t* cls, const std::wstring& text, DWORD style, int x, int y, int w, int h, int id,
                  DWORD exStyle = 0);
  HWND AddButton(const std::wstring& text, int x, int y, int w, int h, int id, bool isDefault = false);
  HWND AddRadio(const std::wstring& text, int x, int y, int w, int h, int id, bool firstInGroup);
  HWND AddCheck(const std::wstring& text, int x, int y, int w, int h, int id);
  HWND AddGroup(const std::wstring& text, int x, int y, int w, int h);
  HWND AddLabel(const std::wstring& text, int x, int y, int w, int h);
  // An edit with an up-down control; returns the up-down.
  HWND AddSpin(int x, int y, int w, int h, int id, int lo, int hi, int value);

  // The button that Enter presses when no button has the focus.
  int defaultButton_ = IDOK;

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void OnCommand(int id, int code, HWND control) {}
  virtual LRESULT OnNotify(NMHDR* hdr) { return 0; }
  // After WM_DPICHANGED has moved and grown every control and given them the new Font():
  // what a dialog sized or drew by the DPI itself (item heights, fonts of its own) adjusts.
  virtual void DpiChanged(UINT fromDpi, UINT toDpi) {}

 private:
  HFONT font_ = nullptr;
  UINT dpi_ = 96;
  bool modal_ = false;
  bool ended_ = false;
  int result_ = IDCANCEL;
};

}  // namespace ov
