// The main window's creation steps and the deferred start, in the order the program
// depends on. Steps whose capability arrives with a later part of the program are
// present as named operations that say what attaches there.
#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app/Migration.h"
#include "core/backup/Backup.h"
#include "core/calendar/FirstRun.h"
#include "core/sync/ConflictNames.h"
#include "core/sync/SharedConflicts.h"
#include "core/library/RotationQueue.h"
#include "core/wallpaper/WallpaperSize.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"
#include "win/app/App.h"
#include "win/app/ApplicationWindow.h"
#include "win/app/MainForm.h"
#include "win/app/NotesWatcher.h"
#include "win/app/StartTimes.h"
#include "win/app/Timers.h"
#include "win/config/MainWindow.h"
#include "win/desktop/DesktopIcons.h"
#include "win/desktop/EntryPopup.h"
#include "win/platform/ShellFolders.h"
#include "win/platform/Utf16.h"
#include "win/ui/MessageBoxes.h"
#include "win/wallpaper/Monitors.h"
#include "win/ui/Dpi.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

const char kFirstRunFolderInfo[] =
    "您需要为背景图像选择一个根文件夹。\r\n如果您有自己的背景图像集，\r\n在下面的对话框中设置或保留它的默认值。\r\n"
    "您也可以在以后更改它的位置。";
const char kSelectFolderTitle[] = "在所选文件夹和它的子文件夹中的所有图像都将被使用。(包括隐藏文件夹)";
const char kHookInitFailedAtStart[] =
    "Orvinta 桌面鼠标挂钓无法初始化。在桌面上三击鼠标也许无法工作。请尝试重启本程序。如果不起作用 - 重启您的系统。";

// The primary monitor's work area, for the default panel rectangle.
Rect PrimaryWorkArea() {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

bool MainForm::Create() {
  // 1. Random numbers for the rotation's shuffle; controls are not ready yet.
  std::srand(static_cast<unsigned>(std::time(nullptr)) ^ GetCurrentProcessId());
  app_.ControlsReady = false;
  // 2.-3. The calendar fonts start as Tahoma bold 10 pt and 8 pt (the settings' defaults)
  // and are replaced from the stored settings below.
  // Centred on the primary work area until a stored placement says otherwise.
  Rect work = PrimaryWorkArea();
  // The design size is in 96-dpi units, like every layout number; it is also the
  // placement of settings that never stored one.
  const int w = ScaleForWindow(nullptr, 600), h = ScaleForWindow(nullptr, 569);
  if (!CreateWindowOfClass(kMainFormClass, Widen(MainWindowCaption(app_.Version)), WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW,
                           work.left + static_cast<int>(work.Width() - w) / 2,
                           work.top + static_cast<int>(work.Height() - h) / 2, w, h, nullptr, nullptr, CS_DBLCLKS,
                           LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))))
    return false;
  // 3. The menu, preview and tabs (the page control double-buffered).
  ui_ = std::make_unique<MainWindow>(app_, *this);
  ui_->Create();
  // 4.-5.
  ResolveFolders();
  MigrateOldLayouts();
  // 6. The wallpaper covers the virtual screen, scaled down only beyond the largest wallpaper.
  app_.Monitors = QueryMonitorLayout();
  app_.WallpaperSize = app_.Monitors.WallpaperSize();
  // 7.-8.
  LoadRotationQueue();
  FillWeekdayControls();
  // 9.
  LoadSettings();
  // The background picture decodes on a thread of its own while the rest of the windows
  // are made; the first wallpaper build takes it from there.
  if (!app_.settings.WallpaperBackground.empty())
    app_.Decoder.Prefetch(PathFromUtf8(app_.settings.WallpaperBackground));
  // 10.
  app_.ImageExtensions = {".bmp", ".jpg", ".jpeg", ".png", ".gif", ".tif", ".tiff", ".emf", ".wmf"};
  // 11.-12.
  EnsureImagesPath();
  CreateSurfaces();
  // The settings go into the controls once the surfaces they describe exist.
  ui_->LoadControls();
  // 13.
  ui_->SetChooserFolders();
  // 14.
  app_.DisplayDate = app_.Clock.Now();
  app_.LastTick = app_.DisplayDate;
  // 15.
  ui_->ShowFirstPage();
  return true;
}

