#include "win/desktop/Controller.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "core/calendar/Sections.h"
#include "core/desktop/ControllerMenu.h"
#include "core/desktop/DesktopMetrics.h"
#include "win/app/App.h"
#include "win/app/ApplicationWindow.h"
#include "win/app/MainForm.h"
#include "win/ical/ExportIcsDialog.h"
#include "win/desktop/EntryPopup.h"
#include "win/platform/Utf16.h"
#include "win/ui/SharedImages.h"
#include "win/ui/Dpi.h"
#include "win/ui/MenuTracking.h"

namespace ov {

namespace {

const wchar_t kClassName[] = L"TFController";
constexpr UINT_PTR kHintBack = 1, kHintNext = 2;

// What the controller's commands do to the rest of the program.
class ControllerHost final : public IControllerHost {
 public:
  explicit ControllerHost(App& app) : app_(app) {}
  void DisplayDateMoved() override {
    // An open pop-up saves its typing and rebuilds as it closes.
    if (app_.EntryPopup && !app_.EntryPopup->Saved()) {
      app_.EntryPopup->SetModified();
      app_.EntryPopup->CloseEntry();
    } else {
      app_.MainWindow->UpdateWallpaper();
    }
  }
  void UpdateWallpaper() override { app_.MainWindow->UpdateWallpaper(); }
  void ShowDatePicker() override { app_.ShowDatePicker(); }
  void ChooseSection(const std::string& name) override { app_.MainWindow->ChooseEntrySection(name); }
  void ShowWeekRows(int rows) override { app_.MainWindow->ShowWeekRows(rows); }
  void ChangeWallpaperImage() override { app_.MainWindow->ChangeWallpaperImage(); }
  void SelectWallpaperFolder() override { app_.MainWindow->SelectWallpaperFolder(); }
  void OpenImagesFolder() override { app_.MainWindow->OpenImagesFolder(); }
  void RefreshImageList() override { app_.MainWindow->RefreshImageList(); }
  void SearchNewWallpapers() override { app_.MainWindow->SearchNewWallpapers(); }
  void OpenProgram() override { app_.MainWindow->ShowMainWindow(); }
  void ExportIcs() override { ExportNotesAsIcs(app_, nullptr); }
  void ShowControllerChanged() override { app_.MainWindow->ApplyShowController(); }

