#pragma once
// "更改..." beside "数据文件夹": moves the shared notes to a folder the user picks, with a
// progress window that can cancel, and switches the program over to it.
#include <windows.h>

namespace ov {

struct App;

// Returns true when the notes folder changed.
bool ChangeNotesFolder(App& app, HWND owner);

}  // namespace ov