void MainForm::ResolveFolders() {
  fs::path program = GetProgramFolder();
  app_.Folders = ResolveDataFolders(program, GetTempFolder(), GetSpecialFolder(SpecialFolder::AppData));
  std::error_code ec;
  fs::create_directories(app_.Folders.dataFolder, ec);
  // The notes may live in a folder of their own (one a sync service shares). It is read
  // before the other settings because the entry store is made from it next.
  if (app_.SettingsStore.Open()) {
    std::optional<StoredValue> v = app_.SettingsStore.Read("App", "NotesFolder");
    if (v && v->kind == StoredValue::Kind::String)
      app_.Folders.notesFolder = NotesFolderFromSetting(v->text, app_.Folders.dataFolder);
    app_.SettingsStore.Close();
  }
  if (!app_.Folders.notesFolder.empty()) {
    fs::create_directories(app_.Folders.notesFolder, ec);
    // Out of reach (a drive not attached): the notes are not shown from anywhere else,
    // but nothing is written into the wrong folder either; a message says why.
    if (!fs::is_directory(app_.Folders.notesFolder, ec)) notesFolderMissing_ = true;
  }
  ui_->ShowNotesFolder();
  // A save cut short by a crash or a kill leaves its temporary file beside the target,
  // and a killed program its parked picture layer.
  RemoveStaleDataTemps(app_.Folders);
  if (const fs::path cache = app_.Folders.LayerCacheFile(); !cache.empty()) fs::remove(cache, ec);
}

void MainForm::MigrateOldLayouts() {
  // The entry store starts in the default section; the stored one is set after loading.
  app_.Entries = std::make_unique<EntryStore>(app_.Folders.EntriesFolder(), kDefaultSectionName, app_.CodePage);
  // A note a sync service keeps only in the cloud is read once it is downloaded.
  app_.Entries->SetNotYetAvailableCheck([](const fs::path& file) {
    const DWORD a = GetFileAttributesW(file.c_str());
    return a != INVALID_FILE_ATTRIBUTES && IsOnlinePlaceholder(a);
  });
  if (notesFolderMissing_)
    ErrorBox(Handle(), "无法访问数据文件夹 " + FolderText(app_.Folders.notesFolder) +
                           "。\r\n在它可以访问之前，项目不会被显示或保存。");
  MigrationResult r = ov::MigrateOldLayouts(*app_.Shell, *app_.Entries, app_.Folders);
  if (r.movedEntries) InfoBox(Handle(), MovedEntriesMessage(app_.Folders));
}

void MainForm::LoadRotationQueue() {
  app_.RotationQueue = ReadRotationFile(app_.Folders.RotationFile(), app_.CodePage);
}

void MainForm::FillWeekdayControls() { ui_->FillWeekdayControls(); }

void MainForm::LoadSettings() {
  SettingsContext ctx;
  ctx.programFolder = FolderText(app_.Folders.programFolder);
  ctx.workArea = PrimaryWorkAreaInWallpaper(app_.Monitors);
  ctx.now = app_.Clock.Now();
  RECT r{};
  GetWindowRect(Handle(), &r);
  ctx.mainFormBounds = {r.left, r.top, r.right - r.left, r.bottom - r.top, "wsNormal"};
  ctx.chineseUi = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
  app_.LoadSettings(ctx);
  // The monitors may have changed since the panel was placed: it stays where it was on
  // the screen while a monitor shows its centre, held inside that monitor; otherwise it
  // comes back to its default place on the primary monitor.
  app_.settings.CalendarRect =
      CalendarRectAtStart(app_.settings.CalendarRect, app_.settings.CalendarOrigin(), app_.Monitors);
  app_.Entries->SetCurrentSection(app_.settings.SubEntryName);
  // A stored name that cannot be a folder under Entries becomes the default section now,
  // so the title and every later save agree with the folder the notes come from.
  app_.Entries->CurrentSectionFolder();
  app_.settings.SubEntryName = app_.Entries->CurrentSection();
  // An open pop-up belongs to the section it was opened in: before any other section
  // becomes active (menus, the list on "项目", creating, deleting) it closes and saves
  // its text there.
  app_.Entries->SetSectionChangingHandler([this] {
    if (app_.EntryPopup && !app_.EntryPopup->Saved()) app_.EntryPopup->CloseEntry();
  });
  // The icon caption colour starts as the desktop's own when none was chosen.
  if (!IsWindowsXP() && app_.settings.DesktopIconTextColor == -1) {
    if (auto color = DesktopIconTextColor()) app_.settings.DesktopIconTextColor = static_cast<int32_t>(*color);
  }
  LoadWindowPlacement();
  // A backup cut short leaves its partial cabinet in the folder backups go to.
  RemoveStaleBackupParts(PathFromUtf8(app_.settings.BackupPath));
}

