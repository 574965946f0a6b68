#pragma once
// Every user setting of the program, held in memory for the whole run. Names are the
// registry value names; the table in SettingsSchema.cpp says where each one is stored,
// its kind, and whether it is written back.
#include <cstdint>
#include <optional>
#include <string>

#include "core/render/FontSpec.h"
#include "core/util/Rect.h"

namespace ov {

// Window placement of the main window (section "MainForm").
struct WindowPlacementValues {
  int32_t left = 0, top = 0, width = 600, height = 569;
  std::string state = "wsNormal";  // "wsNormal", "wsMinimized" or "wsMaximized"
};

struct Settings {
  // --- App ---
  bool FirstRun = true;
  int32_t Ec = 0;  // number of starts
  int32_t OverlayColor = 0;  // read, never used, never written
  bool DesktopIconsTransparent = true;
  int32_t DesktopIconTextColor = -1;
  bool NoBackground = false;
  int32_t DesktopColor = static_cast<int32_t>(0xFF000001);  // the system desktop colour
  bool DisableHints = false;
  int32_t Hotkey = 0;
  int32_t HotkeyModifier = 0;
  bool ShowController = true;
  bool ControllerLeft = false;
  bool CloseIsMinimize = true;
  bool RemindersEnabled = true;  // note lines that begin with a time remind
  int32_t ReminderLead = 5;      // minutes before the time, 0..120
  bool AutoStart = true;
  bool AutoStartQuit = false;
  int32_t AutoStartDelay = 5;
  bool Overlay = false;
  std::string OverlayFilename = "-";
  int32_t OverlayAlpha = 128;
  std::string WallpaperBackground;
  int32_t WallpaperAlpha = 255;
  std::string BottomImageFilename;
  int32_t OutputPixelmode = 4;
  int32_t ThumbWidthIndex = 2;
  bool PreviewTaskBar = true;
  std::string ImagesPath;
  std::string NotesFolder;  // empty: the notes stay in the data folder
  bool RotateImages = true;
  int32_t RotationInterval = 2;
  int32_t RotationMode = 1;
  double NextRotationTime = 0;  // default: now + 60 seconds
  std::string LastWallpaperFile;
  std::string BackupPath;
  double LastBackupTime = 0;
  bool BackupOnlyNew = false;
  bool BackupImageProps = true;
  bool CalendarVisible = true;
  bool WeekNumbers = true;
  bool ShowNextMonthCaption = true;
  int32_t TitleMode = 2;
  int32_t TextOutMode = 1;
  int32_t CalendarAlpha = 82;
  int32_t StartOfWeek = 0;
  int32_t VisibleWeeks = 7;
  int32_t PastVisibleWeeks = 2;
  int32_t HolidayBits = 96;
  int32_t FontBorder = 2;  // the loaded value is replaced by Misc\FontBorderPixels
  int32_t CellGap = 1;
  int32_t CellFrameContrast = 15;
  bool CellShadow = true;
  int32_t CellShadowX = 6;
  int32_t CellShadowY = 10;
  int32_t CellShadowAlpha = 96;
  uint32_t CalendarColor = 0x808080;  // pixel colour 0x(AA)RRGGBB
  bool UseColorForSkin = false;
  bool CalendarFromStartOfMonth = false;
  std::string SubEntryName = "默认";
  std::string CalendarSkinFilename;  // default: ProgramFolder + "Skin Images\gold.png"
  int32_t PrintZoomFactor = 30;
  bool CaptureWallpaper = true;
  bool FlagCaptureMsgShown = false;
  bool CaptureToPNG = false;
  FontSpec CaptionFont = DefaultCaptionFont();
  FontSpec EntryFont = DefaultEntryFont();
  // CaptionFontColor and EntryFontColor live in CaptionFont.color and EntryFont.color.
  bool RepeatColorWithEntry = true;
  // The Chinese calendar layer: lunar dates, festivals, solar terms and official days off
  // in the day cells. Default: on when the user's interface language is Chinese.
  // Edited by the check box "显示农历" on the "查看" page of the calendar tab.
  bool ShowLunar = false;
  // The events of the subscribed calendars as lines in the day cells, after the note.
  bool ShowEventLines = true;

  // --- MainForm ---
  WindowPlacementValues MainForm;

  // --- Entry ---
  bool EntryShowCaption = true;
  bool EntryShowScrollbar = true;
  bool EntryAutoHeight = true;
  Rect EntryRect{-1, -1, -1, -1};  // EntryR1..EntryR4; right = -1 means none

  // --- Panels ---
  Rect CalendarRect;  // CalendarR1..CalendarR4; default from the work area
  // The virtual screen's top-left corner that CalendarRect was measured against, written
  // with it, so the panel is found on the screen again when the monitors changed between
  // runs. INT32_MIN: not stored (settings of an older version).
  int32_t CalendarOriginX = INT32_MIN, CalendarOriginY = INT32_MIN;

  // --- Print ---
  bool CheckPrintFullsizeCalendar = true;
  bool CheckPrintIncludeBackground = true;
  bool CheckPrintOverlay = false;
  bool CheckPrintBlank = false;
  bool CheckPrintEntryName = false;
  bool CheckPrintBlackText = false;
  bool CheckPrintFrames = false;
  bool CheckPrintColorCodes = true;
  bool CheckPrintShadow = true;
  bool CheckPrintLandscape = true;

  // --- Misc (read only; written: CellFrameContrast) ---
  int32_t ControllerAlpha = 80;
  int32_t EntryPopUpAlpha = 255;
  uint32_t CurrentDateFrameColor = 0;  // pixel colour 0xRRGGBB; 0 = caption font colour
  int32_t FontBorderPixels = 2;        // the outline width in effect
  int32_t FontShadowColor = 0;         // platform colour

  bool HasEntryRect() const { return EntryRect.right != -1; }
  std::optional<Point> CalendarOrigin() const {
    if (CalendarOriginX == INT32_MIN || CalendarOriginY == INT32_MIN) return std::nullopt;
    return Point{CalendarOriginX, CalendarOriginY};
  }

  static FontSpec DefaultCaptionFont() {
    FontSpec f;
    f.face = "Tahoma";
    f.SetPointSize(10);
    f.weight = 700;
    f.color = 0xC0FFFF;
    return f;
  }
  static FontSpec DefaultEntryFont() {
    FontSpec f;
    f.face = "Tahoma";
    f.SetPointSize(8);
    f.weight = 700;
    f.color = 0xFFFFFF;
    return f;
  }
};

// What the defaults depend on outside the store.
struct SettingsContext {
  std::string programFolder;  // with trailing backslash
  Rect workArea{0, 0, 1280, 1024};  // primary monitor's work area, in wallpaper pixels
  double now = 0;                   // days since 30 Dec 1899
  WindowPlacementValues mainFormBounds;  // the window's current bounds
  bool chineseUi = false;                // the user's interface language is Chinese
};

// All defaults, including those that depend on the context.
Settings DefaultSettings(const SettingsContext& ctx);

// The calendar panel's default place in a work area (wallpaper pixels).
Rect DefaultCalendarRect(const Rect& workArea);

// The default overlay picture that the stored "-" stands for.
std::string DefaultOverlayPath(const std::string& programFolder);

}  // namespace ov
