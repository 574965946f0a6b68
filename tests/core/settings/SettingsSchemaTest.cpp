#include <algorithm>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "core/platform/CodePage.h"
#include "core/settings/SettingsSchema.h"

namespace ov {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() {
    ctx.programFolder = "C:\\Prog\\";
    ctx.workArea = {0, 0, 1920, 1040};
    ctx.now = 45000.5;
  }
  Settings Load() { return LoadSettings(store, ctx, codePage); }
  static std::string Double(double d) {
    std::string b(8, '\0');
    std::memcpy(b.data(), &d, 8);
    return b;
  }

  MemorySettingsStore store;
  SettingsContext ctx;
  Latin1CodePage codePage;
};

TEST_F(SettingsTest, EmptyStoreGivesEveryDefault) {
  Settings s = Load();
  EXPECT_TRUE(s.FirstRun);
  EXPECT_EQ(s.Ec, 0);
  EXPECT_EQ(s.DesktopColor, static_cast<int32_t>(0xFF000001));
  EXPECT_EQ(s.OverlayFilename, "C:\\Prog\\Overlay Images\\BorderBlueXP.png");
  EXPECT_EQ(s.CalendarSkinFilename, "C:\\Prog\\Skin Images\\gold.png");
  EXPECT_DOUBLE_EQ(s.NextRotationTime, 45000.5 + 60.0 / 86400.0);
  EXPECT_EQ(s.CalendarRect, (Rect{640, 60, 1860, 1020}));
  EXPECT_EQ(s.SubEntryName, "默认");
  EXPECT_EQ(s.CaptionFont.face, "Tahoma");
  EXPECT_EQ(s.CaptionFont.PointSize(), 10);
  EXPECT_TRUE(s.CaptionFont.Bold());
  EXPECT_EQ(s.CaptionFont.color, 0xC0FFFFu);
  EXPECT_EQ(s.EntryFont.PointSize(), 8);
  EXPECT_EQ(s.EntryFont.color, 0xFFFFFFu);
  EXPECT_FALSE(s.HasEntryRect());
  EXPECT_EQ(s.VisibleWeeks, 7);
  EXPECT_EQ(s.HolidayBits, 96);
}

TEST_F(SettingsTest, PanelDefaultsDivideTowardZero) {
  ctx.workArea = {-1001, 0, 0, 500};
  Settings s = Load();
  // left + (right - left) div 3 = -1001 + 333
  EXPECT_EQ(s.CalendarRect.left, -668);
  EXPECT_EQ(s.CalendarRect.right, -60);
}

// The Chinese calendar layer is on by default for a Chinese interface only; a stored
// value wins either way and is written as "0"/"1" like the other booleans.
TEST_F(SettingsTest, ShowLunarDefaultsToTheInterfaceLanguage) {
  EXPECT_FALSE(Load().ShowLunar);
  ctx.chineseUi = true;
  Settings s = Load();
  EXPECT_TRUE(s.ShowLunar);
  ASSERT_TRUE(SaveSettings(store, s, codePage));
  EXPECT_EQ(store.Get("App", "ShowLunar")->text, "1");
  store.Set("App", "ShowLunar", StoredValue::String("0"));
  EXPECT_FALSE(Load().ShowLunar);
}

TEST_F(SettingsTest, FirstSaveWritesFirstRunZeroAndEveryWrittenValue) {
  Settings s = Load();
  ASSERT_TRUE(SaveSettings(store, s, codePage));
  ASSERT_NE(store.Get("App", "FirstRun"), nullptr);
  EXPECT_EQ(store.Get("App", "FirstRun")->text, "0");
  EXPECT_FALSE(store.Has("App", "OverlayColor"));
  for (const char* misc : {"ControllerAlpha", "EntryPopUpAlpha", "CurrentDateFrameColor", "FontBorderPixels",
                           "FontShadowColor"})
    EXPECT_FALSE(store.Has("Misc", misc)) << misc;
  ASSERT_TRUE(store.Has("Misc", "CellFrameContrast"));
  EXPECT_EQ(store.Get("Misc", "CellFrameContrast")->dword, 15u);
  // Every table value marked as written is present after one save.
  for (const auto& f : SettingsTable())
    if (f.written) {
      EXPECT_TRUE(store.Has(f.section, f.name)) << f.section << "\\" << f.name;
    }
  EXPECT_EQ(store.Get("App", "CaptionFont")->bytes.size(), 60u);
  EXPECT_EQ(store.Get("App", "NextRotationTime")->bytes.size(), 8u);
  EXPECT_EQ(store.Get("App", "CalendarAlpha")->kind, StoredValue::Kind::Dword);
  EXPECT_EQ(store.Get("App", "CellShadow")->text, "1");

  Settings again = Load();
  EXPECT_FALSE(again.FirstRun);
}