 private:
  App& app_;
};

HBITMAP MarkImage(MenuMark mark) {
  SharedImages& images = SharedImages::Get();
  switch (mark) {
    case MenuMark::Tick: return images.MenuBitmap(kMenuImageTick);
    case MenuMark::RadioOn: return images.MenuBitmap(kMenuImageRadioOn);
    case MenuMark::RadioOff: return images.MenuBitmap(kMenuImageRadioOff);
    default: return nullptr;
  }
}

HMENU BuildMenu(const std::vector<ControllerMenuItem>& items) {
  HMENU menu = CreatePopupMenu();
  for (const ControllerMenuItem& item : items) {
    if (item.Separator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring caption = Widen(item.caption);
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    mi.fType = item.newColumn ? MFT_MENUBARBREAK : 0;
    mi.fState = item.enabled ? 0 : MFS_DISABLED;
    mi.dwTypeData = caption.data();
    if (!item.items.empty()) {
      mi.fMask |= MIIM_SUBMENU;
      mi.hSubMenu = BuildMenu(item.items);
    } else {
      mi.fMask |= MIIM_ID;
      mi.wID = static_cast<UINT>(item.id);
    }
    SetMenuItemImage(mi, MarkImage(item.mark));
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mi);
  }
  return menu;
}

}  // namespace

TFController::~TFController() {
  if (font_) DeleteObject(font_);
}

bool TFController::Create(HWND owner) {
  if (!CreateWindowOfClass(kClassName, L"", WS_POPUP, WS_EX_LAYERED | WS_EX_TOOLWINDOW, 0, 0, 80, 18, owner))
    return false;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  const std::pair<UINT_PTR, const wchar_t*> hints[] = {{kHintBack, L"上个月"}, {kHintNext, L"下个月"}};
  for (const auto& [id, text] : hints) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = Handle();
    ti.uId = id;
    ti.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  return true;
}

RECT TFController::PanelRect(int panel) const {
  RECT c{};
  GetClientRect(Handle(), &c);
  int arrow = std::min<int>(arrowWidth_, c.right / 3);
  switch (panel) {
    case kPanelBack: return {0, 0, arrow, c.bottom};
    case kPanelNext: return {c.right - arrow, 0, c.right, c.bottom};
    default: return {arrow, 0, c.right - arrow, c.bottom};
  }
}

int TFController::PanelAt(int x, int y) const {
  POINT pt{x, y};
  for (int p : {kPanelBack, kPanelMenu, kPanelNext}) {
    RECT r = PanelRect(p);
    if (PtInRect(&r, pt)) return p;
  }
  return kNone;
}

void TFController::SetBounds(const Rect& r) {
  strip_ = r;
  ApplyDpi(DpiAt({r.left, r.top}));
}

void TFController::ApplyDpi(UINT dpi) {
  ControllerMetrics m = ControllerMetricsFor(strip_, app_.settings.ControllerLeft, dpi);
  const Rect& b = m.bounds;
  int w = std::max<int>(0, static_cast<int>(b.Width())), h = std::max<int>(0, static_cast<int>(b.Height()));
  SetWindowPos(Handle(), nullptr, b.left, b.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  arrowWidth_ = m.arrowWidth;
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  ncm.lfMessageFont.lfHeight = m.fontHeight;
  if (font_) DeleteObject(font_);
  font_ = CreateFontIndirectW(&ncm.lfMessageFont);
  UpdateHintRects();
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TFController::UpdateHintRects() {
  for (UINT_PTR id : {kHintBack, kHintNext}) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = Handle();
    ti.uId = id;
    ti.rect = PanelRect(id == kHintBack ? kPanelBack : kPanelNext);
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void TFController::ShowController() {
  const Settings& s = app_.settings;
  SendMessageW(tooltip_, TTM_ACTIVATE, !s.DisableHints, 0);
  // The application window keeps no task-bar button.
  if (app_.AppWindow) ShowWindow(app_.AppWindow->Handle(), SW_HIDE);
  SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(std::clamp<int32_t>(s.ControllerAlpha, 0, 255)), LWA_ALPHA);
  RECT r{};
  GetWindowRect(Handle(), &r);
  if (r.right <= r.left || r.bottom <= r.top) return;  // no place on the wallpaper yet
  SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TFController::HideController() {
  pressed_ = kNone;
  ShowWindow(Handle(), SW_HIDE);
}

void TFController::Paint(HDC dc) {
  RECT c{};
  GetClientRect(Handle(), &c);
  FillRect(dc, &c, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const wchar_t* captions[] = {L"<", L"菜单", L">"};
  for (int p : {kPanelBack, kPanelMenu, kPanelNext}) {
    RECT r = PanelRect(p);
    // Raised; lowered while the left button is held on it.
    DrawEdge(dc, &r, pressed_ == p ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    RECT t = r;
    if (pressed_ == p) OffsetRect(&t, 1, 1);
    DrawTextW(dc, captions[p], -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, old);
}

void TFController::ShowMenu(POINT releaseInPanel) {
  ControllerMenuState state;
  state.displayDate = app_.DisplayDate;
  state.now = app_.Clock.Now();
  state.calendarVisible = app_.settings.CalendarVisible;
  state.visibleWeeks = app_.settings.VisibleWeeks;
  if (app_.Shell) state.sections = ListSections(*app_.Shell, app_.Folders.EntriesFolder());
  state.currentSection = app_.Entries ? app_.Entries->CurrentSection() : app_.settings.SubEntryName;
  // The active section has no folder until its first note: it is listed all the same.
  if (std::find(state.sections.begin(), state.sections.end(), state.currentSection) == state.sections.end())
    state.sections.insert(state.sections.begin(), state.currentSection);
  menuSections_ = state.sections;
  HMENU menu = BuildMenu(BuildControllerMenu(state, app_.Locale));
  RECT wr{};
  GetWindowRect(Handle(), &wr);
  SetForegroundWindow(Handle());
  int cmd = TrackMenuInWorkArea(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                wr.left + releaseInPanel.x, wr.top + releaseInPanel.y, Handle());
  DestroyMenu(menu);
  PostMessageW(Handle(), WM_NULL, 0, 0);
  if (cmd) RunCommand(cmd);
}

void TFController::RunCommand(int id) {
  ControllerHost host(app_);
  RunControllerCommand(id, app_.DisplayDate, app_.settings, menuSections_, app_.Clock.Now(), host);
}

LRESULT TFController::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_WINDOWPOSCHANGING: {
      // Always at the bottom of the window stack.
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      if (!(pos->flags & SWP_NOZORDER)) pos->hwndInsertAfter = HWND_BOTTOM;
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_DPICHANGED:
      // The bar stays on the strip it was given; only its own sizes follow the new DPI.
      if (HIWORD(wp)) ApplyDpi(HIWORD(wp));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      pressed_ = PanelAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      SetCapture(Handle());
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      int was = pressed_;
      pressed_ = kNone;
      if (GetCapture() == Handle()) ReleaseCapture();
      InvalidateRect(Handle(), nullptr, FALSE);
      int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
      int at = PanelAt(x, y);
      if (at == kPanelMenu) {
        RECT m = PanelRect(kPanelMenu);
        ShowMenu({x - m.left, y - m.top});
      } else if (msg == WM_LBUTTONUP && at == was && at != kNone) {
        RunCommand(at == kPanelBack ? kCtlBack : kCtlNext);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_ != kNone) {
        pressed_ = kNone;
        InvalidateRect(Handle(), nullptr, FALSE);
      }
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace ov
