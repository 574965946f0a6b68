#include "win/app/ProgramBody.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/app/CommandLine.h"
#include "core/shell/Autostart.h"
#include "core/calendar/DisplayDate.h"
#include "core/ical/IcalSetup.h"
#include "win/app/App.h"
#include "win/app/ApplicationWindow.h"
#include "win/app/MainForm.h"
#include "win/app/MessageFilter.h"
#include "win/app/Reminders.h"
#include "win/app/StartTimes.h"
#include "win/app/TestClock.h"
#include "win/app/VersionInfo.h"
#include "win/config/FontDialog.h"
#include "win/desktop/Controller.h"
#include "win/desktop/DatePicker.h"
#include "win/desktop/EntryPopup.h"
#include "win/desktop/RepeatDialog.h"
#include "win/shell/Autostart.h"
#include "win/shell/TrayIcon.h"
#include "win/platform/ShellFolders.h"
#include "win/platform/WinShellFileOps.h"
#include "win/platform/Utf16.h"
#include "win/platform/WinSystemColors.h"
#include "win/ui/Dialog.h"

namespace ov {

namespace {

// Owns the single-instance mutex for the life of the process.
struct MutexHandle {
  HANDLE h = nullptr;
  ~MutexHandle() {
    if (h) CloseHandle(h);
  }
};

// Another instance runs: wake it (show its main window if hidden) and bring it forward.
void WakeFirstInstance() {
  HWND other = FindWindowW(kMainFormClass, nullptr);
  if (!other) return;
  if (!IsWindowVisible(other)) PostMessageW(other, kMsgShowMainForm, 0, 0);
  SetForegroundWindow(other);
}

// "/close": a running instance is asked to end the way Windows asks at log-off, so it
// saves its settings and writes its autostart shortcut; an installer removing or
// replacing the program's files runs this first. Waits a bounded time for that process.
void CloseRunningInstance() {
  HWND other = FindWindowW(kMainFormClass, nullptr);
  if (!other) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(other, &pid);
  HANDLE process = pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr;
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(other, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 15000, &answer);
  if (process) {
    WaitForSingleObject(process, 15000);
    CloseHandle(process);
  }
}

// "/uninstall": besides its data, the program leaves the autostart shortcut (when it
// starts this program file) and the visual-styles manifest beside the program file.
void RemoveProgramTraces() {
  wchar_t exe[MAX_PATH * 4] = L"";
  GetModuleFileNameW(nullptr, exe, MAX_PATH * 4);
  std::error_code ec;
  const std::filesystem::path link = StartupFolder() / kAutostartShortcutName;
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::optional<ShortcutInfo> shortcut = ReadShortcut(link);
  if (SUCCEEDED(com)) CoUninitialize();
  if (shortcut && std::filesystem::equivalent(shortcut->target, std::filesystem::path(exe), ec))
    std::filesystem::remove(link, ec);
  std::filesystem::remove(std::wstring(exe) + L".manifest", ec);
}

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return args;
  for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return args;
}

}  // namespace

int RunProgram() {
  MarkStartStep("entry");
  CommandLineOptions options = ParseCommandLine(Arguments());
  if (options.closeRunning) {
    CloseRunningInstance();
    if (options.uninstall) RemoveProgramTraces();
    return 0;
  }

  // 1. One instance per user session. An abandoned mutex counts as acquired.
  MutexHandle mutex;
  mutex.h = CreateMutexW(nullptr, FALSE, kMutexName);
  if (mutex.h && WaitForSingleObject(mutex.h, 0) == WAIT_TIMEOUT) {
    WakeFirstInstance();
    return 0;
  }

  // 2. The application object.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  InstallWinSystemColors();
  auto app = std::make_unique<App>();
  app->Version = ReadFileVersion();
  ApplyTestClockStart(app->Clock);

  // 3. Command line; the delay comes before any window exists.
  app->QuitAfterUpdate = options.quitAfterUpdate;
  app->StartupDelaySeconds = options.startupDelaySeconds;
  if (app->StartupDelaySeconds > 0) Sleep(static_cast<DWORD>(app->StartupDelaySeconds) * 1000);

  // The iCalendar library reads time zones from the zone folder beside the program. Set
  // once, here, before any calendar is read on a worker thread.
  UseZoneFolder(AnsiPathForCLibrary(GetProgramFolder() / "zoneinfo"));

  app->Hook = std::make_unique<HookLibrary>(GetProgramFolder() / "MHookOV.dll");
  app->Shell = std::make_unique<WinShellFileOps>();
  app->AppWindow = std::make_unique<ApplicationWindow>();
  app->AppWindow->Create();

  // 4. The windows, main window first (its creation loads folders and settings), then
  // the font dialog, the mini controller, the repeat dialog and the date picker.
  app->MainWindow = std::make_unique<MainForm>(*app);
  if (!app->MainWindow->Create()) return 1;
  MarkStartStep("main window");
  app->FontChooser();
  app->Controller = std::make_unique<TFController>(*app);
  app->Controller->Create(app->AppWindow->Handle());
  app->RepeatDialog();
  App* appPtr = app.get();
  app->DatePicker = std::make_unique<TFormPickDate>([appPtr](double picked) {
    appPtr->DisplayDate = DisplayDatePicked(picked);
    appPtr->MainWindow->UpdateWallpaper();
    appPtr->OpenEntryForDate(appPtr->DisplayDate);
  });
  app->DatePicker->Create(app->AppWindow->Handle());
  // The tray icon is there from start-up.
  app->Tray = std::make_unique<TrayIcon>(*app);
  app->Tray->Create();
  MarkStartStep("other windows");

  // The filter sees every message from here on, in modal loops too.
  MessageFilter filter(*app);

  // 5.
  app->MainWindow->DeferredStart();
  // Reminders: what came due while the program was not running, then the next one.
  app->Reminders = std::make_unique<ReminderNotifier>(*app, app->MainWindow->Handle());
  app->Reminders->Start();

  // 6. The message loop; the filter sees every message before it is dispatched.
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (filter.Handle(msg)) continue;
    if (Dialog::HandleDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }

  // Main window destroyed: its surfaces, fonts and lists go with it.
  if (app->EntryPopup) DestroyWindow(app->EntryPopup->Handle());
  app->Reminders.reset();
  app->Tray.reset();
  app->DatePicker.reset();
  app->Repeat.reset();
  app->Controller.reset();
  app->FontDialog.reset();
  app->MainWindow.reset();
  app->AppWindow.reset();
  // 7. Process end: the hook goes last, after the windows.
  app->Hook->DeInitialize();
  app.reset();
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

}  // namespace ov