TEST_F(SettingsTest, WritesAppThenMainFormAfterDisableHintsThenOtherSectionsThenFlushes) {
  ASSERT_TRUE(SaveSettings(store, Load(), codePage));
  const auto& w = store.Writes();
  auto pos = [&](const std::string& key) {
    for (size_t i = 0; i < w.size(); ++i)
      if (w[i] == key) return static_cast<int>(i);
    return -1;
  };
  EXPECT_EQ(pos("App\\FirstRun"), 0);
  EXPECT_EQ(pos("MainForm\\Left"), pos("App\\DisableHints") + 1);
  EXPECT_LT(pos("App\\RepeatColorWithEntry"), pos("Entry\\EntryShowCaption"));
  EXPECT_LT(pos("Entry\\EntryR4"), pos("Panels\\CalendarR1"));
  EXPECT_LT(pos("Panels\\CalendarR4"), pos("Print\\CheckPrintFullsizeCalendar"));
  // The last value, then one flush so that a power loss right after saving keeps them.
  ASSERT_GE(w.size(), 2u);
  EXPECT_EQ(w[w.size() - 2], "Misc\\CellFrameContrast");
  EXPECT_EQ(w.back(), "<flush>");
  EXPECT_EQ(std::count(w.begin(), w.end(), "<flush>"), 1);
}

TEST_F(SettingsTest, FontBorderComesFromMiscAndIsWrittenBack) {
  store.Set("App", "FontBorder", StoredValue::Dword(5));
  EXPECT_EQ(Load().FontBorderPixels, 2);
  EXPECT_EQ(Load().FontBorder, 2);

  store.Set("Misc", "FontBorderPixels", StoredValue::Dword(5));
  Settings s = Load();
  EXPECT_EQ(s.FontBorderPixels, 5);
  ASSERT_TRUE(SaveSettings(store, s, codePage));
  EXPECT_EQ(store.Get("App", "FontBorder")->dword, 5u);
}

TEST_F(SettingsTest, MiscCellFrameContrastIsNeverRead) {
  store.Set("Misc", "CellFrameContrast", StoredValue::Dword(77));
  EXPECT_EQ(Load().CellFrameContrast, 15);
  store.Set("App", "CellFrameContrast", StoredValue::Dword(-30));
  EXPECT_EQ(Load().CellFrameContrast, -30);
}

TEST_F(SettingsTest, OverlayDashIsReplacedAndSavedAsPath) {
  store.Set("App", "OverlayFilename", StoredValue::String("-"));
  Settings s = Load();
  ASSERT_TRUE(SaveSettings(store, s, codePage));
  EXPECT_EQ(store.Get("App", "OverlayFilename")->text, "C:\\Prog\\Overlay Images\\BorderBlueXP.png");
}

TEST_F(SettingsTest, ConvertsKindsOnRead) {
  store.Set("App", "CellShadow", StoredValue::Dword(0));        // boolean from a DWORD
  store.Set("App", "WeekNumbers", StoredValue::String("7"));    // any non-zero integer text
  store.Set("App", "CalendarVisible", StoredValue::String("yes"));  // not a number: default
  store.Set("App", "CellGap", StoredValue::String(" 3 "));      // integer from text
  store.Set("App", "CalendarAlpha", StoredValue::String("x"));  // not a number: default
  store.Set("App", "SubEntryName", StoredValue::Dword(4));      // not a text: default
  store.Set("App", "NextRotationTime", StoredValue::Binary("123"));  // wrong size: default
  Settings s = Load();
  EXPECT_FALSE(s.CellShadow);
  EXPECT_TRUE(s.WeekNumbers);
  EXPECT_TRUE(s.CalendarVisible);
  EXPECT_EQ(s.CellGap, 3);
  EXPECT_EQ(s.CalendarAlpha, 82);
  EXPECT_EQ(s.SubEntryName, "默认");
  EXPECT_DOUBLE_EQ(s.NextRotationTime, ctx.now + 60.0 / 86400.0);
}

