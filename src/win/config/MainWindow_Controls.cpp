// The building blocks of the tabs: controls created in 96-dpi units and registered by
// name, hints, the colour swatch, and looking controls up by name.
#include <windows.h>
#include <commctrl.h>

#include "core/config/ConfigRules.h"
#include "core/util/PathEllipsis.h"
#include "win/app/App.h"
#include "win/config/MainWindow.h"
#include "win/platform/Utf16.h"

namespace ov {

namespace {

const wchar_t kSwatchClass[] = L"OVColorSwatch";

// The swatch: a panel in its colour with a centred caption, raised, lowered while pressed.
// GWLP_USERDATA holds the colour (0x00BBGGRR), the window text the caption.
LRESULT CALLBACK SwatchProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      bool enabled = IsWindowEnabled(hwnd) != FALSE;
      auto color = static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      HBRUSH b = CreateSolidBrush(enabled ? color : GetSysColor(COLOR_BTNFACE));
      FillRect(dc, &rc, b);
      DeleteObject(b);
      bool pressed = GetPropW(hwnd, L"pressed") != nullptr;
      DrawEdge(dc, &rc, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
      wchar_t text[128];
      GetWindowTextW(hwnd, text, 128);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, enabled ? SwatchCaptionColor(color) : GetSysColor(COLOR_GRAYTEXT));
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(GetPropW(hwnd, L"font")));
      DrawTextW(dc, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      SelectObject(dc, old);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:  // PanelIconColorMouseDown
      SetPropW(hwnd, L"pressed", reinterpret_cast<HANDLE>(1));
      SetCapture(hwnd);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {  // PanelIconColorMouseUp, then the click
      bool was = GetPropW(hwnd, L"pressed") != nullptr;
      RemovePropW(hwnd, L"pressed");
      ReleaseCapture();
      InvalidateRect(hwnd, nullptr, FALSE);
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT rc;
      GetClientRect(hwnd, &rc);
      if (was && PtInRect(&rc, pt))
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
      return 0;
    }
    case WM_DESTROY:
      RemovePropW(hwnd, L"pressed");
      RemovePropW(hwnd, L"font");
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void MainWindow::RegisterControlClasses() {
  WNDCLASSEXW wc{};
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(inst, kSwatchClass, &wc)) return;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &SwatchProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
  wc.lpszClassName = kSwatchClass;
  RegisterClassExW(&wc);
}

HWND MainWindow::NewPage(HWND parent) {
  auto page = std::make_unique<TabPage>();
  page->Create(parent, [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) { return OnControlMessage(msg, wp, lp, r); });
  HWND h = page->Handle();
  pageWindows_.push_back(std::move(page));
  return h;
}

HWND MainWindow::Add(HWND page, std::string_view name, const wchar_t* cls, std::string_view text, DWORD style, int x,
                     int y, int w, int h, DWORD exStyle) {
  HWND c = CreateWindowExW(exStyle, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, Dpi(x), Dpi(y), Dpi(w),
                           Dpi(h), page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId_++)),
                           GetModuleHandleW(nullptr), nullptr);
  if (!c) return nullptr;
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (!name.empty()) {
    auto ctl = std::make_unique<Control>();
    ctl->name = std::string(name);
    ctl->hwnd = c;
    byHandle_[c] = ctl.get();
    byName_[ctl->name] = ctl.get();
    controls_.push_back(std::move(ctl));
  }
  return c;
}

HWND MainWindow::AddLabel(HWND page, std::string_view text, int x, int y, int w, int h, std::string_view name) {
  return Add(page, name, L"STATIC", text, SS_LEFT | SS_NOPREFIX, x, y, w, h);
}

HWND MainWindow::AddCheck(HWND page, std::string_view name, std::string_view caption, int x, int y, int w,
                          std::function<void()> onClick) {
  HWND c = Add(page, name, L"BUTTON", caption, BS_AUTOCHECKBOX | WS_TABSTOP, x, y, w, 18);
  Find(name)->onChange = std::move(onClick);
  return c;
}

HWND MainWindow::AddRadio(HWND page, std::string_view name, std::string_view caption, int x, int y, int w, bool first,
                          std::function<void()> onClick) {
  HWND c = Add(page, name, L"BUTTON", caption, BS_AUTORADIOBUTTON | (first ? WS_GROUP | WS_TABSTOP : 0), x, y, w, 18);
  Find(name)->onChange = std::move(onClick);
  return c;
}

HWND MainWindow::AddButton(HWND page, std::string_view name, std::string_view caption, int x, int y, int w, int h,
                           std::function<void()> onClick) {
  HWND c = Add(page, name, L"BUTTON", caption, BS_PUSHBUTTON | WS_TABSTOP, x, y, w, h);
  Find(name)->onChange = std::move(onClick);
  return c;
}

HWND MainWindow::AddGroup(HWND page, std::string_view caption, int x, int y, int w, int h) {
  return Add(page, {}, L"BUTTON", caption, BS_GROUPBOX, x, y, w, h);
}