void MainForm::EnsureImagesPath() {
  if (!app_.settings.ImagesPath.empty()) return;
  app_.settings.ImagesPath = DefaultImagesPath(PathToUtf8(GetSpecialFolder(SpecialFolder::MyPictures)),
                                               PathToUtf8(GetSpecialFolder(SpecialFolder::MyDocuments)));
  // Seed the new library with the sample pictures shipped beside the program.
  fs::path target = PathFromUtf8(app_.settings.ImagesPath);
  if (!target.has_filename()) target = target.parent_path();
  std::error_code ec;
  if (fs::is_directory(app_.Folders.SampleImagesFolder(), ec))
    app_.Shell->CopyFolder(app_.Folders.SampleImagesFolder(), target);
}

void MainForm::CreateSurfaces() {
  Settings& s = app_.settings;
  app_.Props = std::make_unique<ImagePropsStore>(app_.Folders.ImageCrcFolder(), app_.Decoder);
  wchar_t sep[4] = L".";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, 4);
  app_.Props->SetDecimalSeparator(sep[0] > 0 && sep[0] < 128 ? static_cast<char>(sep[0]) : '.');
  app_.Props->SetCodePage(&app_.CodePage);
  // The cell skin and the bottom image with its own properties; failures leave them empty.
  app_.Decoder.Decode(app_.Skin, PathFromUtf8(s.CalendarSkinFilename));
  if (!s.BottomImageFilename.empty()) app_.Props->SetBottomImage(s.BottomImageFilename);
  app_.Overlay.Load(app_.Decoder, PathFromUtf8(s.OverlayFilename), s.Overlay, s.OverlayAlpha);
  app_.DayData = std::make_unique<EntryStoreDays>(*app_.Entries);
  app_.Renderer = std::make_unique<CalendarRenderer>(s, app_.Text, app_.Locale);
  app_.Renderer->SetSkin(&app_.Skin);
  app_.Events = std::make_unique<SubscribedEvents>(app_.LocalZone);
  app_.DayEvents = std::make_unique<EventDays>(*app_.DayData, *app_.Events, s.ShowEventLines);
  app_.Renderer->SetDayData(app_.DayEvents.get());
  // The subscribed calendars are read on a worker thread, which posts
  // kMsgCalendarsChanged when the cells have new lines.
  app_.Calendars = std::make_unique<CalendarSubscriptions>(*app_.Events, app_.Folders.dataFolder / kCalendarsFolderName,
                                                          Handle());
  RegistrySettingsStore subscriptions{kSettingsKey};
  if (subscriptions.Open()) app_.Calendars->Start(ReadSubscriptions(subscriptions));
  // The official days off of later years come from an optional file; its faults are told
  // once, here, and the lines that could be read are used.
  HolidayLoad holidays = LoadHolidays(app_.Folders.dataFolder / kHolidayFileName);
  app_.Holidays = std::move(holidays.calendar);
  if (!holidays.message.empty()) ErrorBox(Handle(), holidays.message);
  app_.Renderer->SetHolidays(&app_.Holidays);
  app_.Renderer->SetTargetSize(app_.WallpaperSize);
}

void MainForm::DeferredStart() {
  try {
    // 1.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // 2.
    app_.StartCount = ++app_.settings.Ec;
    // 3.
    UpdateCaption();
    // 4. Hints go off on the twentieth start.
    if (app_.StartCount == 20) ui_->SetDisableHintsCheck(true, true);
    // 5.-7.
    RebuildLibrary(false);
    PickFirstBackground();
    ResetImageProperties();
    MarkStartStep("library");
    // 8.
    app_.ControlsReady = true;
    // 9. Hidden, the program runs below normal priority.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    // 10. The request takes effect when the message loop starts; the steps below run once.
    if (app_.QuitAfterUpdate) PostQuitMessage(0);
    // 11.
    if (app_.settings.FirstRun) RunFirstRun();
    // 12.
    UpdateWallpaper();
    // 13.-16.
    RebuildSectionLists();
    StartWatchingNotes();
    RebuildControllerMonthMenu();
    ShowHolidayChecks();
  } catch (const std::exception& e) {
    ErrorBox(Handle(), e.what());
  } catch (...) {
    ErrorBox(Handle(), "Unexpected error during start-up");
  }
  // 17. Always, also after a failure above.
  AttachHook();
  // A picture decoded ahead that the start did not use (another one was shown) goes.
  app_.Decoder.Forget();
  app_.ImagePropsModified = false;
  app_.StartingUp = false;
  StartHousekeepingTimer();
  MarkStartStep("ready");
  WriteStartTimes();
}

