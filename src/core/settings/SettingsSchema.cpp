#include "core/settings/SettingsSchema.h"

#include <cmath>
#include <cstring>

#include "core/platform/CodePage.h"
#include "core/util/Numeric.h"
#include "core/util/Text.h"

namespace ov {

namespace {

// A captureless lambda per field, so the table can reach nested fields too.
#define REF(T, expr) static_cast<T& (*)(Settings&)>([](Settings& s) -> T& { return s.expr; })
#define RANGE(lo, hi) std::make_pair(int32_t(lo), int32_t(hi))

using K = SettingKind;

std::vector<SettingField> BuildTable() {
  const auto alpha = RANGE(0, 255);
  std::vector<SettingField> t = {
      {"App", "FirstRun", K::Bool, REF(bool, FirstRun)},
      {"App", "Ec", K::Int, REF(int32_t, Ec), true, true, RANGE(0, INT32_MAX)},
      {"App", "OverlayColor", K::Int, REF(int32_t, OverlayColor), true, false},
      {"App", "DesktopIconsTransparent", K::Bool, REF(bool, DesktopIconsTransparent)},
      {"App", "DesktopIconTextColor", K::Int, REF(int32_t, DesktopIconTextColor)},
      {"App", "NoBackground", K::Bool, REF(bool, NoBackground)},
      {"App", "DesktopColor", K::Int, REF(int32_t, DesktopColor)},
      {"App", "DisableHints", K::Bool, REF(bool, DisableHints)},
      {"MainForm", "Left", K::Int, REF(int32_t, MainForm.left)},
      {"MainForm", "Top", K::Int, REF(int32_t, MainForm.top)},
      {"MainForm", "Width", K::Int, REF(int32_t, MainForm.width)},
      {"MainForm", "Height", K::Int, REF(int32_t, MainForm.height)},
      {"MainForm", "State", K::String, REF(std::string, MainForm.state)},
      {"App", "Hotkey", K::Int, REF(int32_t, Hotkey)},
      {"App", "HotkeyModifier", K::Int, REF(int32_t, HotkeyModifier)},
      {"App", "ShowController", K::Bool, REF(bool, ShowController)},
      {"App", "ControllerLeft", K::Bool, REF(bool, ControllerLeft)},
      {"App", "CloseIsMinimize", K::Bool, REF(bool, CloseIsMinimize)},
      {"App", "RemindersEnabled", K::Bool, REF(bool, RemindersEnabled)},
      {"App", "ReminderLead", K::Int, REF(int32_t, ReminderLead), true, true, RANGE(0, 120)},
      {"App", "AutoStart", K::Bool, REF(bool, AutoStart)},
      {"App", "AutoStartQuit", K::Bool, REF(bool, AutoStartQuit)},
      {"App", "AutoStartDelay", K::Int, REF(int32_t, AutoStartDelay), true, true, RANGE(0, 30)},
      {"App", "Overlay", K::Bool, REF(bool, Overlay)},
      {"App", "OverlayFilename", K::String, REF(std::string, OverlayFilename)},
      {"App", "OverlayAlpha", K::Int, REF(int32_t, OverlayAlpha), true, true, alpha},
      {"App", "WallpaperBackground", K::String, REF(std::string, WallpaperBackground)},
      {"App", "WallpaperAlpha", K::Int, REF(int32_t, WallpaperAlpha), true, true, alpha},
      {"App", "BottomImageFilename", K::String, REF(std::string, BottomImageFilename)},
      {"App", "OutputPixelmode", K::Int, REF(int32_t, OutputPixelmode), true, true, RANGE(0, 4)},
      {"App", "ThumbWidthIndex", K::Int, REF(int32_t, ThumbWidthIndex), true, true, RANGE(0, 4)},
      {"App", "PreviewTaskBar", K::Bool, REF(bool, PreviewTaskBar)},
      {"App", "ImagesPath", K::String, REF(std::string, ImagesPath)},
      {"App", "NotesFolder", K::String, REF(std::string, NotesFolder)},
      {"App", "RotateImages", K::Bool, REF(bool, RotateImages)},
      {"App", "RotationInterval", K::Int, REF(int32_t, RotationInterval), true, true, RANGE(1, 9999)},
      {"App", "RotationMode", K::Int, REF(int32_t, RotationMode), true, true, RANGE(0, 2)},
      {"App", "NextRotationTime", K::Float, REF(double, NextRotationTime)},
      {"App", "LastWallpaperFile", K::String, REF(std::string, LastWallpaperFile)},
      {"App", "BackupPath", K::String, REF(std::string, BackupPath)},
      {"App", "LastBackupTime", K::Float, REF(double, LastBackupTime)},
      {"App", "BackupOnlyNew", K::Bool, REF(bool, BackupOnlyNew)},
      {"App", "BackupImageProps", K::Bool, REF(bool, BackupImageProps)},
      {"App", "CalendarVisible", K::Bool, REF(bool, CalendarVisible)},
      {"App", "WeekNumbers", K::Bool, REF(bool, WeekNumbers)},
      {"App", "ShowNextMonthCaption", K::Bool, REF(bool, ShowNextMonthCaption)},
      {"App", "TitleMode", K::Int, REF(int32_t, TitleMode)},
      {"App", "TextOutMode", K::Int, REF(int32_t, TextOutMode), true, true, RANGE(0, 2)},
      {"App", "CalendarAlpha", K::Int, REF(int32_t, CalendarAlpha), true, true, alpha},
      {"App", "StartOfWeek", K::Int, REF(int32_t, StartOfWeek), true, true, RANGE(0, 6)},
      {"App", "VisibleWeeks", K::Int, REF(int32_t, VisibleWeeks), true, true, RANGE(1, 50)},
      {"App", "PastVisibleWeeks", K::Int, REF(int32_t, PastVisibleWeeks), true, true, RANGE(0, 32)},
      {"App", "HolidayBits", K::Int, REF(int32_t, HolidayBits), true, true, RANGE(0, 127)},
      {"App", "FontBorder", K::Int, REF(int32_t, FontBorder)},
      {"App", "CellGap", K::Int, REF(int32_t, CellGap), true, true, RANGE(0, 10)},
      {"App", "CellFrameContrast", K::Int, REF(int32_t, CellFrameContrast), true, true, RANGE(-100, 100)},
      {"App", "CellShadow", K::Bool, REF(bool, CellShadow)},
      {"App", "CellShadowX", K::Int, REF(int32_t, CellShadowX), true, true, RANGE(-50, 50)},
      {"App", "CellShadowY", K::Int, REF(int32_t, CellShadowY), true, true, RANGE(-50, 50)},
      {"App", "CellShadowAlpha", K::Int, REF(int32_t, CellShadowAlpha), true, true, alpha},
      {"App", "CalendarColor", K::Int, REF(uint32_t, CalendarColor)},
      {"App", "UseColorForSkin", K::Bool, REF(bool, UseColorForSkin)},
      {"App", "CalendarFromStartOfMonth", K::Bool, REF(bool, CalendarFromStartOfMonth)},
      {"App", "SubEntryName", K::String, REF(std::string, SubEntryName)},
      {"App", "CalendarSkinFilename", K::String, REF(std::string, CalendarSkinFilename)},
      {"App", "PrintZoomFactor", K::Int, REF(int32_t, PrintZoomFactor), true, true, RANGE(1, 1000)},
      {"App", "CaptureWallpaper", K::Bool, REF(bool, CaptureWallpaper)},
      {"App", "FlagCaptureMsgShown", K::Bool, REF(bool, FlagCaptureMsgShown)},
      {"App", "CaptureToPNG", K::Bool, REF(bool, CaptureToPNG)},
      {"App", "CaptionFont", K::Font, REF(FontSpec, CaptionFont)},
      {"App", "EntryFont", K::Font, REF(FontSpec, EntryFont)},
      {"App", "CaptionFontColor", K::Int, REF(uint32_t, CaptionFont.color)},
      {"App", "EntryFontColor", K::Int, REF(uint32_t, EntryFont.color)},
      {"App", "RepeatColorWithEntry", K::Bool, REF(bool, RepeatColorWithEntry)},
      {"App", "ShowLunar", K::Bool, REF(bool, ShowLunar)},
      {"App", "ShowEventLines", K::Bool, REF(bool, ShowEventLines)},

      {"Entry", "EntryShowCaption", K::Bool, REF(bool, EntryShowCaption)},
      {"Entry", "EntryShowScrollbar", K::Bool, REF(bool, EntryShowScrollbar)},
      {"Entry", "EntryAutoHeight", K::Bool, REF(bool, EntryAutoHeight)},
      {"Entry", "EntryR1", K::Int, REF(int32_t, EntryRect.left)},
      {"Entry", "EntryR2", K::Int, REF(int32_t, EntryRect.top)},
      {"Entry", "EntryR3", K::Int, REF(int32_t, EntryRect.right)},
      {"Entry", "EntryR4", K::Int, REF(int32_t, EntryRect.bottom)},

      {"Panels", "CalendarR1", K::Int, REF(int32_t, CalendarRect.left)},
      {"Panels", "CalendarR2", K::Int, REF(int32_t, CalendarRect.top)},
      {"Panels", "CalendarR3", K::Int, REF(int32_t, CalendarRect.right)},
      {"Panels", "CalendarR4", K::Int, REF(int32_t, CalendarRect.bottom)},
      {"Panels", "CalendarOriginX", K::Int, REF(int32_t, CalendarOriginX)},
      {"Panels", "CalendarOriginY", K::Int, REF(int32_t, CalendarOriginY)},

      {"Print", "CheckPrintFullsizeCalendar", K::Bool, REF(bool, CheckPrintFullsizeCalendar)},
      {"Print", "CheckPrintIncludeBackground", K::Bool, REF(bool, CheckPrintIncludeBackground)},
      {"Print", "CheckPrintOverlay", K::Bool, REF(bool, CheckPrintOverlay)},
      {"Print", "CheckPrintBlank", K::Bool, REF(bool, CheckPrintBlank)},
      {"Print", "CheckPrintEntryName", K::Bool, REF(bool, CheckPrintEntryName)},
      {"Print", "CheckPrintBlackText", K::Bool, REF(bool, CheckPrintBlackText)},
      {"Print", "CheckPrintFrames", K::Bool, REF(bool, CheckPrintFrames)},
      {"Print", "CheckPrintColorCodes", K::Bool, REF(bool, CheckPrintColorCodes)},
      {"Print", "CheckPrintShadow", K::Bool, REF(bool, CheckPrintShadow)},
      {"Print", "CheckPrintLandscape", K::Bool, REF(bool, CheckPrintLandscape)},

      // Tuning values the user may add by hand; only CellFrameContrast is ever written
      // here (from the App value), and it is never read from this section.
      {"Misc", "ControllerAlpha", K::Int, REF(int32_t, ControllerAlpha), true, false, alpha},
      {"Misc", "EntryPopUpAlpha", K::Int, REF(int32_t, EntryPopUpAlpha), true, false, alpha},
      {"Misc", "CurrentDateFrameColor", K::Int, REF(uint32_t, CurrentDateFrameColor), true, false},
      {"Misc", "FontBorderPixels", K::Int, REF(int32_t, FontBorderPixels), true, false, RANGE(0, 100)},
      {"Misc", "FontShadowColor", K::Int, REF(int32_t, FontShadowColor), true, false},
      {"Misc", "CellFrameContrast", K::Int, REF(int32_t, CellFrameContrast), false, true},
  };
  return t;
}

#undef REF
#undef RANGE

std::optional<int32_t> ReadInt(const StoredValue& v) {
  switch (v.kind) {
    case StoredValue::Kind::Dword: return static_cast<int32_t>(v.dword);
    case StoredValue::Kind::String: return ParseInt32(v.text);
    case StoredValue::Kind::Binary:
      // A 4-byte binary value is how some tools store a number; take it.
      if (v.bytes.size() == 4) {
        uint32_t u = 0;
        for (int i = 0; i < 4; ++i) u |= uint32_t(static_cast<unsigned char>(v.bytes[i])) << (8 * i);
        return static_cast<int32_t>(u);
      }
      return std::nullopt;
  }
  return std::nullopt;
}

void ReadField(const SettingField& f, const StoredValue& v, Settings& s, const ICodePage& cp) {
  std::visit(
      [&](auto ref) {
        using R = std::remove_reference_t<decltype(ref(s))>;
        R& target = ref(s);
        if constexpr (std::is_same_v<R, bool>) {
          if (auto i = ReadInt(v)) target = *i != 0;
        } else if constexpr (std::is_same_v<R, int32_t> || std::is_same_v<R, uint32_t>) {
          if (auto i = ReadInt(v)) {
            int32_t x = *i;
            if (f.range) x = Clamp(x, f.range->first, f.range->second);
            target = static_cast<R>(x);
          }
        } else if constexpr (std::is_same_v<R, double>) {
          if (v.kind == StoredValue::Kind::Binary && v.bytes.size() == 8) {
            double d;
            std::memcpy(&d, v.bytes.data(), 8);
            // Outside the calendar's years a date-time means nothing; keep the default.
            if (std::isfinite(d) && d > -700000 && d < 3000000) target = d;
          }
        } else if constexpr (std::is_same_v<R, std::string>) {
          if (v.kind == StoredValue::Kind::String) target = v.text;
        } else if constexpr (std::is_same_v<R, FontSpec>) {
          if (v.kind == StoredValue::Kind::Binary && !v.bytes.empty()) {
            if (auto font = DecodeLogFontA(v.bytes, cp)) {
              uint32_t color = target.color;
              target = *font;
              target.color = color;
            }
          }
        }
      },
      f.ref);
}

StoredValue WriteValue(const SettingField& f, Settings& s, const ICodePage& cp) {
  return std::visit(
      [&](auto ref) -> StoredValue {
        using R = std::remove_reference_t<decltype(ref(s))>;
        R& value = ref(s);
        if constexpr (std::is_same_v<R, bool>) {
          return StoredValue::String(value ? "1" : "0");
        } else if constexpr (std::is_same_v<R, int32_t> || std::is_same_v<R, uint32_t>) {
          return StoredValue::Dword(static_cast<uint32_t>(value));
        } else if constexpr (std::is_same_v<R, double>) {
          std::string b(8, '\0');
          std::memcpy(b.data(), &value, 8);
          return StoredValue::Binary(b);
        } else if constexpr (std::is_same_v<R, std::string>) {
          return StoredValue::String(value);
        } else {
          return StoredValue::Binary(EncodeLogFontA(value, cp));
        }
      },
      f.ref);
}

}  // namespace

const std::vector<SettingField>& SettingsTable() {
  static const std::vector<SettingField> table = BuildTable();
  return table;
}

std::string DefaultOverlayPath(const std::string& programFolder) {
  return programFolder + "Overlay Images\\" + "BorderBlueXP.png";
}

Rect DefaultCalendarRect(const Rect& w) {
  return {w.left + (w.right - w.left) / 3, w.top + 60, w.right - 60, w.bottom - 20};
}

Settings DefaultSettings(const SettingsContext& ctx) {
  Settings s;
  s.NextRotationTime = ctx.now + 60.0 / 86400.0;
  s.CalendarSkinFilename = ctx.programFolder + "Skin Images\\" + "gold.png";
  s.CalendarRect = DefaultCalendarRect(ctx.workArea);
  s.MainForm = ctx.mainFormBounds;
  s.ShowLunar = ctx.chineseUi;
  return s;
}

Settings LoadSettings(ISettingsStore& store, const SettingsContext& ctx, const ICodePage& codePage) {
  Settings s = DefaultSettings(ctx);
  if (store.Open()) {
    for (const SettingField& f : SettingsTable()) {
      if (!f.read) continue;
      if (auto v = store.Read(f.section, f.name)) ReadField(f, *v, s, codePage);
    }
    store.Close();
  }
  // The outline width in effect comes from Misc; the App value only mirrors it.
  s.FontBorder = s.FontBorderPixels;
  if (s.OverlayFilename == "-") s.OverlayFilename = DefaultOverlayPath(ctx.programFolder);
  if (s.SubEntryName.empty()) s.SubEntryName = "默认";
  return s;
}

bool SaveSettings(ISettingsStore& store, const Settings& settings, const ICodePage& codePage) {
  if (!store.Open()) return false;
  Settings s = settings;
  s.FirstRun = false;
  s.FontBorder = s.FontBorderPixels;
  bool ok = true;
  for (const SettingField& f : SettingsTable()) {
    if (!f.written) continue;
    if (!store.Write(f.section, f.name, WriteValue(f, s, codePage))) ok = false;
  }
  if (!store.Flush()) ok = false;
  store.Close();
  return ok;
}

}  // namespace ov