// Every value of the table stored as every kind, with contents that fit no field: loading
// gives each field a value of its own kind (held to its range), and saving that works.
TEST_F(SettingsTest, EveryValueOfAWrongKindLoadsHarmlessly) {
  const StoredValue odd[] = {
      StoredValue::Dword(0x80000000u), StoredValue::Dword(0xFFFFFFFFu), StoredValue::String(""),
      StoredValue::String("-2147483649"), StoredValue::String(std::string("\xFF\0\xC3", 3)),
      StoredValue::Binary(""), StoredValue::Binary("\x01\x02\x03\x80"), StoredValue::Binary(Double(1e308)),
      StoredValue::Binary(std::string(60, '\xFF')), StoredValue::Binary(std::string(61, 'a')),
  };
  for (const StoredValue& v : odd) {
    for (const SettingField& f : SettingsTable()) store.Set(f.section, f.name, v);
    Settings s = Load();
    for (const SettingField& f : SettingsTable()) {
      if (!f.range) continue;
      const int32_t x = std::visit(
          [&](auto ref) -> int32_t {
            if constexpr (std::is_same_v<std::remove_reference_t<decltype(ref(s))>, int32_t>) return ref(s);
            else return f.range->first;
          },
          f.ref);
      EXPECT_GE(x, f.range->first) << f.name;
      EXPECT_LE(x, f.range->second) << f.name;
    }
    EXPECT_FALSE(s.SubEntryName.empty());
    EXPECT_TRUE(std::isfinite(s.NextRotationTime));
    MemorySettingsStore out;
    EXPECT_TRUE(SaveSettings(out, s, codePage));
  }
}

TEST_F(SettingsTest, HoldsHandSetValuesToTheirRanges) {
  store.Set("App", "VisibleWeeks", StoredValue::Dword(static_cast<uint32_t>(-5)));
  store.Set("App", "PastVisibleWeeks", StoredValue::Dword(10000));
  store.Set("App", "StartOfWeek", StoredValue::Dword(9));
  store.Set("App", "CalendarAlpha", StoredValue::Dword(100000));
  store.Set("App", "OutputPixelmode", StoredValue::Dword(9));
  store.Set("App", "RotationInterval", StoredValue::Dword(0));
  store.Set("App", "NextRotationTime", StoredValue::Binary(Double(std::nan(""))));
  store.Set("App", "LastBackupTime", StoredValue::Binary(Double(1e300)));
  store.Set("App", "TitleMode", StoredValue::Dword(17));  // any other mode is defined: kept
  Settings s = Load();
  EXPECT_EQ(s.VisibleWeeks, 1);
  EXPECT_EQ(s.PastVisibleWeeks, 32);
  EXPECT_EQ(s.StartOfWeek, 6);
  EXPECT_EQ(s.CalendarAlpha, 255);
  EXPECT_EQ(s.OutputPixelmode, 4);
  EXPECT_EQ(s.RotationInterval, 1);
  EXPECT_TRUE(std::isfinite(s.NextRotationTime));
  EXPECT_EQ(s.LastBackupTime, 0);
  EXPECT_EQ(s.TitleMode, 17);
}

TEST_F(SettingsTest, FontRecordsRoundTripAndBadOnesAreIgnored) {
  Settings s = Load();
  s.CaptionFont.face = "Arial";
  s.CaptionFont.SetPointSize(14);
  s.CaptionFont.weight = 400;
  s.CaptionFont.italic = true;
  s.CaptionFont.color = 0x123456;
  ASSERT_TRUE(SaveSettings(store, s, codePage));
  Settings back = Load();
  EXPECT_EQ(back.CaptionFont.face, "Arial");
  EXPECT_EQ(back.CaptionFont.PointSize(), 14);
  EXPECT_FALSE(back.CaptionFont.Bold());
  EXPECT_TRUE(back.CaptionFont.italic);
  EXPECT_EQ(back.CaptionFont.color, 0x123456u);  // colour comes from CaptionFontColor

  store.Set("App", "EntryFont", StoredValue::Binary(std::string(60, '\xFF')));  // no face end
  store.Set("App", "CaptionFont", StoredValue::Binary(std::string(20, 'x')));    // too short
  Settings bad = Load();
  EXPECT_EQ(bad.EntryFont.face, "Tahoma");
  EXPECT_EQ(bad.CaptionFont.face, "Tahoma");
  EXPECT_EQ(bad.CaptionFont.PointSize(), 10);
}

TEST_F(SettingsTest, UnavailableStoreGivesDefaultsAndReportsSaveFailure) {
  store.SetAvailable(false);
  Settings s = Load();
  EXPECT_TRUE(s.FirstRun);
  EXPECT_FALSE(SaveSettings(store, s, codePage));
}

TEST_F(SettingsTest, TableNamesAreUnique) {
  std::set<std::string> seen;
  for (const auto& f : SettingsTable()) {
    std::string key = std::string(f.section) + "\\" + f.name;
    EXPECT_TRUE(seen.insert(key).second) << key;
  }
}

}  // namespace
}  // namespace ov
