#include "win/config/SubscriptionDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "win/platform/Utf16.h"
#include "win/ui/MessageBoxes.h"

namespace ov {

namespace {

// The refresh spin is an edit and an up-down: two ids.
enum : int { kIdSource = 300, kIdBrowse, kIdName, kIdSwatch, kIdColor, kIdRefresh = 310, kIdEnabled = 320 };

constexpr int kClientWidth = 380, kClientHeight = 186;

COLORREF ToColorref(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
uint32_t FromColorref(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

std::string Text(HWND control) {
  const int n = GetWindowTextLengthW(control);
  std::wstring text(size_t(n) + 1, L'\0');
  GetWindowTextW(control, text.data(), n + 1);
  text.resize(size_t(n));
  return Narrow(text);
}

std::string Trimmed(std::string s) {
  const size_t first = s.find_first_not_of(" \t");
  const size_t last = s.find_last_not_of(" \t");
  return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

}  // namespace

bool SubscriptionDialog::Edit(HWND owner, bool adding, Subscription& sub) {
  sub_ = sub;
  if (!CreateDialogWindow(L"TFSubscription", adding ? L"添加日历订阅" : L"编辑日历订阅", kClientWidth, kClientHeight,
                          owner, nullptr, 0))
    return false;
  AddLabel(L"来源 (.ics 文件或 http://、https://、webcal:// 网址):", 10, 10, 360, 16);
  source_ = AddControl(L"EDIT", Widen(sub_.source), ES_AUTOHSCROLL | WS_TABSTOP, 10, 28, 280, 22, kIdSource,
                       WS_EX_CLIENTEDGE);
  AddButton(L"浏览...", 296, 27, 74, 24, kIdBrowse);
  AddLabel(L"名称 (空: 日历自己的名称):", 10, 60, 200, 16);
  name_ = AddControl(L"EDIT", Widen(sub_.name), ES_AUTOHSCROLL | WS_TABSTOP, 10, 78, 200, 22, kIdName, WS_EX_CLIENTEDGE);
  AddLabel(L"颜色:", 224, 60, 60, 16);
  swatch_ = AddControl(L"STATIC", L"", SS_NOTIFY, 224, 78, 40, 22, kIdSwatch, WS_EX_CLIENTEDGE);
  AddButton(L"更改...", 270, 77, 74, 24, kIdColor);
  AddLabel(L"刷新间隔 (分钟):", 10, 114, 110, 16);
  refreshSpin_ = AddSpin(124, 110, 70, 22, kIdRefresh, kMinRefreshMinutes, kMaxRefreshMinutes, sub_.refreshMinutes);
  enabled_ = AddCheck(L"启用", 224, 112, 120, 20, kIdEnabled);
  CheckDlgButton(Handle(), kIdEnabled, sub_.enabled ? BST_CHECKED : BST_UNCHECKED);
  AddButton(L"确定", 214, 152, 75, 25, IDOK, true);
  AddButton(L"取消", 295, 152, 75, 25, IDCANCEL);
  defaultButton_ = IDOK;
  swatchBrush_ = CreateSolidBrush(ToColorref(sub_.rgb));
  RECT r{}, o{};
  GetWindowRect(Handle(), &r);
  GetWindowRect(owner, &o);
  SetWindowPos(Handle(), HWND_TOP, o.left + ((o.right - o.left) - (r.right - r.left)) / 2,
               o.top + ((o.bottom - o.top) - (r.bottom - r.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  SetFocus(source_);
  const bool ok = ShowModal(owner) == IDOK;
  Destroy();
  if (swatchBrush_) DeleteObject(swatchBrush_);
  swatchBrush_ = nullptr;
  if (ok) sub = sub_;
  return ok;
}

LRESULT SubscriptionDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lp) == swatch_ && swatchBrush_)
    return reinterpret_cast<LRESULT>(swatchBrush_);
  return Dialog::OnMessage(msg, wp, lp);
}

void SubscriptionDialog::OnCommand(int id, int code, HWND) {
  switch (id) {
    case kIdBrowse: Browse(); break;
    case kIdColor: PickColor(); break;
    case kIdSwatch:
      if (code == STN_CLICKED) PickColor();
      break;
    case IDOK:
      if (Confirm()) EndDialog(IDOK);
      break;
    case IDCANCEL: EndDialog(IDCANCEL); break;
    default: break;
  }
}

void SubscriptionDialog::Browse() {
  wchar_t file[MAX_PATH * 4] = L"";
  const std::wstring current = Widen(Text(source_));
  if (current.size() < std::size(file) && current.find(L"://") == std::wstring::npos) wcscpy(file, current.c_str());
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = L"iCalendar 日历 (*.ics)\0*.ics\0所有文件 (*.*)\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = DWORD(std::size(file));
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (GetOpenFileNameW(&ofn)) SetWindowTextW(source_, file);
}

void SubscriptionDialog::PickColor() {
  static COLORREF custom[16] = {};
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = Handle();
  cc.rgbResult = ToColorref(sub_.rgb);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&cc)) return;
  sub_.rgb = FromColorref(cc.rgbResult);
  if (swatchBrush_) DeleteObject(swatchBrush_);
  swatchBrush_ = CreateSolidBrush(cc.rgbResult);
  InvalidateRect(swatch_, nullptr, TRUE);
}

bool SubscriptionDialog::Confirm() {
  const std::string source = Trimmed(Text(source_));
  if (std::string problem = SubscriptionSourceProblem(source); !problem.empty()) {
    WarningBox(Handle(), problem);
    SetFocus(source_);
    return false;
  }
  sub_.source = source;
  sub_.name = Trimmed(Text(name_));
  BOOL failed = FALSE;
  const int minutes = int(SendMessageW(refreshSpin_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  sub_.refreshMinutes = std::clamp(failed ? sub_.refreshMinutes : minutes, kMinRefreshMinutes, kMaxRefreshMinutes);
  sub_.enabled = IsDlgButtonChecked(Handle(), kIdEnabled) == BST_CHECKED;
  return true;
}

}  // namespace ov