void MainForm::UpdateCaption() { ui_->UpdateCaption(FormatVersionText(app_.Version)); }

void MainForm::PickFirstBackground() {
  if (app_.settings.WallpaperBackground.empty() && !app_.ImageLibrary.empty())
    app_.settings.WallpaperBackground = app_.ImageLibrary.front().FileName;
}

void MainForm::ResetImageProperties() { ui_->ResetImageProperties(false); }

void MainForm::RunFirstRun() {
  RunFirstRunSetup(*app_.Entries, app_.Clock.Now());
  InfoBox(Handle(), kFirstRunFolderInfo);
  SelectWallpaperFolder();
}

void MainForm::SelectWallpaperFolder() {
  std::string chosen = BrowseForFolder(Handle(), kSelectFolderTitle, app_.settings.ImagesPath);
  if (chosen.empty()) return;
  if (chosen.back() != '\\') chosen += '\\';
  app_.settings.ImagesPath = chosen;
  // Choosing a folder also clears the rotation queue and rescans the library (with them).
  app_.RotationQueue.clear();
  if (app_.settings.NoBackground) ui_->UntickNoBackground();
  RebuildLibrary(false);
}

void MainForm::RebuildSectionLists() {
  // The tray and controller menus list the sections from the folders when they open.
  ui_->RebuildSections();
}

void MainForm::RebuildControllerMonthMenu() {
  // Nothing to build: the mini controller names its months from the locale each time its
  // menu opens.
}

void MainForm::ShowHolidayChecks() {
  ui_->ShowHolidayChecks();
  ui_->SetDisableHintsCheck(app_.settings.DisableHints, true);
}

void MainForm::AttachHook() {
  HWND appWindow = app_.AppWindow ? app_.AppWindow->Handle() : nullptr;
  app_.HookWindow = appWindow;
  if (app_.Hook->Initialize(appWindow) != 0) ErrorBox(Handle(), kHookInitFailedAtStart);
}

void MainForm::StartHousekeepingTimer() { SetTimer(Handle(), kTimerSec, kTimerSecInterval, nullptr); }

void MainForm::StartWatchingNotes() {
  MergeSyncedCodes();
  if (!notesWatcher_) notesWatcher_ = std::make_unique<NotesWatcher>();
  notesWatcher_->Watch(app_.Folders.EntriesFolder(), Handle(), kMsgNotesChanged);
}

void MainForm::StopWatchingNotes() {
  if (notesWatcher_) notesWatcher_->Stop();
}

void MainForm::OnNotesChanged() {
  if (app_.Quitting || !app_.Entries) return;
  // A rebuild closes an open pop-up: the user finishes first (closing it rebuilds, and
  // it checks the note for changes made meanwhile).
  if (app_.EntryPopup) {
    SetTimer(Handle(), kTimerNotesChanged, kNotesChangedRetryInterval, nullptr);
    return;
  }
  MergeSyncedCodes();
  const int year = app_.Entries->Codes().year;
  if (year != 0) app_.Entries->ReloadCodes(year);
  RebuildSectionLists();
  UpdateWallpaper();
}

void MainForm::MergeSyncedCodes() {
  std::vector<std::string> lines;
  for (const CodesMerge& merge : MergeCodesConflicts(app_.Folders.EntriesFolder()))
    lines.push_back(DescribeCodesMerge(merge));
  // Copies of picture properties are not merged; the log says they are there.
  for (const fs::path& copy : ConflictCopiesIn(app_.Folders.ImageCrcFolder(), IsImagePropsFileName))
    lines.push_back(DescribeImagePropsCopy(copy));
  for (const std::string& line : lines) {
    if (line.empty() || !loggedMerges_.insert(line).second) continue;
    SYSTEMTIME t{};
    GetLocalTime(&t);
    AppendLogLine(app_.Folders.dataFolder / kSyncLogName,
                  Format("%.4d-%.2d-%.2d %.2d:%.2d:%.2d ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                         t.wSecond) +
                      line);
  }
}

}  // namespace ov
