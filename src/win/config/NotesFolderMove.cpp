#include "win/config/NotesFolderMove.h"

#include <atomic>
#include <thread>

#include "core/app/DataFolders.h"
#include "core/sync/NotesMove.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/desktop/EntryPopup.h"
#include "win/platform/ComputerName.h"
#include "win/platform/Utf16.h"
#include "win/ui/MessageBoxes.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

const char kChooseTitle[] = "选择保存项目的文件夹 (例如同步服务共享的文件夹)。";
const char kTargetHoldsNotes[] =
    "所选文件夹中已有项目 (可能来自另一台电脑)。\r\n\r\n"
    "是: 使用该文件夹中的项目\r\n否: 合并 (两边的项目都保留)\r\n取消: 不更改";
const char kMoveFailed[] = "无法移动项目到 %s。\r\n所有项目仍保留在原来的文件夹中。";
const char kMoveLeftBehind[] = "项目已移动到 %s。\r\n有 %u 个旧文件无法删除，它们仍在 %s。";

// What the worker reports to the window that waits for it.
struct MoveShared {
  std::atomic<size_t> done{0}, total{0};
  std::atomic<bool> cancel{false}, finished{false};
};

// A small window with a line of progress and a cancel button; the calling thread pumps
// messages until the worker has finished (the loop is bounded by the worker's end).
void WaitWithProgress(HWND owner, MoveShared& shared) {
  RECT r{};
  GetWindowRect(owner, &r);
  // The dialog class: a plain frame with the dialog background that, unlike a static
  // control, does not paint its caption's text into its client area.
  HWND box = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, L"#32770", L"正在移动项目...",
                             WS_POPUP | WS_CAPTION | WS_VISIBLE, r.left + 60, r.top + 120, 360, 120, owner, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  HWND line = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 12, 12, 330, 20, box, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  HWND cancel = CreateWindowExW(0, L"BUTTON", L"取消", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 250, 44, 90, 26, box,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  const WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(line, WM_SETFONT, font, FALSE);
  SendMessageW(cancel, WM_SETFONT, font, FALSE);
  EnableWindow(owner, FALSE);
  size_t shown = size_t(-1);
  while (!shared.finished) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if ((msg.message == WM_LBUTTONUP && msg.hwnd == cancel) ||
          (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
        shared.cancel = true;
      if (msg.message == WM_QUIT) {
        // Handed on after the worker ends, so the program still quits.
        PostQuitMessage(static_cast<int>(msg.wParam));
        shared.cancel = true;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (shared.done != shown) {
      shown = shared.done;
      SetWindowTextW(line, Widen(Format("%u / %u", static_cast<unsigned>(shown),
                                        static_cast<unsigned>(shared.total.load()))).c_str());
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
  }
  EnableWindow(owner, TRUE);
  DestroyWindow(box);
}

std::string Stamp() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return Format("%.4d-%.2d-%.2d %.2d%.2d%.2d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

}  // namespace

bool ChangeNotesFolder(App& app, HWND owner) {
  const fs::path current = app.Folders.SharedFolder();
  std::string chosen = BrowseForFolder(owner, kChooseTitle, FolderText(current));
  if (chosen.empty()) return false;
  fs::path target = PathFromUtf8(chosen).lexically_normal();
  if (FolderText(target) == FolderText(current)) return false;

  MoveChoice choice = MoveChoice::Move;
  if (HoldsUnfinishedMove(target)) {
    // A move into this folder was cut short: what it holds are copies that move made,
    // which a merge completes (a day that differs keeps both versions).
    choice = MoveChoice::Merge;
  } else if (HoldsNotes(target)) {
    const int answer = ChoiceBox(owner, kTargetHoldsNotes);
    if (answer == IDCANCEL) return false;
    choice = answer == IDYES ? MoveChoice::UseTarget : MoveChoice::Merge;
  }

  // An open note is saved first, and nothing watches or writes the notes while they move.
  if (app.EntryPopup && !app.EntryPopup->Saved()) app.EntryPopup->CloseEntry();
  if (app.Props) app.Props->WriteImageProps(app.Props->ShownPicture());
  app.MainWindow->StopWatchingNotes();

  // The new folder is stored as the moment of switching over: a move killed before it
  // leaves the old folder in use, whole.
  const std::string setting = FolderText(target);
  MoveShared shared;
  MoveHooks hooks;
  hooks.computer = ComputerName();
  hooks.stamp = Stamp();
  hooks.progress = [&shared](size_t done, size_t total) {
    shared.done = done;
    shared.total = total;
    return !shared.cancel;
  };
  hooks.switchOver = [&setting] {
    RegistrySettingsStore store{kSettingsKey};
    if (!store.Open()) return false;
    const bool ok = store.Write("App", "NotesFolder", StoredValue::String(setting)) && store.Flush();
    store.Close();
    return ok;
  };
  MoveResult result;
  result.outcome = MoveResult::Failed;
  std::thread worker([&] {
    try {
      result = MoveSharedData(current, target, choice, hooks);
    } catch (...) {
      // Out of memory, say: reported as a failed move; the old folder is still in use.
      result = MoveResult();
      result.outcome = MoveResult::Failed;
    }
    shared.finished = true;
  });
  WaitWithProgress(owner, shared);
  worker.join();

  if (result.outcome != MoveResult::Done) {
    if (result.outcome == MoveResult::Failed) ErrorBox(owner, Format(kMoveFailed, setting.c_str()));
    app.MainWindow->StartWatchingNotes();
    return false;
  }
  app.settings.NotesFolder = setting;
  app.Folders.notesFolder = NotesFolderFromSetting(setting, app.Folders.dataFolder);
  app.Entries->SetEntriesFolder(app.Folders.EntriesFolder());
  if (app.Props) app.Props->SetFolder(app.Folders.ImageCrcFolder());
  if (result.leftBehind > 0)
    WarningBox(owner, Format(kMoveLeftBehind, setting.c_str(), static_cast<unsigned>(result.leftBehind),
                             FolderText(current).c_str()));
  app.MainWindow->StartWatchingNotes();
  return true;
}

}  // namespace ov
