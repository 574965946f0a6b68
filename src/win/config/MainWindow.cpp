#include "win/config/MainWindow.h"

#include <commctrl.h>

#include "core/config/ConfigRules.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/app/Timers.h"
#include "win/platform/Utf16.h"

namespace ov {

namespace {

const wchar_t kPageClass[] = L"OVTabPage";
const wchar_t kSwatchClass[] = L"OVColorSwatch";
// Messages a page hands on to the main window.
bool IsControlMessage(UINT msg) {
  return msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_HSCROLL || msg == WM_CTLCOLORSTATIC ||
         msg == WM_CTLCOLORBTN || msg == WM_DRAWITEM;
}

UINT DpiOf(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  UINT dpi = getDpi && hwnd ? getDpi(hwnd) : 0;
  if (!dpi) {
    HDC dc = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
  }
  return dpi ? dpi : 96;
}

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

void RegisterSimpleClass(const wchar_t* name, WNDPROC proc, HCURSOR cursor) {
  WNDCLASSEXW wc{};
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(inst, name, &wc)) return;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = cursor;
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

}  // namespace

// --- TabPage ---

bool TabPage::Create(HWND parent, Handler handler) {
  handler_ = std::move(handler);
  return CreateWindowOfClass(kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, 0, 0, 10, 10, parent);
}

LRESULT TabPage::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = 0;
  if (IsControlMessage(msg) && handler_ && handler_(msg, wp, lp, r)) return r;
  return Default(msg, wp, lp);
}

// --- MainWindow ---

MainWindow::MainWindow(App& app, MainForm& form) : app_(app), form_(form) {}

MainWindow::~MainWindow() {
  // The form may outlive this object by a moment: its preview panel must not call back.
  if (previewPanel_ && IsWindow(previewPanel_)) SetWindowLongPtrW(previewPanel_, GWLP_USERDATA, 0);
  if (font_) DeleteObject(font_);
  if (pageBrush_) DeleteObject(pageBrush_);
}

void MainWindow::Create() {
  hwnd_ = form_.Handle();
  dpi_ = DpiOf(hwnd_);
  // Tab and the arrow keys move between the controls of the tabs, as in a dialog.
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  SetPropW(hwnd_, L"OrvintaDialog", reinterpret_cast<HANDLE>(1));
  // The window font: 宋体, 12 pixels at 96 dpi, scaled for the monitor.
  font_ = CreateFontW(-Dpi(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei UI");
  pageBrush_ = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  RegisterSimpleClass(kSwatchClass, &SwatchProc, LoadCursorW(nullptr, IDC_HAND));
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                             0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Dpi(320));
  CreateMenu();
  CreatePreviewArea();
  CreatePages();
  LayoutChildren();
}

bool MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_SIZE:
      LayoutChildren();
      return false;
    case WM_TIMER:
      if (wp != kTimerPreviewDelay) return false;
      PreviewDelayElapsed();
      result = 0;
      return true;
    case WM_COMMAND:
      // Enter and Esc arrive as IDOK and IDCANCEL from the dialog keys: nothing to do.
      if (lp == 0 && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        result = 0;
        return true;
      }
      if (lp == 0 && HIWORD(wp) == 0) {
        OnMenuCommand(LOWORD(wp));
        result = 0;
        return true;
      }
      return OnControlMessage(msg, wp, lp, result);
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return OnControlMessage(msg, wp, lp, result);
    default:
      return false;
  }
}

