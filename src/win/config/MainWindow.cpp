#include "win/ui/Dpi.h"
#include "win/config/MainWindow.h"

#include <commctrl.h>

#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/app/Timers.h"
#include "win/config/MainWindow_Hooks.h"
#include "win/config/ImageGrid.h"
#include "win/library/FolderWatcher.h"
#include "win/library/ThumbnailWorker.h"
#include "win/platform/Utf16.h"

namespace ov {

namespace {

const wchar_t kPageClass[] = L"OVTabPage";

// Messages a page hands on to the main window.
bool IsControlMessage(UINT msg) {
  return msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_HSCROLL || msg == WM_CTLCOLORSTATIC ||
         msg == WM_CTLCOLORBTN || msg == WM_DRAWITEM;
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
  // The pages hand their controls' notifications to this object, and some come while
  // the page windows are destroyed (a list view reports each item it deletes), after the
  // control maps below are gone: the pages stop forwarding first.
  for (auto& page : pageWindows_) page->Disconnect();
  StopLibraryWork();
  // The form may outlive this object by a moment: its preview panel must not call back.
  if (previewPanel_ && IsWindow(previewPanel_)) SetWindowLongPtrW(previewPanel_, GWLP_USERDATA, 0);
  if (font_) DeleteObject(font_);
  if (pageBrush_) DeleteObject(pageBrush_);
}

void MainWindow::Create() {
  hwnd_ = form_.Handle();
  dpi_ = WindowDpi(hwnd_);
  // Tab and the arrow keys move between the controls of the tabs, as in a dialog.
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  SetPropW(hwnd_, L"OrvintaDialog", reinterpret_cast<HANDLE>(1));
  font_ = CreateWindowFont();
  pageBrush_ = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  RegisterControlClasses();
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                             0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Dpi(320));
  CreateMenu();
  CreatePreviewArea();
  CreatePages();
  LayoutChildren();
}

HFONT MainWindow::CreateWindowFont() const {
  // The window font: 12 pixels at 96 dpi, scaled for the monitor.
  return CreateFontW(-Dpi(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei UI");
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT* suggested) {
  if (!dpi || dpi == dpi_) return;
  UINT old = dpi_;
  dpi_ = dpi;
  HFONT oldFont = font_;
  font_ = CreateWindowFont();
  RescaleForDpi(hwnd_, old, dpi, oldFont, font_, suggested);
  for (auto& frame : frames_) frame->SetFont(font_);
  DeleteObject(oldFont);
  LayoutChildren();
}

bool MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (HandleLibraryMessage(msg, wp, lp, result)) return true;
  switch (msg) {
    case WM_SIZE:
      LayoutChildren();
      // The pages lie over the tab control, which paints its whole face when it moves:
      // after a jump in size (maximise, restore) every control is painted again on top.
      if (wp != SIZE_MINIMIZED) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return false;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
      result = 0;
      return true;
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
  if (sections_ && (msg == WM_COMMAND || msg == WM_NOTIFY) && sections_->HandleMessage(msg, wp, lp, result))
    return true;
  if (subscriptions_ && (msg == WM_COMMAND || msg == WM_NOTIFY) && subscriptions_->HandleMessage(msg, wp, lp, result))
    return true;
  if (backup_ && msg == WM_COMMAND && backup_->HandleMessage(msg, wp, lp, result)) return true;
  if (printer_ && printer_->HandleMessage(msg, wp, lp, result)) return true;
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
        SelectTab(static_cast<MainTab>(TabCtrl_GetCurSel(tabMain_)));
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
  ApplyAutoStartEnabling();
  EnableWindow(H("RotateImages"), !app_.settings.NoBackground);
  EnableControl("PanelIconColor", app_.settings.DesktopIconsTransparent);
  SetPathText("OpenCalendarSkin", app_.settings.CalendarSkinFilename);
  SetPathText("OpenOverlayImage", app_.settings.OverlayFilename);
  for (const char* s : {"PanelCalendarColor", "PanelBackgroundColor", "PanelIconColor"}) RecolorSwatch(s);
  ShowHolidayChecks();
  hooks::RotateImagesClick(app_);
  hooks::ShowNextRotation(app_);
  if (backup_) backup_->Load();
  if (printer_) printer_->Load();
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
  const MainTab previous = activeTab_;
  if (previous == MainTab::TabPanels && tab != MainTab::TabPanels) TabPanelsHide();
  activeTab_ = tab;
  LayoutPages(tabMain_, mainPages_, static_cast<int>(tab));
  if (tab == MainTab::TabPanels && previous != MainTab::TabPanels) TabPanelsShow();
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
