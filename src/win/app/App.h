#pragma once
// The process-wide state of the program and the services every window uses. One App
// lives for the whole run, created by the program body; windows hold a reference to it.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app/DataFolders.h"
#include "core/desktop/ClickSeries.h"
#include "core/images/ImagePropsStore.h"
#include "core/images/Overlay.h"
#include "core/wallpaper/KeptPictureLayer.h"
#include "core/library/ImageLibrary.h"
#include "core/render/CalendarRenderer.h"
#include "core/render/EntryStoreDays.h"
#include "core/platform/ShellFileOps.h"
#include "core/calendar/DayCellTable.h"
#include "core/calendar/EntryStore.h"
#include "core/app/VersionText.h"
#include "core/settings/Settings.h"
#include "core/wallpaper/MonitorLayout.h"
#include "win/app/HookLibrary.h"
#include "win/platform/GdiTextRenderer.h"
#include "core/images/PrefetchingDecoder.h"
#include "win/platform/GdiplusDecoder.h"
#include "win/platform/RegistryStore.h"
#include "win/platform/WinClock.h"
#include "win/platform/WinLocalZone.h"
#include "win/ical/CalendarSubscriptions.h"
#include "win/platform/WinCodePage.h"
#include "win/platform/WinLocaleNames.h"

namespace ov {

class MainForm;
class ApplicationWindow;
class TFEntry;
class TFRepeat;
class TFormPickDate;
class TrayIcon;
class TFFont;
class TFController;
class ReminderNotifier;

// The registry key that holds every setting.
inline constexpr wchar_t kSettingsKey[] = L"Software\\Quenlar\\Orvinta3";
inline constexpr wchar_t kMutexName[] = L"MXOrvinta3";
inline constexpr wchar_t kMainFormClass[] = L"TOVMainForm";
inline constexpr wchar_t kApplicationClass[] = L"TOrvintaApplication";
inline constexpr char kApplicationTitle[] = "Orvinta 3";
inline constexpr UINT kMsgShowMainForm = WM_USER + 23;  // 0x417, sent by a second start
inline constexpr UINT kMsgSectionsChanged = WM_USER + 24;  // 0x418, after a section rename or delete
inline constexpr UINT kMsgNotesChanged = WM_USER + 25;     // 0x419, the notes changed on disk
inline constexpr UINT kMsgHookMouse = 0xCAE;           // posted by MHookOV.dll

struct App {
  App();
  ~App();

  // --- command line ---
  bool QuitAfterUpdate = false;
  int StartupDelaySeconds = 0;

  // --- life cycle ---
  bool Quitting = false;      // the close really ends the program (user quit, log-off)
  bool StartingUp = true;     // until the deferred start has finished
  bool ControlsReady = false; // the main window's controls hold the settings
  bool ImagePropsModified = false;
  int StartCount = 0;
  HWND HookWindow = nullptr;

  // --- folders, settings, dates ---
  DataFolders Folders;
  Settings settings;
  double DisplayDate = 0;
  double LastTick = 0;
  std::vector<std::string> ImageExtensions;
  std::vector<TImageItem> ImageLibrary;
  std::vector<std::string> RotationQueue;
  std::string SelectedImage;  // the library picture last chosen in the grid (or captured)
  Size WallpaperSize{0, 0};  // Monitors.WallpaperSize()
  MonitorLayout Monitors;    // screen point <-> wallpaper pixel: Monitors.Mapping()
  FileVersion Version;

  // --- services ---
  RegistrySettingsStore SettingsStore{kSettingsKey};
  WinCodePage CodePage;
  WinClock Clock;
  std::unique_ptr<HookLibrary> Hook;
  std::unique_ptr<IShellFileOps> Shell;  // folder operations through the shell
  std::unique_ptr<EntryStore> Entries;  // the notes and colour codes of the active section
  DayCellTable Cells;                   // the day cells of the wallpaper now installed
  // Pictures and drawing: decoder, the two property slots with their surfaces, the
  // overlay, the cell skin, text and names for the calendar, and the calendar renderer.
  GdiplusSession Gdiplus;
  GdiplusDecoder PictureDecoder;
  // Every picture is decoded through this one: at start-up the background picture decodes
  // on a thread of its own while the windows are made.
  PrefetchingDecoder Decoder{PictureDecoder, RunWithCom};
  std::unique_ptr<ImagePropsStore> Props;
  OverlayImage Overlay;
  // The last wallpaper's composed pictures, kept so a calendar change redraws only the
  // panel; freed after a minute without builds.
  KeptPictureLayer WallpaperLayer;
  TBitmap32 Skin;
  GdiTextRenderer Text;
  WinLocaleNames Locale;
  std::unique_ptr<EntryStoreDays> DayData;
  std::unique_ptr<CalendarRenderer> Renderer;
  // The subscribed calendars' events in the day cells (declared in the order they are
  // made: the reader thread goes first when they are destroyed).
  WinLocalZone LocalZone;
  std::unique_ptr<SubscribedEvents> Events;
  std::unique_ptr<EventDays> DayEvents;
  std::unique_ptr<CalendarSubscriptions> Calendars;
  HolidayCalendar Holidays;             // official days off: compiled-in plus the data folder's file
  ClickSeries Clicks;                   // desktop button releases towards a triple-click

  // --- windows ---
  std::unique_ptr<ApplicationWindow> AppWindow;
  std::unique_ptr<MainForm> MainWindow;
  std::unique_ptr<TFFont> FontDialog;  // the caption and entry fonts' chooser
  std::unique_ptr<TFController> Controller;  // the mini controller on the desktop
  std::unique_ptr<TFRepeat> Repeat;
  std::unique_ptr<TFormPickDate> DatePicker;
  std::unique_ptr<TrayIcon> Tray;
  std::unique_ptr<ReminderNotifier> Reminders;  // after the tray icon, before the message loop
  TFEntry* EntryPopup = nullptr;  // the open entry pop-up; it owns itself

  // Shows the date picker set to DisplayDate, centred on the cursor.
  void ShowDatePicker();
  // The font chooser and the repeat dialog: both are made at start-up, with the other
  // windows, and here should one be missing when it is asked for.
  TFFont& FontChooser();
  TFRepeat& RepeatDialog();
  // Opens the entry pop-up over the day cell at a screen point, or for a date; nothing
  // when no cell is there or a pop-up is already open.
  void OpenEntryAtPoint(int32_t x, int32_t y);
  void OpenEntryForDate(double date);
  // The same for a cell of DayCellTable (wallpaper pixels).
  void OpenEntryForCell(const TDayCell& cell);

  // Loads or saves every setting through the registry.
  void LoadSettings(const SettingsContext& ctx);
  bool SaveSettings();
};

}  // namespace ov