HWND MainWindow::AddCombo(HWND page, std::string_view name, const std::vector<std::string>& items, int x, int y,
                          int w, std::function<void()> onChange) {
  HWND c = Add(page, name, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, x, y, w, 200);
  for (const auto& item : items) SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  Find(name)->onChange = std::move(onChange);
  return c;
}

TFrEdit* MainWindow::AddSpin(HWND page, std::string_view name, int minimum, int maximum, int reset, bool bar, int x,
                             int y, std::function<void()> onChange, int editWidth) {
  auto frame = std::make_unique<TFrEdit>(static_cast<int16_t>(minimum), static_cast<int16_t>(maximum),
                                         static_cast<int16_t>(reset), bar);
  frame->Create(page, nextId_++, Dpi(x), Dpi(y), Dpi(editWidth), Dpi(16), Dpi(21), Dpi(6), font_);
  auto ctl = std::make_unique<Control>();
  ctl->name = std::string(name);
  ctl->hwnd = frame->Handle();
  ctl->frame = frame.get();
  ctl->onChange = std::move(onChange);
  byHandle_[ctl->hwnd] = ctl.get();
  byName_[ctl->name] = ctl.get();
  controls_.push_back(std::move(ctl));
  TFrEdit* f = frame.get();
  frames_.push_back(std::move(frame));
  return f;
}

HWND MainWindow::AddSwatch(HWND page, std::string_view name, std::string_view caption, int x, int y, int w, int h,
                           std::function<void()> onClick) {
  HWND c = Add(page, name, kSwatchClass, caption, 0, x, y, w, h);
  SetPropW(c, L"font", font_);
  Find(name)->onChange = std::move(onClick);
  return c;
}

HWND MainWindow::AddFileChooser(HWND page, std::string_view name, int x, int y, int w,
                                std::function<void()> onBrowse) {
  HWND edit = Add(page, name, L"EDIT", "", ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP, x, y, w - 26, 21,
                  WS_EX_CLIENTEDGE);
  std::string button = std::string(name) + ".Button";
  AddButton(page, button, "...", x + w - 24, y, 24, 21, std::move(onBrowse));
  return edit;
}

void MainWindow::SetHint(HWND control, std::string_view hint) {
  if (!control || !tooltip_) return;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  std::wstring text = Widen(hint);
  ti.lpszText = text.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  // A numeric field shows its hint over all its parts.
  if (Control* c = byHandle_.count(control) ? byHandle_[control] : nullptr; c && c->frame) {
    SetHint(c->frame->EditHandle(), hint);
  }
}

// --- lookup ---

MainWindow::Control* MainWindow::Find(std::string_view name) {
  auto it = byName_.find(std::string(name));
  return it == byName_.end() ? nullptr : it->second;
}
HWND MainWindow::H(std::string_view name) {
  Control* c = Find(name);
  return c ? c->hwnd : nullptr;
}
TFrEdit* MainWindow::Spin(std::string_view name) {
  Control* c = Find(name);
  return c ? c->frame : nullptr;
}
bool MainWindow::Checked(std::string_view name) { return SendMessageW(H(name), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void MainWindow::SetChecked(std::string_view name, bool checked) {
  SendMessageW(H(name), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
void MainWindow::EnableControl(std::string_view name, bool enabled) {
  if (HWND h = H(name)) EnableWindow(h, enabled);
}
int MainWindow::ComboIndex(std::string_view name) {
  return static_cast<int>(SendMessageW(H(name), CB_GETCURSEL, 0, 0));
}
std::string MainWindow::Text(std::string_view name) {
  HWND h = H(name);
  int n = GetWindowTextLengthW(h);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(h, w.data(), n + 1);
  w.resize(static_cast<size_t>(n));
  return Narrow(w);
}
void MainWindow::SetText(std::string_view name, std::string_view text) {
  SetWindowTextW(H(name), Widen(text).c_str());
}

void MainWindow::SetPathText(std::string_view name, const std::string& path) {
  HWND h = H(name);
  if (!h) return;
  RECT rc{};
  GetClientRect(h, &rc);
  const DWORD margins = static_cast<DWORD>(SendMessageW(h, EM_GETMARGINS, 0, 0));
  const int width = rc.right - LOWORD(margins) - HIWORD(margins) - 2;
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
  auto measure = [dc](std::string_view text) {
    std::wstring w = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    return static_cast<int32_t>(size.cx);
  };
  const std::string shown = width > 0 ? ShortenPathMiddle(path, width, measure) : path;
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  SetWindowTextW(h, Widen(shown).c_str());
}

void MainWindow::StoreBound(std::string_view name) {
  const SettingBinding* b = FindSettingBinding(name);
  Control* c = Find(name);
  if (!b || !c) return;
  int32_t v = 0;
  switch (b->kind) {
    case ControlKind::Check: v = Checked(name) ? 1 : 0; break;
    case ControlKind::Numeric: v = c->frame->Position(); break;
    case ControlKind::Combo:
      v = ComboIndex(name);
      if (v < 0) return;  // nothing chosen: the setting keeps its value
      break;
  }
  StoreControlValue(*b, app_.settings, v);
}

}  // namespace ov
