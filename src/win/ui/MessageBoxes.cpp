#include "win/ui/MessageBoxes.h"

#include <shlobj.h>
#include <commctrl.h>

#include "win/platform/Utf16.h"
#include "win/ui/ModalScope.h"

namespace ov {

namespace {

const wchar_t kTitle[] = L"Orvinta 3";

int Show(HWND owner, const std::string& text, UINT flags) {
  return MessageBoxW(owner, Widen(text).c_str(), kTitle, flags | MB_SETFOREGROUND | (owner ? 0u : MB_TASKMODAL));
}

BOOL CALLBACK FindTree(HWND child, LPARAM out) {
  wchar_t cls[32] = L"";
  GetClassNameW(child, cls, 32);
  if (lstrcmpW(cls, WC_TREEVIEWW) != 0) return TRUE;
  *reinterpret_cast<HWND*>(out) = child;
  return FALSE;
}

// The new-style folder browser selects the folder but may leave it below the visible part
// of its tree: it is scrolled into view.
void ShowSelectedFolder(HWND dialog) {
  HWND tree = nullptr;
  EnumChildWindows(dialog, &FindTree, reinterpret_cast<LPARAM>(&tree));
  if (!tree) return;
  if (HTREEITEM selected = TreeView_GetSelection(tree)) TreeView_EnsureVisible(tree, selected);
}

// Once the dialog has laid itself out (its tree takes its final size after the first
// notification), the selection is brought into view again.
constexpr UINT_PTR kTimerShowSelection = 0x4F56;
void CALLBACK ShowSelectionLater(HWND dialog, UINT, UINT_PTR id, DWORD) {
  KillTimer(dialog, id);
  ShowSelectedFolder(dialog);
}

}  // namespace

int CALLBACK BrowseForFolderCallback(HWND hwnd, UINT msg, LPARAM lp, LPARAM data) {
  // `data` is the folder to start in (a string of ours); `lp` depends on the message.
  if (msg == BFFM_INITIALIZED && data) {
    SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
    ShowSelectedFolder(hwnd);
    SetTimer(hwnd, kTimerShowSelection, 100, &ShowSelectionLater);
  }
  if (msg == BFFM_SELCHANGED) ShowSelectedFolder(hwnd);
  if (msg == BFFM_SELCHANGED && lp) {
    // The status line shows the folder of the newly selected item list.
    wchar_t path[MAX_PATH] = L"";
    if (SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lp), path))
      SendMessageW(hwnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}

void InfoBox(HWND owner, const std::string& text) { Show(owner, text, MB_OK | MB_ICONINFORMATION); }
void ErrorBox(HWND owner, const std::string& text) { Show(owner, text, MB_OK | MB_ICONERROR); }
void WarningBox(HWND owner, const std::string& text) { Show(owner, text, MB_OK | MB_ICONWARNING); }
void AbortBox(HWND owner, const std::string& text) {
  // MessageBox has no Abort-only set; Abort/Retry/Ignore would offer choices that do
  // nothing, so the single button says what it does through the standard OK slot.
  Show(owner, text, MB_OK | MB_ICONWARNING);
}
bool ConfirmBox(HWND owner, const std::string& text) { return Show(owner, text, MB_YESNO | MB_ICONQUESTION) == IDYES; }
int ChoiceBox(HWND owner, const std::string& text) { return Show(owner, text, MB_YESNOCANCEL | MB_ICONQUESTION); }

std::string BrowseForFolder(HWND owner, const std::string& title, const std::string& initialFolder) {
  std::wstring wtitle = Widen(title);
  std::wstring initial = Widen(initialFolder);
  // Pre-select without the trailing backslash, except for a bare drive root.
  if (initial.size() > 3 && (initial.back() == L'\\' || initial.back() == L'/')) initial.pop_back();
  BROWSEINFOW bi{};
  bi.hwndOwner = owner;
  bi.lpszTitle = wtitle.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_STATUSTEXT;
  bi.lpfn = BrowseForFolderCallback;
  bi.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  HRESULT co = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  PIDLIST_ABSOLUTE pidl = nullptr;
  {
    // The program's other windows wait while the browser is open.
    ThreadWindowsDisabled others(owner);
    pidl = SHBrowseForFolderW(&bi);
  }
  std::string result;
  if (pidl) {
    wchar_t path[MAX_PATH] = L"";
    if (SHGetPathFromIDListW(pidl, path)) result = Narrow(path);
    CoTaskMemFree(pidl);
  }
  if (SUCCEEDED(co)) CoUninitialize();
  return result;
}

}  // namespace ov
