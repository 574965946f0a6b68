#include "win/desktop/RepeatDialog.h"

#include <commctrl.h>

#include <cmath>

#include "win/desktop/KeepInWorkArea.h"
#include "win/platform/DateConvert.h"
#include "win/platform/Utf16.h"
#include "win/wallpaper/Monitors.h"

namespace ov {

namespace {

// Control ids; the kind radios carry their tags 1..6 as offsets.
enum : int {
  kIdKindFirst = 200,  // EveryDay = 201 ... EveryDaycount = 205
  kIdEveryDaycountSpin = 210,  // edit 210, up-down 211
  kIdEndRepeat = 220,
  kIdAfterSpin = 221,          // edit 221, up-down 222
  kIdAfterMode = 223,
  kIdEndDate = 224,
  kIdDateEndDate = 225,
  kIdEntryMerge = 230,
  kIdEntryReplace = 231,
  kIdEntrySkip = 232,
  kIdRepeatColorsAlso = 240,
};

constexpr int kClientWidth = 304, kClientHeight = 308;

int SpinValue(HWND spin) {
  BOOL failed = FALSE;
  LRESULT v = SendMessageW(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
  return static_cast<int>(v);
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

}  // namespace

bool TFRepeat::Create(HWND owner) {
  if (!CreateDialogWindow(L"TFRepeat", Widen(kRepeatDialogCaption), kClientWidth, kClientHeight, owner, nullptr, 0))
    return false;
  // "每": the step of the series.
  AddGroup(L"每", 8, 6, 136, 156);
  AddRadio(L"天", 18, 24, 110, 20, kIdKindFirst + 1, true);
  AddRadio(L"星期", 18, 46, 110, 20, kIdKindFirst + 2, false);
  AddRadio(L"月", 18, 68, 110, 20, kIdKindFirst + 3, false);
  AddRadio(L"年", 18, 90, 110, 20, kIdKindFirst + 4, false);
  // The same lunar month and day; created here to stay in the radios' group, shown last.
  AddRadio(L"年 (农历)", 18, 137, 110, 20, kIdKindFirst + 6, false);
  // Every n days: the radio's own caption is the unit after the number.
  AddRadio(L"天", 18, 114, 16, 20, kIdKindFirst + 5, false);
  everyDaysSpin_ = AddSpin(36, 113, 56, 22, kIdEveryDaycountSpin, kMinRepeatCount, kMaxRepeatCount, 14);
  AddLabel(L"天", 96, 117, 30, 18);

  // "结束": after a number of units or at a date.
  AddGroup(L"结束", 152, 6, 144, 156);
  AddRadio(L"重复", 162, 24, 120, 20, kIdEndRepeat, true);
  afterSpin_ = AddSpin(176, 48, 50, 22, kIdAfterSpin, kMinRepeatCount, kMaxRepeatCount, 1);
  afterMode_ = AddControl(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 230, 48, 58, 160, kIdAfterMode);
  for (const char* unit : kRepeatUnitCaptions)
    SendMessageW(afterMode_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(unit).c_str()));
  AddRadio(L"单元", 162, 84, 120, 20, kIdEndDate, false);
  endDate_ = AddControl(DATETIMEPICK_CLASSW, L"", WS_TABSTOP | DTS_SHORTDATEFORMAT, 176, 108, 112, 24, kIdDateEndDate);

  // "如果目标项目非空": what happens to days that already have text.
  targetGroup_ = AddGroup(L"如果目标项目非空", 8, 168, 288, 80);
  AddRadio(L"合并原来和当前项目", 18, 186, 270, 18, kIdEntryMerge, true);
  AddRadio(L"替换为当前项目", 18, 206, 270, 18, kIdEntryReplace, false);
  AddRadio(L"跳过项目", 18, 226, 270, 18, kIdEntrySkip, false);

  colorsCheck_ = AddCheck(L"重复颜色代码", 12, 254, 200, 20, kIdRepeatColorsAlso);
  AddButton(L"确定", 140, 278, 75, 25, IDOK);
  // Cancel is the default button: Enter with no button focused cancels, as does Esc.
  AddButton(L"取消", 221, 278, 75, 25, IDCANCEL, true);
  defaultButton_ = IDCANCEL;

  // The first use starts with every day, end after 1 day, merge.
  CheckRadioButton(Handle(), kIdKindFirst + 1, kIdKindFirst + 6, kIdKindFirst + 1);
  CheckRadioButton(Handle(), kIdEndRepeat, kIdEndDate, kIdEndRepeat);
  CheckRadioButton(Handle(), kIdEntryMerge, kIdEntrySkip, kIdEntryMerge);
  SendMessageW(afterMode_, CB_SETCURSEL, static_cast<WPARAM>(RepeatUnit::Days), 0);
  UpdateEnabling();
  return true;
}

int TFRepeat::CheckedKindTag() const {
  for (int tag = 1; tag <= 6; ++tag)
    if (Checked(Handle(), kIdKindFirst + tag)) return tag;
  return 1;
}

void TFRepeat::UpdateEnabling() {
  bool daycount = CheckedKindTag() == static_cast<int>(RepeatKind::DayCount);
  EnableWindow(everyDaysSpin_, daycount);
  EnableWindow(GetDlgItem(Handle(), kIdEveryDaycountSpin), daycount);
  bool after = Checked(Handle(), kIdEndRepeat);
  EnableWindow(afterSpin_, after);
  EnableWindow(GetDlgItem(Handle(), kIdAfterSpin), after);
  EnableWindow(afterMode_, after);
  EnableWindow(endDate_, !after);
}

bool TFRepeat::ShowRepeatDialog(HWND popup, bool targetOptions, bool showColors, bool repeatColors, double date) {
  start_ = std::trunc(date);
  series_ = RepeatSeries{};
  SYSTEMTIME st = SystemTimeFromDays(start_);
  DateTime_SetSystemtime(endDate_, GDT_VALID, &st);
  for (int id : {kIdEntryMerge, kIdEntryReplace, kIdEntrySkip}) EnableWindow(GetDlgItem(Handle(), id), targetOptions);
  EnableWindow(targetGroup_, targetOptions);
  ShowWindow(colorsCheck_, showColors ? SW_SHOW : SW_HIDE);
  CheckDlgButton(Handle(), kIdRepeatColorsAlso, repeatColors ? BST_CHECKED : BST_UNCHECKED);
  UpdateEnabling();

  RECT wr, pr;
  GetWindowRect(Handle(), &wr);
  GetWindowRect(popup, &pr);
  // Beside the pop-up where it really lies (placement may have moved it off its cell),
  // inside the work area of the pop-up's monitor.
  const Rect popupWindow{pr.left, pr.top, pr.right, pr.bottom};
  const Point centre{static_cast<int32_t>((int64_t(pr.left) + pr.right) / 2),
                     static_cast<int32_t>((int64_t(pr.top) + pr.bottom) / 2)};
  Point pos = RepeatDialogPlacement(popupWindow, {wr.right - wr.left, wr.bottom - wr.top}, WorkAreaAt(centre));
  SetWindowPos(Handle(), HWND_TOP, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  SetFocus(GetDlgItem(Handle(), IDCANCEL));
  return ShowModal(popup) == IDOK;
}

void TFRepeat::ReadControls() {
  choices_.kind = static_cast<RepeatKind>(CheckedKindTag());
  choices_.everyDays = SpinValue(everyDaysSpin_);
  choices_.end = Checked(Handle(), kIdEndRepeat) ? RepeatEnd::After : RepeatEnd::AtDate;
  choices_.afterCount = SpinValue(afterSpin_);
  LRESULT unit = SendMessageW(afterMode_, CB_GETCURSEL, 0, 0);
  choices_.afterUnit = static_cast<RepeatUnit>(unit >= 0 && unit <= 4 ? unit : 0);
  SYSTEMTIME st{};
  if (DateTime_GetSystemtime(endDate_, &st) == GDT_VALID) choices_.endDate = DaysFromSystemTime(st);
  choices_.target = Checked(Handle(), kIdEntryReplace) ? RepeatTarget::Replace
                    : Checked(Handle(), kIdEntrySkip)  ? RepeatTarget::Skip
                                                       : RepeatTarget::Merge;
  choices_.repeatColors = Checked(Handle(), kIdRepeatColorsAlso);
}

void TFRepeat::DpiChanged(UINT, UINT) {
  // Grown for a monitor of a higher DPI, it still fits inside that monitor's work area.
  KeepInWorkArea(Handle());
}

void TFRepeat::OnCommand(int id, int code, HWND) {
  if (id > kIdKindFirst && id <= kIdKindFirst + 6 && code == BN_CLICKED) {
    // The first four kinds also pick the matching end unit; every n days leaves it.
    RepeatUnit current = static_cast<RepeatUnit>(SendMessageW(afterMode_, CB_GETCURSEL, 0, 0));
    RepeatUnit unit = UnitForKind(static_cast<RepeatKind>(id - kIdKindFirst), current);
    SendMessageW(afterMode_, CB_SETCURSEL, static_cast<WPARAM>(unit), 0);
    UpdateEnabling();
  } else if ((id == kIdEndRepeat || id == kIdEndDate) && code == BN_CLICKED) {
    UpdateEnabling();
  } else if (id == kIdRepeatColorsAlso && code == BN_CLICKED) {
    if (onRepeatColorsChanged_) onRepeatColorsChanged_(Checked(Handle(), kIdRepeatColorsAlso));
  } else if (id == IDOK) {
    ReadControls();
    series_ = ConfirmRepeat(start_, choices_);
    EndDialog(IDOK);
  } else if (id == IDCANCEL) {
    EndDialog(IDCANCEL);
  }
}

}  // namespace ov
