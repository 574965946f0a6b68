#include "win/desktop/DatePicker.h"

#include <commctrl.h>

#include <algorithm>

#include "core/desktop/PopupPlacement.h"
#include "win/desktop/KeepInWorkArea.h"
#include "win/platform/DateConvert.h"
#include "win/wallpaper/Monitors.h"

namespace ov {

namespace {

constexpr int kCalendarId = 100;
constexpr int kClientWidth = 240, kClientHeight = 215;

}  // namespace

bool TFormPickDate::Create(HWND owner) {
  if (!CreateDialogWindow(L"TFormPickDate", L"选择日期", kClientWidth, kClientHeight, owner, L"宋体", 12)) return false;
  calendar_ = AddControl(MONTHCAL_CLASSW, L"", WS_TABSTOP | WS_BORDER | MCS_NOTODAYCIRCLE, 8, 8, kClientWidth - 16, 168,
                         kCalendarId);
  // The calendar's own size (its font and locale decide it) sets the window's.
  int calW = kClientWidth - 16, calH = 168;
  RECT min{};
  if (calendar_ && MonthCal_GetMinReqRect(calendar_, &min)) {
    int border = 2 * GetSystemMetrics(SM_CXBORDER);
    calW = std::max(calW, Undpi(min.right - min.left + border));
    calH = Undpi(min.bottom - min.top + border);
    SetWindowPos(calendar_, nullptr, 0, 0, Dpi(calW), Dpi(calH), SWP_NOMOVE | SWP_NOZORDER);
  }
  int width = calW + 16, height = 8 + calH + 8 + 25 + 8;
  SetClientSize(width, height);
  ok_ = AddButton(L"确定", width - 168, height - 33, 75, 25, IDOK, true);
  cancel_ = AddButton(L"取消", width - 85, height - 33, 75, 25, IDCANCEL);
  SetWindowSubclass(calendar_, CalendarProc, 1, reinterpret_cast<DWORD_PTR>(this));
  return true;
}

void TFormPickDate::ShowFor(double date) {
  SYSTEMTIME st = SystemTimeFromDays(date);
  MonthCal_SetCurSel(calendar_, &st);
  EnableWindow(ok_, TRUE);
  EnableWindow(cancel_, TRUE);
  RECT r;
  GetWindowRect(Handle(), &r);
  POINT cursor;
  GetCursorPos(&cursor);
  // On the cursor's monitor, inside its work area.
  Point pos = CenterOnPointKeptInArea({cursor.x, cursor.y}, {r.right - r.left, r.bottom - r.top},
                                      WorkAreaAt({cursor.x, cursor.y}));
  SetWindowPos(Handle(), HWND_TOP, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(Handle());
  SetFocus(calendar_);
}

void TFormPickDate::Confirm() {
  SYSTEMTIME st{};
  MonthCal_GetCurSel(calendar_, &st);
  double picked = DaysFromSystemTime(st);
  EnableWindow(ok_, FALSE);
  EnableWindow(cancel_, FALSE);
  EndDialog(IDOK);
  if (onPicked_) onPicked_(picked);
}

void TFormPickDate::DpiChanged(UINT, UINT) {
  // Grown for a monitor of a higher DPI, it still fits inside that monitor's work area.
  KeepInWorkArea(Handle());
}

void TFormPickDate::OnCommand(int id, int code, HWND) {
  if (id == IDOK) Confirm();
  else if (id == IDCANCEL) EndDialog(IDCANCEL);
}

LRESULT TFormPickDate::OnNotify(NMHDR*) { return 0; }

LRESULT CALLBACK TFormPickDate::CalendarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                             DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<TFormPickDate*>(data);
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
    // The month calendar does not report double-clicks: two presses on the same day
    // within the double-click time act as OK.
    DWORD now = GetMessageTime();
    POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    MCHITTESTINFO hit{};
    hit.cbSize = sizeof(hit);
    hit.pt = pt;
    MonthCal_HitTest(hwnd, &hit);
    bool onDay = (hit.uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE;
    bool second = onDay && now - self->lastClickTime_ <= GetDoubleClickTime() &&
                  std::abs(pt.x - self->lastClick_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
                  std::abs(pt.y - self->lastClick_.y) <= GetSystemMetrics(SM_CYDOUBLECLK);
    self->lastClickTime_ = onDay ? now : 0;
    self->lastClick_ = pt;
    LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
    if (second) {
      self->lastClickTime_ = 0;
      PostMessageW(self->Handle(), WM_COMMAND, IDOK, 0);
    }
    return r;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace ov
