#include "win/config/FrameEdit.h"

#include <commctrl.h>

#include <string>

#include "win/platform/Utf16.h"

namespace ov {

namespace {

const wchar_t kFrameClass[] = L"TFrEdit";
const wchar_t kBarClass[] = L"TFrEditBar";
constexpr COLORREF kBarBackground = RGB(0xC0, 0xC0, 0xC0);  // silver

std::string WindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(hwnd, w.data(), n + 1);
  w.resize(static_cast<size_t>(n));
  return Narrow(w);
}

}  // namespace

bool TFrEdit::Create(HWND parent, int id, int x, int y, int editWidth, int spinWidth, int editHeight, int barHeight,
                     HFONT font) {
  int w = editWidth + spinWidth;
  int h = editHeight + (showBar_ ? barHeight : 0);
  if (!CreateWindowOfClass(kFrameClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, x, y, w, h,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
    return false;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  font_ = font;
  LOGFONTW lf{};
  if (font && GetObjectW(font, sizeof(lf), &lf)) {
    lf.lfWeight = FW_BOLD;
    boldFont_ = CreateFontIndirectW(&lf);
  }
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
                          editWidth, editHeight, Handle(), reinterpret_cast<HMENU>(1), inst, nullptr);
  spin_ = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_NOTHOUSANDS | UDS_ARROWKEYS, editWidth, 0,
                          spinWidth, editHeight, Handle(), reinterpret_cast<HMENU>(2), inst, nullptr);
  SendMessageW(spin_, UDM_SETRANGE32, model_.Minimum(), model_.Maximum());
  SetWindowSubclass(edit_, &TFrEdit::ChildProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(spin_, &TFrEdit::ChildProc, 2, reinterpret_cast<DWORD_PTR>(this));
  if (showBar_) {
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(inst, kBarClass, &wc)) {
      wc = WNDCLASSEXW{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &TFrEdit::BarProc;
      wc.hInstance = inst;
      wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
      wc.lpszClassName = kBarClass;
      RegisterClassExW(&wc);
    }
    bar_ = CreateWindowExW(0, kBarClass, L"", WS_CHILD | WS_VISIBLE, 0, editHeight, w, barHeight, Handle(), nullptr,
                           inst, nullptr);
    SetWindowLongPtrW(bar_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ShowModelText();
  ShowModelState();
  return true;
}

void TFrEdit::SetFont(HFONT font) {
  font_ = font;
  HFONT oldBold = boldFont_;
  boldFont_ = nullptr;
  LOGFONTW lf{};
  if (font && GetObjectW(font, sizeof(lf), &lf)) {
    lf.lfWeight = FW_BOLD;
    boldFont_ = CreateFontIndirectW(&lf);
  }
  SendMessageW(edit_, WM_SETFONT, 0, FALSE);  // ShowModelState picks the font again
  ShowModelState();
  if (oldBold) DeleteObject(oldBold);
}

void TFrEdit::SetPosition(int value) {
  model_.SetPosition(value);
  ShowModelText();
  ShowModelState();
  NotifyParent();
}

void TFrEdit::Edit1Change() {
  std::string typed = WindowText(edit_);
  model_.TextChanged(typed);
  if (model_.Text() != typed) {
    // The field rewrote the text (trimmed, clamped, plain form): caret to the end.
    ShowModelText();
    SendMessageW(edit_, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
  }
  ShowModelState();
  NotifyParent();
}

void TFrEdit::ShowModelText() {
  settingText_ = true;
  SetWindowTextW(edit_, Widen(model_.Text()).c_str());
  settingText_ = false;
}

void TFrEdit::ShowModelState() {
  HFONT f = model_.Bold() && boldFont_ ? boldFont_ : font_;
  if (reinterpret_cast<HFONT>(SendMessageW(edit_, WM_GETFONT, 0, 0)) != f)
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
  SendMessageW(spin_, UDM_SETPOS32, 0, model_.Position());
  if (bar_) InvalidateRect(bar_, nullptr, FALSE);
}

void TFrEdit::NotifyParent() {
  HWND parent = GetParent(Handle());
  if (parent)
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), EN_CHANGE), reinterpret_cast<LPARAM>(Handle()));
}

LRESULT TFrEdit::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lp) == edit_) {
        if (HIWORD(wp) == EN_CHANGE && !settingText_) Edit1Change();
        else if (HIWORD(wp) == EN_KILLFOCUS) {
          model_.Exit();  // Edit1Exit: text that never parsed gives way to the last value
          if (WindowText(edit_) != model_.Text()) ShowModelText();
        }
      }
      return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->hwndFrom == spin_ && hdr->code == UDN_DELTAPOS) {
        // SpinChangingEx: Shift jumps to the end, Ctrl moves 9 further; the step follows.
        auto* ud = reinterpret_cast<NMUPDOWN*>(lp);
        bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
        model_.Arrow(ud->iDelta > 0, shift, ctrl);
        ShowModelText();
        ShowModelState();
        NotifyParent();
        return 1;  // the arrow pair keeps no position of its own
      }
      return 0;
    }
    case WM_ENABLE:
      // CMEnabledChanged: the children follow; the bar greys out.
      EnableWindow(edit_, static_cast<BOOL>(wp));
      EnableWindow(spin_, static_cast<BOOL>(wp));
      if (bar_) InvalidateRect(bar_, nullptr, TRUE);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return SendMessageW(GetParent(Handle()), msg, wp, lp);
    case WM_DESTROY:
      if (boldFont_) DeleteObject(boldFont_);
      boldFont_ = nullptr;
      break;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

