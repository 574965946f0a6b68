#include <gtest/gtest.h>

#include "core/config/FontDialogRules.h"

namespace ov {
namespace {

std::vector<std::string> Names(const std::vector<FontFamilyItem>& items) {
  std::vector<std::string> names;
  for (const FontFamilyItem& i : items) names.push_back(i.name);
  return names;
}

TEST(FontFamilyList, OnceEachSortedIgnoringCaseWithoutSymbolOrVerticalFamilies) {
  const std::vector<FontFamilyRecord> records = {
      {"Tahoma", 0, FontType::TrueType},     {"宋体", 134, FontType::TrueType},
      {"Marlett", kSymbolCharSet, FontType::TrueType},
      {"arial", 0, FontType::TrueType},      {"Tahoma", 134, FontType::TrueType},
      {"@宋体", 134, FontType::TrueType},    {"System", 0, FontType::Raster},
      {"Courier", 0, FontType::Raster},      {"Arial", 161, FontType::Device},
      {"Symbol", kSymbolCharSet, FontType::TrueType},
      {"PrinterFace", 0, FontType::Device},  {"", 0, FontType::TrueType},
  };
  std::vector<FontFamilyItem> list = BuildFontFamilyList(records);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"arial", "Courier", "PrinterFace", "System", "Tahoma", "宋体"}));
  // The first record of a name decides its type; every listed family may show its own face.
  EXPECT_EQ(list[0].type, FontType::TrueType);
  EXPECT_EQ(list[1].type, FontType::Raster);
  EXPECT_EQ(list[2].type, FontType::Device);
  for (const FontFamilyItem& i : list) EXPECT_TRUE(i.ownTypeface) << i.name;

  EXPECT_EQ(FindFontFamily(list, "ARIAL"), 0u);
  EXPECT_EQ(FindFontFamily(list, "宋体"), 5u);
  EXPECT_FALSE(FindFontFamily(list, "Marlett"));
  EXPECT_FALSE(FindFontFamily(list, "Tahom"));
}

TEST(FontFamilyList, ItemHeight) {
  struct Case {
    int text, glyph, expected;
  } cases[] = {
      {13, 12, 14},  // text height + 1
      {13, 15, 14},  // a glyph of h + 1 still fits
      {13, 16, 15},  // a taller glyph: its height - 1
      {5, 0, 9},     // at least 9
      {5, 11, 10},   // 9 + 1 < 11
      {20, 40, 39},
  };
  for (const Case& c : cases) EXPECT_EQ(FontItemHeight(c.text, c.glyph), c.expected) << c.text << " " << c.glyph;
}

TEST(FontSizeEntries, ListIndexAndEntryText) {
  std::vector<std::string> entries = SizeEntries();
  ASSERT_EQ(entries.size(), 27u);
  EXPECT_EQ(entries.front(), "6");
  EXPECT_EQ(entries.back(), "32");

  struct Case {
    int points;
    std::optional<int> index;
  } indexes[] = {{6, 0}, {10, 4}, {32, 26}, {5, std::nullopt}, {33, std::nullopt}, {40, std::nullopt}};
  for (const Case& c : indexes) EXPECT_EQ(SizeEntryIndex(c.points), c.index) << c.points;

  struct Text {
    const char* text;
    std::optional<int> size;
  } texts[] = {{"12", 12}, {"6", 6}, {"40", 40}, {"", std::nullopt},  {"1a", std::nullopt},
               {" 12", std::nullopt}, {"-8", std::nullopt}, {"0", std::nullopt}, {"99999", std::nullopt}};
  for (const Text& t : texts) EXPECT_EQ(SizeFromEntryText(t.text), t.size) << t.text;
}

TEST(FontSample, BackgroundStaysReadable) {
  struct Case {
    uint32_t color, background;
  } cases[] = {
      {0xC0FFFF, 0x000000},  // pale yellow: black
      {0x000000, 0xFFFFFF},  // black: white
      {0x808080, 0x000000},  // mean exactly 128: black
      {0x7F8080, 0xFFFFFF},  // mean just under 128: white
      {0x0000FF, 0xFFFFFF},  // pure red, mean 85: white
      {0xFF000008, 0xFFFFFF},  // window text (black in the classic colours): resolved first
      {0xFF000005, 0x000000},  // window background (white)
  };
  for (const Case& c : cases) EXPECT_EQ(SampleBackground(c.color), c.background) << std::hex << c.color;
}

TEST(FontColorList, StandardColoursDefaultAndCustom) {
  EXPECT_EQ(FontColorEntry(kDefaultFontColor), 0);
  EXPECT_EQ(FontColorEntry(0x000000), 1);
  EXPECT_EQ(FontColorEntry(0xFFFFFF), 16);
  EXPECT_FALSE(FontColorEntry(0xC0FFFF));  // goes into the custom entry
  for (int i = 0; i < 17; ++i) {
    for (int j = i + 1; j < 17; ++j) EXPECT_NE(kFontColorList[i].color, kFontColorList[j].color);
    EXPECT_EQ(FontColorEntry(kFontColorList[i].color), i);
  }
}

class FontDialogModelTest : public ::testing::Test {
 protected:
  FontDialogModelTest() {
    original.face = "Tahoma";
    original.SetPointSize(10);
    original.weight = 700;
    original.color = 0xC0FFFF;
    original.charSet = 134;
  }
  FontSpec original;
  FontDialogModel model;
};

TEST_F(FontDialogModelTest, OpeningRebuildsTheStyleFromTheBoxes) {
  FontSpec light = original;
  light.weight = 300;
  light.italic = true;
  light.strikeOut = true;
  model.Open(light);
  EXPECT_EQ(model.StyleBoxes(), (FontStyleBoxes{true, false, false, true}));
  EXPECT_EQ(model.Sample().weight, 400);
  FontSpec semibold = original;
  semibold.weight = 600;
  model.Open(semibold);
  EXPECT_EQ(model.Sample().weight, 700);
  EXPECT_EQ(model.Background(), 0x000000u);
}

TEST_F(FontDialogModelTest, EveryControlWritesTheCopyAndOkHandsItBack) {
  model.Open(original);
  model.ChooseFamily("宋体");
  model.ChooseSizeEntry("14");
  model.SetStyleBoxes({false, false, true, false});
  model.SetColor(0x000000);
  EXPECT_EQ(model.Background(), 0xFFFFFFu);
  FontSpec target = original;
  EXPECT_EQ(target.face, "Tahoma");  // nothing reaches the font before OK
  model.CopyBack(target);
  EXPECT_EQ(target.face, "宋体");
  EXPECT_EQ(target.PointSize(), 14);
  EXPECT_EQ(target.weight, 400);
  EXPECT_TRUE(target.underline);
  EXPECT_FALSE(target.italic);
  EXPECT_EQ(target.color, 0x000000u);
  EXPECT_EQ(target.charSet, 134);  // not the dialog's business
}

TEST_F(FontDialogModelTest, ASizeOutsideTheListStaysUnlessOneIsChosen) {
  original.SetPointSize(40);
  model.Open(original);
  EXPECT_FALSE(SizeEntryIndex(model.Sample().PointSize()));
  model.ChooseSizeEntry("4x");  // typed text that is no entry
  FontSpec target = original;
  model.CopyBack(target);
  EXPECT_EQ(target.PointSize(), 40);
  EXPECT_EQ(target.height, original.height);
  model.ChooseSizeEntry("8");
  model.CopyBack(target);
  EXPECT_EQ(target.PointSize(), 8);
}

}  // namespace
}  // namespace ov
