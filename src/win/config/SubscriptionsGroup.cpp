#include "win/config/SubscriptionsGroup.h"

#include <commctrl.h>

#include <algorithm>

#include "core/ical/CalendarRefresh.h"
#include "core/util/Text.h"
#include "win/app/App.h"
#include "win/config/SubscriptionDialog.h"
#include "win/platform/Utf16.h"
#include "win/ui/MessageBoxes.h"

namespace ov {

namespace {

// Control IDs of their own: the sections (31xx) and the backups (32xx) use theirs, and
// every page's commands reach the configuration window's one handler, where a shared ID
// would run the other group's command.
enum : int { kIdList = 3301, kIdAdd, kIdEdit, kIdDelete, kIdRefresh };
// The state comes before the source: it is what the user looks for, and an address
// shortened at the right still says where it comes from.
enum Column : int { kColName, kColState, kColColor, kColSource };

HWND Child(HWND page, const wchar_t* cls, const std::string& text, DWORD style, RECT r, int id, HFONT font) {
  HWND h = CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (h && font) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

void SetCell(HWND view, int row, int column, const std::string& text) {
  std::wstring w = Widen(text);
  ListView_SetItemText(view, row, column, w.data());
}

RegistrySettingsStore OpenStore() { return RegistrySettingsStore{kSettingsKey}; }

}  // namespace

void SubscriptionsGroup::Create(HWND page, int x, int y, int w, int h, const std::function<int(int)>& scale,
                                HFONT font) {
  page_ = page;
  auto R = [&](int l, int t, int rw, int rh) { return RECT{scale(l), scale(t), scale(l + rw), scale(t + rh)}; };
  Child(page, L"BUTTON", "日历订阅", BS_GROUPBOX, R(x, y, w, h), -1, font);
  const int gap = 8, buttonH = 25;
  const int listH = h - 18 - buttonH - 2 * gap;
  view_ = Child(page, WC_LISTVIEWW, "",
                WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                R(x + gap, y + 18, w - 2 * gap, listH), kIdList, font);
  ListView_SetExtendedListViewStyle(view_, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER |
                                               LVS_EX_CHECKBOXES);
  // Widths in 96-dpi units; the source takes what is left beside the scroll bar.
  const int nameW = 72, stateW = 142, colorW = 40;
  const int sourceW = std::max(40, w - 2 * gap - 4 - nameW - stateW - colorW) -
                      MulDiv(GetSystemMetrics(SM_CXVSCROLL), 96, scale(96));
  const struct { const char* caption; int width; } columns[] = {
      {"名称", nameW}, {"状态", stateW}, {"颜色", colorW}, {"来源", sourceW}};
  for (int i = 0; i < int(std::size(columns)); ++i) {
    std::wstring caption = Widen(columns[i].caption);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = caption.data();
    col.cx = scale(columns[i].width);
    ListView_InsertColumn(view_, i, &col);
  }
  const int by = y + h - gap - buttonH;
  int bx = x + gap;
  add_ = Child(page, L"BUTTON", "添加...", WS_TABSTOP | BS_PUSHBUTTON, R(bx, by, 72, buttonH), kIdAdd, font);
  edit_ = Child(page, L"BUTTON", "编辑...", WS_TABSTOP | BS_PUSHBUTTON, R(bx += 78, by, 72, buttonH), kIdEdit, font);
  delete_ = Child(page, L"BUTTON", "删除", WS_TABSTOP | BS_PUSHBUTTON, R(bx += 78, by, 72, buttonH), kIdDelete, font);
  refresh_ = Child(page, L"BUTTON", "立即刷新", WS_TABSTOP | BS_PUSHBUTTON, R(x + w - gap - 80, by, 80, buttonH),
                   kIdRefresh, font);
  RegistrySettingsStore store = OpenStore();
  if (store.Open()) list_ = ReadSubscriptions(store);
  Fill();
}

void SubscriptionsGroup::Fill() {
  filling_ = true;
  const int selected = SelectedRow();
  ListView_DeleteAllItems(view_);
  for (int i = 0; i < int(list_.size()); ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<wchar_t*>(L"");
    ListView_InsertItem(view_, &item);
    UpdateRow(i);
  }
  if (selected >= 0 && selected < int(list_.size()))
    ListView_SetItemState(view_, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  filling_ = false;
  UpdateButtons();
}

void SubscriptionsGroup::UpdateRow(int row) {
  const Subscription& s = list_[size_t(row)];
  const std::string calendarName = app_.Calendars ? app_.Calendars->CalendarNameOf(s) : std::string();
  const bool wasFilling = filling_;
  filling_ = true;
  SetCell(view_, row, kColName, SubscriptionDisplayName(s, calendarName));
  // A web address shows without its path: it often carries a secret token.
  SetCell(view_, row, kColSource, SourceForLog(s.source));
  SetCell(view_, row, kColColor, Format("#%06X", unsigned(s.rgb)));  // read by screen readers; the swatch is drawn
  SetCell(view_, row, kColState, app_.Calendars ? app_.Calendars->StateOf(s) : std::string(kStateNotRead));
  ListView_SetCheckState(view_, row, s.enabled);
  filling_ = wasFilling;
}

void SubscriptionsGroup::StatesChanged() {
  if (!view_) return;
  for (int i = 0; i < int(list_.size()) && i < ListView_GetItemCount(view_); ++i) UpdateRow(i);
}

int SubscriptionsGroup::SelectedRow() const { return view_ ? ListView_GetNextItem(view_, -1, LVNI_SELECTED) : -1; }

void SubscriptionsGroup::UpdateButtons() {
  const bool selected = SelectedRow() >= 0;
  EnableWindow(edit_, selected);
  EnableWindow(delete_, selected);
  EnableWindow(refresh_, !list_.empty());
}

void SubscriptionsGroup::Apply() {
  RegistrySettingsStore store = OpenStore();
  if (!store.Open() || !WriteSubscriptions(store, list_))
    ErrorBox(GetAncestor(page_, GA_ROOT), "无法保存日历订阅。");
  if (app_.Calendars) app_.Calendars->Start(list_);
}

void SubscriptionsGroup::AddClick() {
  if (list_.size() >= kMaxSubscriptionCount) return;
  Subscription s;
  s.rgb = SubscriptionPaletteColor(list_.size());
  SubscriptionDialog dialog;
  if (!dialog.Edit(GetAncestor(page_, GA_ROOT), true, s)) return;
  list_.push_back(std::move(s));
  Fill();
  ListView_SetItemState(view_, int(list_.size()) - 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Apply();
}

void SubscriptionsGroup::EditClick() {
  const int row = SelectedRow();
  if (row < 0) return;
  Subscription s = list_[size_t(row)];
  SubscriptionDialog dialog;
  if (!dialog.Edit(GetAncestor(page_, GA_ROOT), false, s) || s == list_[size_t(row)]) return;
  list_[size_t(row)] = std::move(s);
  UpdateRow(row);
  Apply();
}

void SubscriptionsGroup::DeleteClick() {
  const int row = SelectedRow();
  if (row < 0) return;
  list_.erase(list_.begin() + row);
  Fill();
  Apply();
}

void SubscriptionsGroup::RefreshClick() {
  if (app_.Calendars) app_.Calendars->RefreshNow();
}

bool SubscriptionsGroup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!view_) return false;
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    // Only this group's own buttons: the configuration window offers every page's
    // commands here first, and an ID alone may be another page's.
    const HWND from = reinterpret_cast<HWND>(lp);
    if (from != add_ && from != edit_ && from != delete_ && from != refresh_) return false;
    switch (LOWORD(wp)) {
      case kIdAdd: AddClick(); break;
      case kIdEdit: EditClick(); break;
      case kIdDelete: DeleteClick(); break;
      case kIdRefresh: RefreshClick(); break;
      default: return false;
    }
    result = 0;
    return true;
  }
  if (msg != WM_NOTIFY) return false;
  auto* hdr = reinterpret_cast<NMHDR*>(lp);
  if (!hdr || hdr->hwndFrom != view_) return false;
  switch (hdr->code) {
    case LVN_ITEMCHANGED: {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(lp);
      if (!filling_ && (nm->uChanged & LVIF_STATE) && nm->iItem >= 0 && nm->iItem < int(list_.size())) {
        // The check box is the state image: 2 on, 1 off.
        const UINT image = nm->uNewState & LVIS_STATEIMAGEMASK;
        if (image && image != (nm->uOldState & LVIS_STATEIMAGEMASK)) {
          const bool on = image == INDEXTOSTATEIMAGEMASK(2);
          if (list_[size_t(nm->iItem)].enabled != on) {
            list_[size_t(nm->iItem)].enabled = on;
            UpdateRow(nm->iItem);
            Apply();
          }
        }
        UpdateButtons();
      }
      result = 0;
      return true;
    }
    case NM_DBLCLK:
      EditClick();
      result = 0;
      return true;
    case NM_CUSTOMDRAW: {
      // The colour column shows the subscription's colour behind its value.
      auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(lp);
      switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT: result = CDRF_NOTIFYITEMDRAW; return true;
        case CDDS_ITEMPREPAINT: result = CDRF_NOTIFYSUBITEMDRAW; return true;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
          const int row = int(cd->nmcd.dwItemSpec);
          RECT cell{};
          if (cd->iSubItem == kColColor && row >= 0 && row < int(list_.size()) &&
              ListView_GetSubItemRect(view_, row, kColColor, LVIR_BOUNDS, &cell)) {
            // A swatch inside the cell, also on the selected row.
            const uint32_t rgb = list_[size_t(row)].rgb;
            HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
            InflateRect(&cell, -3, -2);
            FillRect(cd->nmcd.hdc, &cell, brush);
            DeleteObject(brush);
            result = CDRF_SKIPDEFAULT;
            return true;
          }
          result = CDRF_DODEFAULT;
          return true;
        }
        default: result = CDRF_DODEFAULT; return true;
      }
    }
    default: return false;
  }
}

}  // namespace ov
