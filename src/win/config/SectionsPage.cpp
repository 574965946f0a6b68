#include "win/config/SectionsPage.h"

#include <commctrl.h>

#include "core/calendar/Sections.h"
#include "core/ical/NotesExport.h"
#include "win/app/App.h"
#include "win/ical/ExportIcsDialog.h"
#include "win/platform/Utf16.h"
#include "win/ui/MessageBoxes.h"

namespace ov {

namespace {

enum : int { kIdList = 3101, kIdCreate, kIdRename, kIdDelete, kIdExportIcs };

HWND Child(HWND page, const wchar_t* cls, const std::string& text, DWORD style, RECT r, int id, HFONT font,
           DWORD exStyle = 0) {
  HWND h = CreateWindowExW(exStyle, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (h && font) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

}  // namespace

void SectionsPage::Create(HWND page, int x, int y, int w, int h, const std::function<int(int)>& scale, HFONT font,
                          const std::function<void(HWND, const std::string&)>& hint) {
  page_ = page;
  auto R = [&](int l, int t, int rw, int rh) { return RECT{scale(l), scale(t), scale(l + rw), scale(t + rh)}; };
  Child(page, L"BUTTON", kSectionGroupCaption, BS_GROUPBOX, R(x, y, w, h), -1, font);
  const int buttonW = 80, gap = 8;
  // The export button sits under the list and the buttons, at the group's right edge.
  const int exportW = 112, exportH = 25;
  const int listW = w - buttonW - 3 * gap;
  list_ = Child(page, WC_LISTVIEWW, "",
                WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS |
                    LVS_NOSORTHEADER,
                R(x + gap, y + 18, listW, h - 18 - gap - exportH - 6), kIdList, font);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  std::wstring caption = Widen(kSectionListColumnCaption);
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.pszText = caption.data();
  col.cx = scale(listW) - GetSystemMetrics(SM_CXVSCROLL) - 4;
  ListView_InsertColumn(list_, 0, &col);
  const int bx = x + gap + listW + gap;
  create_ = Child(page, L"BUTTON", kCreateSectionCaption, WS_TABSTOP | BS_PUSHBUTTON, R(bx, y + 18, buttonW, 25),
                  kIdCreate, font);
  rename_ = Child(page, L"BUTTON", kRenameSectionCaption, WS_TABSTOP | BS_PUSHBUTTON, R(bx, y + 49, buttonW, 25),
                  kIdRename, font);
  delete_ = Child(page, L"BUTTON", kDeleteSectionCaption, WS_TABSTOP | BS_PUSHBUTTON, R(bx, y + 80, buttonW, 25),
                  kIdDelete, font);
  // The active section's notes as an iCalendar file for other calendars.
  Child(page, L"BUTTON", kExportIcsCaption, WS_TABSTOP | BS_PUSHBUTTON,
        R(x + w - gap - exportW, y + h - gap - exportH, exportW, exportH), kIdExportIcs, font);
  if (hint) {
    hint(create_, kCreateSectionHint);
    hint(rename_, kRenameSectionHint);
    hint(delete_, kDeleteSectionHint);
  }
  UpdateButtons();
}

void SectionsPage::Rebuild() {
  if (!list_ || !app_.Entries || !app_.Shell) return;
  rebuilding_ = true;
  ListView_DeleteAllItems(list_);
  const std::string current = app_.Entries->CurrentSection();
  int index = 0;
  for (const std::string& name : ListSections(*app_.Shell, app_.Entries->EntriesFolder())) {
    std::wstring text = Widen(name);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = text.data();
    int at = ListView_InsertItem(list_, &item);
    if (name == current) {
      ListView_SetItemState(list_, at, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(list_, at, FALSE);
    }
    ++index;
  }
  rebuilding_ = false;
  UpdateButtons();
}

void SectionsPage::UpdateButtons() {
  const std::string current = app_.Entries ? app_.Entries->CurrentSection() : app_.settings.SubEntryName;
  const bool modifiable = CanModifySection(current);
  if (rename_) EnableWindow(rename_, modifiable);
  if (delete_) EnableWindow(delete_, modifiable);
}

std::string SectionsPage::ItemText(int item) const {
  wchar_t buf[512] = L"";
  ListView_GetItemText(list_, item, 0, buf, 512);
  return Narrow(buf);
}

int SectionsPage::SelectedItem() const { return ListView_GetNextItem(list_, -1, LVNI_SELECTED); }

void SectionsPage::SelectionChanged(int item) {
  const std::string name = ItemText(item);
  app_.Entries->SetCurrentSection(name);
  app_.settings.SubEntryName = name;
  UpdateButtons();
  InvalidateRect(list_, nullptr, FALSE);
  if (refreshPreview_) refreshPreview_();
}

void SectionsPage::CreateClick() {
  CreateSection(*app_.Shell, *app_.Entries);
  app_.settings.SubEntryName = app_.Entries->CurrentSection();
  Rebuild();
  // The new section's caption is ready for its name at once.
  if (ListView_GetItemCount(list_) > 0) {
    int selected = SelectedItem();
    if (selected >= 0) {
      SetFocus(list_);
      ListView_EditLabel(list_, selected);
    }
  }
  if (refreshPreview_) refreshPreview_();
}

void SectionsPage::RenameClick() {
  int selected = SelectedItem();
  if (selected < 0) return;
  SetFocus(list_);
  ListView_EditLabel(list_, selected);
}

void SectionsPage::DeleteClick() {
  int selected = SelectedItem();
  if (selected < 0) return;
  const std::string name = ItemText(selected);
  switch (CheckSectionDelete(name)) {
    case SectionDelete::RefuseDefault: AbortBox(GetAncestor(page_, GA_ROOT), kDefaultSectionUndeletableMessage); return;
    case SectionDelete::Nothing: return;
    case SectionDelete::Confirm: break;
  }
  if (!ConfirmBox(GetAncestor(page_, GA_ROOT), SectionDeleteConfirmMessage(name))) return;
  DeleteSection(*app_.Shell, *app_.Entries, name);
  app_.settings.SubEntryName = app_.Entries->CurrentSection();
  if (sectionsChanged_) sectionsChanged_();
}

bool SectionsPage::EndLabelEdit(int item, const wchar_t* text) {
  if (!text) return false;  // editing cancelled
  const std::string oldName = ItemText(item), newName = Narrow(text);
  HWND owner = GetAncestor(page_, GA_ROOT);
  switch (RenameSection(*app_.Shell, *app_.Entries, oldName, newName)) {
    case SectionRename::Unchanged: return false;
    case SectionRename::AlreadyExists: WarningBox(owner, SectionExistsMessage(newName)); return false;
    case SectionRename::ForbiddenCharacter: ErrorBox(owner, kSectionNameCharsMessage); return false;
    case SectionRename::Allowed: break;
  }
  app_.settings.SubEntryName = app_.Entries->CurrentSection();
  if (sectionsChanged_) sectionsChanged_();
  return true;
}

bool SectionsPage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!list_) return false;
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    switch (LOWORD(wp)) {
      case kIdCreate: CreateClick(); break;
      case kIdRename: RenameClick(); break;
      case kIdDelete: DeleteClick(); break;
      case kIdExportIcs: ExportNotesAsIcs(app_, GetAncestor(page_, GA_ROOT)); break;
      default: return false;
    }
    result = 0;
    return true;
  }
  if (msg != WM_NOTIFY) return false;
  auto* hdr = reinterpret_cast<NMHDR*>(lp);
  if (!hdr || hdr->hwndFrom != list_) return false;
  switch (hdr->code) {
    case LVN_ITEMCHANGED: {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(lp);
      if (!rebuilding_ && (nm->uChanged & LVIF_STATE) && (nm->uNewState & LVIS_SELECTED) &&
          !(nm->uOldState & LVIS_SELECTED))
        SelectionChanged(nm->iItem);
      result = 0;
      return true;
    }
    case LVN_BEGINLABELEDITW: {
      auto* nm = reinterpret_cast<NMLVDISPINFOW*>(lp);
      // The default section keeps its name: TRUE refuses the editing.
      result = CanModifySection(ItemText(nm->item.iItem)) ? FALSE : TRUE;
      return true;
    }
    case LVN_ENDLABELEDITW: {
      auto* nm = reinterpret_cast<NMLVDISPINFOW*>(lp);
      // FALSE keeps the old caption; an accepted rename rebuilds the list anyway.
      result = EndLabelEdit(nm->item.iItem, nm->item.pszText) ? TRUE : FALSE;
      return true;
    }
    default: return false;
  }
}

}  // namespace ov
