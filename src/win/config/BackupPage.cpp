#include "win/config/BackupPage.h"

#include <commdlg.h>
#include <shlobj.h>

#include "core/settings/Settings.h"
#include "win/app/App.h"
#include "win/platform/Utf16.h"
#include "win/platform/WinFileAttributes.h"
#include "win/ui/MessageBoxes.h"

namespace ov {

namespace {

enum : int { kIdAll = 3201, kIdOnlyNew, kIdImageProps, kIdBackup, kIdForce, kIdRestore };

const char kRestoreNote[] = "恢复不会将新数据替换为旧数据，\r\n除非您选择“强制替换”选项。\r\n通常您不必使用“强制替换”";

bool IsChecked(HWND h) { return SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Check(HWND h, bool on) { SendMessageW(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

}  // namespace

void BackupPage::Create(HWND page, const std::function<int(int)>& scale, HFONT font,
                        const std::function<void(HWND, const std::string&)>& hint) {
  page_ = page;
  auto add = [&](const wchar_t* cls, const std::string& text, DWORD style, int x, int y, int w, int h, int id) {
    HWND c = CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, scale(x), scale(y), scale(w),
                             scale(h), page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (c && font) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  add(L"BUTTON", "备份项目和图像属性", BS_GROUPBOX, 8, 4, 300, 150, -1);
  all_ = add(L"BUTTON", "备份所有", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 18, 22, 280, 18, kIdAll);
  onlyNew_ = add(L"BUTTON", "仅备份上次备份以来修改的数据", BS_AUTORADIOBUTTON, 18, 42, 280, 18, kIdOnlyNew);
  imageProps_ = add(L"BUTTON", "包括背景图像属性", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 18, 66, 280, 18,
                    kIdImageProps);
  backup_ = add(L"BUTTON", kBackupCaption, BS_PUSHBUTTON | WS_TABSTOP, 18, 92, 140, 25, kIdBackup);
  add(L"STATIC", "上次备份:", SS_LEFT, 18, 126, 70, 16, -1);
  lastBackup_ = add(L"STATIC", "", SS_LEFT | SS_NOPREFIX, 90, 126, 210, 16, -1);
  add(L"BUTTON", "从备份文件恢复", BS_GROUPBOX, 316, 4, 250, 150, -1);
  add(L"STATIC", kRestoreNote, SS_LEFT, 326, 22, 232, 50, -1);
  force_ = add(L"BUTTON", "强制替换", BS_AUTOCHECKBOX | WS_TABSTOP, 326, 78, 200, 18, kIdForce);
  restore_ = add(L"BUTTON", "选择要恢复的备份文件", BS_PUSHBUTTON | WS_TABSTOP, 326, 104, 180, 25, kIdRestore);
  if (hint) {
    hint(all_, "备份所有存在的项目。");
    hint(onlyNew_, "仅备份更改的数据");
    hint(imageProps_, "所有您在“图像”标签内所做的修改也会被备份");
  }
}

void BackupPage::Load() {
  Check(all_, !app_.settings.BackupOnlyNew);
  Check(onlyNew_, app_.settings.BackupOnlyNew);
  Check(imageProps_, app_.settings.BackupImageProps);
  ShowBackupAge();
}

void BackupPage::ShowBackupAge() {
  if (lastBackup_) SetLastBackupLabel(LastBackupText(app_.settings.LastBackupTime, app_.Clock.Now(), app_.Locale));
}

void BackupPage::Run(bool backup) {
  WinFileAttributes attributes;
  BackupContext ctx{app_.settings, app_.Folders.dataFolder, *this, app_.Locale, app_.Clock.Now(), &app_.CodePage,
                    &attributes};
  ctx.notesFolder = app_.Folders.notesFolder;
  if (backup) ButtonBackupClick(ctx);
  else ButtonRestoreBackupClick(ctx);
}

bool BackupPage::HandleMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED || !page_) return false;
  switch (LOWORD(wp)) {
    case kIdAll: app_.settings.BackupOnlyNew = false; break;
    case kIdOnlyNew: app_.settings.BackupOnlyNew = true; break;
    case kIdImageProps: app_.settings.BackupImageProps = IsChecked(imageProps_); break;
    case kIdBackup: Run(true); break;
    case kIdRestore: Run(false); break;
    case kIdForce: break;
    default: return false;
  }
  result = 0;
  return true;
}

std::optional<std::string> BackupPage::BrowseForFolder(const std::string& title, const std::string& initial) {
  std::string chosen = ov::BrowseForFolder(Owner(), title, initial);
  if (chosen.empty()) return std::nullopt;
  return chosen;
}

void BackupPage::WriteImageProps() {
  if (app_.Props) app_.Props->WriteImageProps(app_.Props->ShownPicture());
}

void BackupPage::SetBackupButton(bool enabled, const std::string& caption) {
  EnableWindow(backup_, enabled);
  SetWindowTextW(backup_, Widen(caption).c_str());
  UpdateWindow(backup_);
}

void BackupPage::SetLastBackupLabel(const std::string& text) { SetWindowTextW(lastBackup_, Widen(text).c_str()); }
bool BackupPage::IsForceChecked() { return IsChecked(force_); }
void BackupPage::SetForceChecked(bool checked) { Check(force_, checked); }
void BackupPage::SetRestoreButtonEnabled(bool enabled) { EnableWindow(restore_, enabled); }

bool BackupPage::ConfirmWarning(const std::string& text) {
  return MessageBoxW(Owner(), Widen(text).c_str(), L"Orvinta 3", MB_YESNO | MB_ICONWARNING) == IDYES;
}

std::optional<std::string> BackupPage::OpenBackupFile(const std::string& folder, const std::string& filter) {
  // The filter's "|" separators become the dialog's NUL separators.
  std::wstring f = Widen(filter);
  for (wchar_t& c : f)
    if (c == L'|') c = L'\0';
  f.push_back(L'\0');
  std::wstring initial = Widen(folder);
  wchar_t file[MAX_PATH * 4] = L"";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = Owner();
  ofn.lpstrFilter = f.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH * 4;
  ofn.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return Narrow(file);
}

std::string BackupPage::DesktopFolder() {
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path))) return {};
  return Narrow(path);
}

void BackupPage::RefreshAfterRestore() {
  if (refreshAfterRestore_) refreshAfterRestore_();
}

void BackupPage::ShowInformation(const std::string& text) { InfoBox(Owner(), text); }
void BackupPage::ShowError(const std::string& text) { AbortBox(Owner(), text); }

}  // namespace ov