LRESULT CALLBACK TFrEdit::ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TFrEdit*>(data);
  switch (msg) {
    case WM_RBUTTONDOWN:
      // The right button resets the value; the context menu never opens.
      if (IsWindowEnabled(hwnd)) self->SetPosition(self->model_.ResetValue());
      return 0;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      return 0;
    case WM_KEYDOWN:
      // The arrow keys step like the arrow pair, Shift and Ctrl included.
      if ((wp == VK_UP || wp == VK_DOWN) && hwnd == self->edit_) {
        self->model_.Arrow(wp == VK_UP, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
        self->ShowModelText();
        self->ShowModelState();
        self->NotifyParent();
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &TFrEdit::ChildProc, hwnd == self->edit_ ? 1 : 2);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK TFrEdit::BarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  auto* self = reinterpret_cast<TFrEdit*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  RECT rc;
  GetClientRect(hwnd, &rc);
  int x = static_cast<short>(LOWORD(lp));
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      self->PaintBar(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_RBUTTONDOWN:
      if (IsWindowEnabled(self->Handle())) self->SetPosition(self->model_.ResetValue());
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!IsWindowEnabled(self->Handle())) return 0;
      self->dragging_ = msg == WM_LBUTTONDOWN;
      if (self->dragging_) SetCapture(hwnd);
      self->model_.BarAt(x, rc.right);
      self->SetPosition(self->model_.Position());
      return 0;
    case WM_MOUSEMOVE:
      if (self->dragging_ && (wp & MK_LBUTTON)) {
        self->model_.BarAt(x, rc.right);
        self->SetPosition(self->model_.Position());
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (self->dragging_ && msg == WM_LBUTTONUP) ReleaseCapture();
      self->dragging_ = false;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void TFrEdit::PaintBar(HDC dc) {
  RECT rc;
  GetClientRect(bar_, &rc);
  bool enabled = IsWindowEnabled(Handle()) != FALSE;
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  HBRUSH back = CreateSolidBrush(enabled ? kBarBackground : face);
  FillRect(dc, &rc, back);
  DeleteObject(back);
  if (!enabled) return;
  // The frame, and the range's share up to the position in the highlight colour.
  FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
  int span = model_.Maximum() - model_.Minimum();
  int inner = rc.right - 2;
  int fill = span > 0 ? MulDiv(model_.BarPosition() - model_.Minimum(), inner, span) : 0;
  RECT f{1, 1, 1 + fill, rc.bottom - 1};
  FillRect(dc, &f, GetSysColorBrush(COLOR_HIGHLIGHT));
}

}  // namespace ov
