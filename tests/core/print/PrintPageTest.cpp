#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "core/print/PrintPage.h"
#include "core/settings/SettingsSchema.h"
#include "support/TempDir.h"

namespace ov {
namespace {

TEST(PrintPageTest, PageImageSize) {
  struct Case {
    std::optional<Size> device;
    int32_t zoom;
    Size expected;
  };
  const Case cases[] = {
      {Size{4800, 6600}, 30, {1440, 1980}},
      {Size{4800, 6600}, 10, {480, 660}},
      {Size{4800, 6600}, 35, {1680, 2310}},
      {Size{2001, 1401}, 15, {300, 210}},  // truncated, not rounded
      {std::nullopt, 30, {600, 420}},      // no printer: 2000 × 1400
      {Size{0, 6600}, 50, {1000, 700}},    // an empty page counts as none
      {Size{4800, 6600}, 1000, {2400, 3300}},  // held to the slider's 50 %
      {Size{4800, 6600}, 0, {480, 660}},       // and its 10 %
      {Size{5, 5}, 10, {1, 1}},                // never an empty image
  };
  for (const Case& c : cases) {
    const Size got = PageImageSize(c.device, c.zoom);
    EXPECT_EQ(got, c.expected) << "zoom " << c.zoom << " gave " << got.width << " x " << got.height;
  }
}

TEST(PrintPageTest, CalendarPlacement) {
  Settings s;
  s.CalendarRect = {1000, 100, 1900, 700};
  s.CalendarFromStartOfMonth = false;
  s.PastVisibleWeeks = 2;
  s.VisibleWeeks = 7;
  const Size page{1440, 1980};

  PrintPlacement full = PrintCalendarPlacement(s, page, 6);
  EXPECT_EQ(full.rect, (Rect{20, 20, 1420, 1960}));
  EXPECT_TRUE(full.fromStartOfMonth);
  EXPECT_EQ(full.pastWeeks, 0);
  EXPECT_EQ(full.rows, 6);

  s.CheckPrintFullsizeCalendar = false;
  PrintPlacement own = PrintCalendarPlacement(s, page, 6);
  EXPECT_EQ(own.rect, (Rect{1000, 100, 1900, 700}));  // unscaled page pixels
  EXPECT_FALSE(own.fromStartOfMonth);
  EXPECT_EQ(own.pastWeeks, 2);
  EXPECT_EQ(own.rows, 7);
  EXPECT_EQ(VisibleOnPage(own.rect, page), (Rect{1000, 100, 1440, 700}));
  EXPECT_TRUE(VisibleOnPage({1500, 100, 1900, 700}, page).Empty());
}

TEST(PrintPageTest, OptionRules) {
  struct Case {
    bool blank, entryName;
    bool entryNameEnabled;
    int32_t titleMode;
  };
  const Case titles[] = {
      {false, false, true, 4}, {false, true, true, 3}, {true, false, false, 4}, {true, true, false, 4}};
  for (const Case& c : titles) {
    Settings s;
    s.CheckPrintBlank = c.blank;
    s.CheckPrintEntryName = c.entryName;
    EXPECT_EQ(PrintEntryNameEnabled(s), c.entryNameEnabled) << c.blank << c.entryName;
    EXPECT_EQ(PrintTitleMode(s), c.titleMode) << c.blank << c.entryName;
  }
  // The overlay box only where it changes the page: an overlay to draw, on a picture.
  for (bool overlay : {false, true}) {
    for (bool background : {false, true}) {
      Settings s;
      s.Overlay = overlay;
      s.CheckPrintIncludeBackground = background;
      s.CheckPrintOverlay = true;
      EXPECT_EQ(PrintOverlayEnabled(s), overlay && background) << overlay << background;
      EXPECT_EQ(PrintPlainBackground(s), background ? std::nullopt : std::optional<Pixel>(0xFFFFFFFF));
    }
  }
  // The zoom slider's steps of 5 within 10..50.
  const std::pair<int32_t, int32_t> zooms[] = {{10, 10}, {12, 10}, {13, 15}, {47, 45}, {48, 50}, {50, 50},
                                               {-3, 10}, {0, 10},  {51, 50}, {1000, 50}};
  for (const auto& [position, snapped] : zooms) EXPECT_EQ(SnapPrintZoom(position), snapped) << position;
}

TEST(PrintPageTest, OptionBoxesAreTheStoredSettingsOfSectionPrint) {
  // Every box is saved under its own name in section Print, bound to the same field.
  Settings s;
  std::set<std::string> stored, boxes;
  for (const SettingField& f : SettingsTable()) {
    if (std::string_view(f.section) != "Print") continue;
    stored.insert(f.name);
    const auto it = std::find_if(PrintOptionBoxes().begin(), PrintOptionBoxes().end(),
                                 [&](const PrintOptionBox& b) { return b.control == f.name; });
    ASSERT_NE(it, PrintOptionBoxes().end()) << f.name;
    EXPECT_EQ(&std::get<bool& (*)(Settings&)>(f.ref)(s), &(s.*it->flag)) << f.name;
  }
  for (const PrintOptionBox& b : PrintOptionBoxes()) boxes.insert(std::string(b.control));
  EXPECT_EQ(boxes, stored);
  EXPECT_EQ(PrintOptionBoxes().size(), 10u);
}

TEST(PrintPageTest, DeletePrintTempFilesLeavesOtherFiles) {
  const test::TempDir temp;
  const std::filesystem::path& dir = temp.Path();
  std::filesystem::create_directories(dir / "OV3folder");
  for (const char* name : {"OV31A2B.tmp", "ov3ff.tmp", "OV4.tmp", "keep.bmp", "XOV3.tmp"})
    std::ofstream(dir / name) << "x";
  EXPECT_EQ(DeletePrintTempFiles(dir), 2);
  std::set<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(dir)) left.insert(e.path().filename().string());
  EXPECT_EQ(left, (std::set<std::string>{"OV3folder", "OV4.tmp", "keep.bmp", "XOV3.tmp"}));
  EXPECT_EQ(DeletePrintTempFiles(dir / "missing"), 0);
}

TEST(PrintPageTest, TempFileNamesAndJobTitle) {
  EXPECT_EQ(PrintJobTitle({4800, 6600}), "Orvinta Image (4800 x 6600)");
  EXPECT_EQ(TempFileName("OV3", 0x1A2B), "OV31A2B.tmp");
  EXPECT_EQ(TempFileName("OV3", 1), "OV31.tmp");
  EXPECT_EQ(TempFileName("OVERLONG", 0xFFFF), "OVEFFFF.tmp");
  EXPECT_EQ(TempFileName("打印机x", 2), "打印机2.tmp");  // characters, not bytes
  EXPECT_EQ(TempFileName("", 5), "5.tmp");
  for (const char* yes : {"OV31A2B.tmp", "ov3abc.bmp", "Ov3"}) EXPECT_TRUE(IsPrintTempFile(yes)) << yes;
  for (const char* no : {"OV", "XOV3.tmp", "OV4.tmp", ""}) EXPECT_FALSE(IsPrintTempFile(no)) << no;
}

TEST(PrintPageTest, MakeTempFileNameSkipsTakenNamesAndStopsOnFailure) {
  const std::filesystem::path folder = "tmp";
  std::set<std::string> taken = {"OV3FFFF.tmp", "OV31.tmp"};
  std::vector<std::string> tried;
  auto create = [&](const std::filesystem::path& p) {
    const std::string name = p.filename().string();
    tried.push_back(name);
    return taken.insert(name).second ? CreateResult::Created : CreateResult::Exists;
  };
  // From FFFF the numbers wrap past 0 to 1, which is taken too.
  auto p = MakeTempFileName(folder, "OV3", 0xFFFF, create);
  ASSERT_TRUE(p);
  EXPECT_EQ(*p, folder / "OV32.tmp");
  EXPECT_EQ(tried, (std::vector<std::string>{"OV3FFFF.tmp", "OV31.tmp", "OV32.tmp"}));

  EXPECT_FALSE(MakeTempFileName(folder, "OV3", 7, [](const std::filesystem::path&) { return CreateResult::Failed; }));
  int calls = 0;
  EXPECT_FALSE(MakeTempFileName(folder, "OV3", 7, [&](const std::filesystem::path&) {
    ++calls;
    return CreateResult::Exists;
  }));
  EXPECT_EQ(calls, 0xFFFF);  // every number once, then gives up
}

}  // namespace
}  // namespace ov
