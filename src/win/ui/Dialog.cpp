#include "win/ui/Dialog.h"

#include <commctrl.h>

#include "win/ui/Dpi.h"

namespace ov {

namespace {

const wchar_t kDialogProp[] = L"OrvintaDialog";


}  // namespace

bool Dialog::HandleDialogMessage(MSG& msg) {
  if (!msg.hwnd) return false;
  HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  if (!top || !GetPropW(top, kDialogProp)) return false;
  return IsDialogMessageW(top, &msg) != FALSE;
}

bool Dialog::CreateDialogWindow(const wchar_t* className, const std::wstring& caption, int clientWidth,
                                int clientHeight, HWND owner, const wchar_t* fontFace, int fontHeight) {
  // No WS_CLIPCHILDREN: group boxes do not paint their inside, the dialog does.
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  if (!CreateWindowOfClass(className, caption, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner))
    return false;
  SetPropW(Handle(), kDialogProp, reinterpret_cast<HANDLE>(1));
  dpi_ = WindowDpi(Handle());
  if (fontFace) {
    font_ = CreateFontW(-MulDiv(fontHeight, static_cast<int>(dpi_), 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, fontFace);
  } else {
    // The system's dialog text font.
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    font_ = CreateFontIndirectW(&ncm.lfMessageFont);
  }
  SetClientSize(clientWidth, clientHeight);
  return true;
}

void Dialog::SetClientSize(int clientWidth, int clientHeight) {
  RECT r{0, 0, Dpi(clientWidth), Dpi(clientHeight)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
  SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Dialog::Dpi(int v) const { return MulDiv(v, static_cast<int>(dpi_), 96); }

HWND Dialog::AddControl(const wchar_t* cls, const std::wstring& text, DWORD style, int x, int y, int w, int h, int id,
                        DWORD exStyle) {
  HWND c = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, Dpi(x), Dpi(y), Dpi(w), Dpi(h),
                           Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
  if (c && font_) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return c;
}

HWND Dialog::AddButton(const std::wstring& text, int x, int y, int w, int h, int id, bool isDefault) {
  return AddControl(L"BUTTON", text, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), x, y, w, h, id);
}

HWND Dialog::AddRadio(const std::wstring& text, int x, int y, int w, int h, int id, bool firstInGroup) {
  return AddControl(L"BUTTON", text, BS_AUTORADIOBUTTON | (firstInGroup ? WS_GROUP | WS_TABSTOP : 0), x, y, w, h, id);
}

HWND Dialog::AddCheck(const std::wstring& text, int x, int y, int w, int h, int id) {
  return AddControl(L"BUTTON", text, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, x, y, w, h, id);
}

HWND Dialog::AddGroup(const std::wstring& text, int x, int y, int w, int h) {
  return AddControl(L"BUTTON", text, BS_GROUPBOX, x, y, w, h, -1);
}

HWND Dialog::AddLabel(const std::wstring& text, int x, int y, int w, int h) {
  return AddControl(L"STATIC", text, SS_LEFT, x, y, w, h, -1);
}

HWND Dialog::AddSpin(int x, int y, int w, int h, int id, int lo, int hi, int value) {
  HWND edit = AddControl(L"EDIT", std::to_wstring(value), ES_NUMBER | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, x, y, w,
                         h, id, WS_EX_CLIENTEDGE);
  HWND spin = AddControl(UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0,
                         0, 0, id + 1);
  SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  SendMessageW(spin, UDM_SETRANGE32, lo, hi);
  SendMessageW(spin, UDM_SETPOS32, 0, value);
  return spin;
}

int Dialog::ShowModal(HWND modalTo) {
  modal_ = true;
  ended_ = false;
  result_ = IDCANCEL;
  HWND owner = modalTo ? modalTo : GetWindow(Handle(), GW_OWNER);
  HWND disabledOwner = owner && IsWindowEnabled(owner) ? owner : nullptr;
  if (disabledOwner) EnableWindow(disabledOwner, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  MSG msg;
  while (!ended_ && IsWindow(Handle())) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // A quit request ends the modal run and goes on to the outer loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    // The program's message filter (desktop clicks, clock changes) sees this loop's
    // messages too; a message it consumed is not dispatched.
    if (CallMsgFilterW(&msg, MSGF_DIALOGBOX)) continue;
    if (HandleDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (disabledOwner) EnableWindow(disabledOwner, TRUE);
  if (IsWindow(Handle())) ShowWindow(Handle(), SW_HIDE);
  modal_ = false;
  return result_;
}

void Dialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
  if (!modal_) ShowWindow(Handle(), SW_HIDE);
}

LRESULT Dialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case DM_GETDEFID:
      return MAKELRESULT(defaultButton_, DC_HASDEFID);
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_CLOSE:
      OnCommand(IDCANCEL, BN_CLICKED, nullptr);
      return 0;
    case WM_DPICHANGED: {
      // Moved onto a monitor of another DPI: the layout and the font follow it.
      const UINT from = dpi_, to = HIWORD(wp);
      if (!to || to == from) return 0;
      HFONT oldFont = font_;
      font_ = ScaleFont(oldFont, from, to);
      dpi_ = to;
      RescaleForDpi(Handle(), from, to, oldFont, font_, reinterpret_cast<const RECT*>(lp));
      if (oldFont) DeleteObject(oldFont);
      DpiChanged(from, to);
      return 0;
    }
    case WM_DESTROY:
      RemovePropW(Handle(), L"OrvintaDialog");
      if (font_) DeleteObject(font_);
      font_ = nullptr;
      break;
    default:
      break;
  }
  return Window::OnMessage(msg, wp, lp);
}

}  // namespace ov