bool MainWindow::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
      result = reinterpret_cast<LRESULT>(pageBrush_);
      return true;
    case WM_COMMAND: {
      auto it = byHandle_.find(reinterpret_cast<HWND>(lp));
      if (it == byHandle_.end()) return false;
      int code = HIWORD(wp);
      Control* c = it->second;
      bool fire = false;
      if (c->frame) fire = code == EN_CHANGE;
      else {
        wchar_t cls[32] = L"";
        GetClassNameW(c->hwnd, cls, 32);
        if (_wcsicmp(cls, L"ComboBox") == 0) fire = code == CBN_SELCHANGE;
        else fire = code == BN_CLICKED;
      }
      if (fire && c->onChange) c->onChange();
      result = 0;
      return true;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->hwndFrom == tabMain_ && hdr->code == TCN_SELCHANGE) {
        activeTab_ = static_cast<MainTab>(TabCtrl_GetCurSel(tabMain_));
        LayoutPages(tabMain_, mainPages_, static_cast<int>(activeTab_));
        PageControlMainChange();
        result = 0;
        return true;
      }
      if (hdr->hwndFrom == tabCalendar_ && hdr->code == TCN_SELCHANGE) {
        LayoutPages(tabCalendar_, calendarPages_, TabCtrl_GetCurSel(tabCalendar_));
        PageControlCalendarChange();
        result = 0;
        return true;
      }
      if (hdr->hwndFrom == H("CheckDefaultHolidays") && hdr->code == LVN_ITEMCHANGED) {
        auto* lv = reinterpret_cast<NMLISTVIEW*>(lp);
        if ((lv->uChanged & LVIF_STATE) && ((lv->uNewState ^ lv->uOldState) & LVIS_STATEIMAGEMASK) &&
            lv->uOldState & LVIS_STATEIMAGEMASK)
          CheckDefaultHolidaysClickCheck(lv->iItem);
        result = 0;
        return true;
      }
      return false;
    }
    case WM_HSCROLL: {
      HWND gauge = reinterpret_cast<HWND>(lp);
      if (!byHandle_.count(gauge)) return false;
      // The end of a drag or a key press repeats the last position: no second change.
      if (LOWORD(wp) == TB_ENDTRACK) {
        result = 0;
        return true;
      }
      GaugeContrastUserChange(gauge);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

// --- building ---

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

void MainWindow::StoreBound(std::string_view name) {
  const SettingBinding* b = FindSettingBinding(name);
  Control* c = Find(name);
  if (!b || !c) return;
  int32_t v = 0;
  switch (b->kind) {
    case ControlKind::Check: v = Checked(name) ? 1 : 0; break;
    case ControlKind::Numeric: v = c->frame->Position(); break;
    case ControlKind::Combo: v = ComboIndex(name); break;
  }
  StoreControlValue(*b, app_.settings, v);
}

// --- start-up steps ---

void MainWindow::LoadControls() {
  bool ready = app_.ControlsReady;
  app_.ControlsReady = false;
  for (const SettingBinding& b : SettingBindings()) {
    Control* c = Find(b.control);
    if (!c) continue;
    int32_t v = ControlValueFor(b, app_.settings);
    switch (b.kind) {
      case ControlKind::Check:
        SetChecked(b.control, v != 0);
        break;
      case ControlKind::Numeric:
        // The field's change handler stores the value back through its conversion.
        c->frame->SetPosition(v);
        break;
      case ControlKind::Combo:
        SendMessageW(c->hwnd, CB_SETCURSEL, static_cast<WPARAM>(v), 0);
        break;
    }
    if (b.kind != ControlKind::Numeric && b.conversion == Conversion::None) StoreBound(b.control);
  }
  // Enabled states that follow check boxes.
  CheckFloatingMonthClick();
  CheckCellShadowClick();
  ApplyOverlayEnabling();
  EnableWindow(H("RotateImages"), !app_.settings.NoBackground);
  EnableControl("PanelIconColor", app_.settings.DesktopIconsTransparent);
  SetText("OpenCalendarSkin", app_.settings.CalendarSkinFilename);
  SetText("OpenOverlayImage", app_.settings.OverlayFilename);
  for (const char* s : {"PanelCalendarColor", "PanelBackgroundColor", "PanelIconColor"}) RecolorSwatch(s);
  ShowHolidayChecks();
  app_.ControlsReady = ready;
}

void MainWindow::UpdateCaption(const std::string& versionText) {
  SetWindowTextW(hwnd_, Widen("Orvinta3 - " + versionText).c_str());
  SetText("LabProgname", "Orvinta - " + versionText);
}

void MainWindow::ShowFirstPage() {
  SelectTab(MainTab::TabImageProcessing);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 4000);
}

void MainWindow::SelectTab(MainTab tab) {
  TabCtrl_SetCurSel(tabMain_, static_cast<int>(tab));
  activeTab_ = tab;
  LayoutPages(tabMain_, mainPages_, static_cast<int>(tab));
  PageControlMainChange();
}

void MainWindow::SetDisableHintsCheck(bool checked, bool runHandler) {
  SetChecked("CheckDisableHints", checked);
  if (runHandler) CheckDisableHintsClick();
}

void MainWindow::CheckDisableHintsClick() {
  StoreBound("CheckDisableHints");
  // The hints of the main window; the other windows follow once they show hints.
  SendMessageW(tooltip_, TTM_ACTIVATE, !app_.settings.DisableHints, 0);
}

// --- layout ---

void MainWindow::LayoutChildren() {
  if (!tabMain_) return;
  RECT rc;
  GetClientRect(hwnd_, &rc);
  int tabH = Dpi(197);
  int tabTop = std::max<int>(0, rc.bottom - tabH);
  MoveWindow(tabMain_, 0, tabTop, rc.right, rc.bottom - tabTop, TRUE);
  MoveWindow(previewBack_, 0, 0, rc.right, tabTop, TRUE);
  // PanelPreview sits inside the lowered frame of PanelPreviewBack with a border of 6.
  RECT back;
  GetClientRect(previewBack_, &back);
  int border = Dpi(6) - GetSystemMetrics(SM_CXEDGE);
  MoveWindow(previewPanel_, border, border, std::max<int>(0, back.right - 2 * border),
             std::max<int>(0, back.bottom - 2 * border), TRUE);
  LayoutPages(tabMain_, mainPages_, static_cast<int>(activeTab_));
  if (tabCalendar_) LayoutPages(tabCalendar_, calendarPages_, TabCtrl_GetCurSel(tabCalendar_));
  PanelPreviewResize();
}

void MainWindow::LayoutPages(HWND tab, const std::vector<HWND>& pages, int active) {
  RECT r;
  GetWindowRect(tab, &r);
  MapWindowPoints(nullptr, GetParent(tab), reinterpret_cast<POINT*>(&r), 2);
  RECT inner = r;
  TabCtrl_AdjustRect(tab, FALSE, &inner);
  for (size_t i = 0; i < pages.size(); ++i) {
    if (static_cast<int>(i) == active) {
      SetWindowPos(pages[i], HWND_TOP, inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top,
                   SWP_SHOWWINDOW);
    } else {
      ShowWindow(pages[i], SW_HIDE);
    }
  }
}

}  // namespace ov
