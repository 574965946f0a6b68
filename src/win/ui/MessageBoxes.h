#pragma once
// The program's message boxes: exact texts, one OK button (or the buttons named), the
// application title as caption.
#include <windows.h>

#include <string>

namespace ov {

void InfoBox(HWND owner, const std::string& text);
void ErrorBox(HWND owner, const std::string& text);
void WarningBox(HWND owner, const std::string& text);
// A warning with a single Abort button.
void AbortBox(HWND owner, const std::string& text);
// Yes / No confirmation; true for Yes.
bool ConfirmBox(HWND owner, const std::string& text);
// Yes / No / Cancel; IDYES, IDNO or IDCANCEL.
int ChoiceBox(HWND owner, const std::string& text);

// The system folder browser rooted at the desktop, file-system folders only, new style
// with status text; the thread's other windows are disabled while it is open. Returns the
// chosen folder, or an empty string when cancelled.
std::string BrowseForFolder(HWND owner, const std::string& title, const std::string& initialFolder);
// The browser's callback: selects the initial folder (`data`, a wide string) when the
// dialog opens and shows the path of each new selection (the item list in `lp`) as status.
int CALLBACK BrowseForFolderCallback(HWND hwnd, UINT msg, LPARAM lp, LPARAM data);

}  // namespace ov
