#include "core/config/FontDialogRules.h"

#include <algorithm>

#include "core/render/Color.h"
#include "core/util/Text.h"

namespace ov {

const char kCustomColorName[] = "自定义...";

const NamedColor kFontColorList[17] = {
    {kDefaultFontColor, "默认"}, {0x000000, "黑色"},   {0x000080, "褐红色"}, {0x008000, "绿色"},
    {0x008080, "橄榄色"},        {0x800000, "深蓝色"}, {0x800080, "紫色"},   {0x808000, "深青色"},
    {0x808080, "灰色"},          {0xC0C0C0, "银色"},   {0x0000FF, "红色"},   {0x00FF00, "亮绿色"},
    {0x00FFFF, "黄色"},          {0xFF0000, "蓝色"},   {0xFF00FF, "洋红色"}, {0xFFFF00, "青色"},
    {0xFFFFFF, "白色"},
};

std::vector<FontFamilyItem> BuildFontFamilyList(const std::vector<FontFamilyRecord>& records) {
  std::vector<FontFamilyItem> items;
  std::vector<std::string> keys;  // lower-case names, parallel to items
  for (const FontFamilyRecord& r : records) {
    if (r.name.empty() || r.name[0] == '@' || r.charSet == kSymbolCharSet) continue;
    std::string key = ToLowerAscii(r.name);
    if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
    keys.push_back(std::move(key));
    items.push_back({r.name, r.type, true});
  }
  std::vector<size_t> order(items.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
  std::vector<FontFamilyItem> sorted;
  sorted.reserve(items.size());
  for (size_t i : order) sorted.push_back(std::move(items[i]));
  return sorted;
}

std::optional<size_t> FindFontFamily(const std::vector<FontFamilyItem>& items, std::string_view name) {
  for (size_t i = 0; i < items.size(); ++i)
    if (EqualsIgnoreCaseAscii(items[i].name, name)) return i;
  return std::nullopt;
}

int FontItemHeight(int textHeight, int trueTypeGlyphHeight) {
  int h = std::max(textHeight + 1, 9);
  if (trueTypeGlyphHeight > h + 1) h = trueTypeGlyphHeight - 1;
  return h;
}

std::vector<std::string> SizeEntries() {
  std::vector<std::string> entries;
  for (int s = kFirstSizeEntry; s <= kLastSizeEntry; ++s) entries.push_back(std::to_string(s));
  return entries;
}

std::optional<int> SizeEntryIndex(int points) {
  if (points < kFirstSizeEntry || points > kLastSizeEntry) return std::nullopt;
  return points - kFirstSizeEntry;
}

std::optional<int> SizeFromEntryText(std::string_view text) {
  // More than four digits is no font size; it would also overflow the height.
  if (text.empty() || text.size() > 4) return std::nullopt;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v == 0) return std::nullopt;
  return v;
}

uint32_t SampleBackground(uint32_t fontColor) {
  Pixel p = ToArgb(fontColor);
  return RedOf(p) + GreenOf(p) + BlueOf(p) >= 3 * 128 ? 0x000000u : 0xFFFFFFu;
}

std::optional<int> FontColorEntry(uint32_t color) {
  for (int i = 0; i < 17; ++i)
    if (kFontColorList[i].color == color) return i;
  return std::nullopt;
}

void FontDialogModel::Open(const FontSpec& font) {
  sample_ = font;
  FontStyleBoxes boxes{font.italic, font.Bold(), font.underline, font.strikeOut};
  SetStyleBoxes(boxes);
}

void FontDialogModel::ChooseSizeEntry(std::string_view text) {
  if (std::optional<int> points = SizeFromEntryText(text)) sample_.SetPointSize(*points);
}

void FontDialogModel::SetStyleBoxes(const FontStyleBoxes& boxes) {
  sample_.italic = boxes.italic;
  sample_.weight = boxes.bold ? 700 : 400;
  sample_.underline = boxes.underline;
  sample_.strikeOut = boxes.strikeOut;
}

FontStyleBoxes FontDialogModel::StyleBoxes() const {
  return {sample_.italic, sample_.Bold(), sample_.underline, sample_.strikeOut};
}

void FontDialogModel::CopyBack(FontSpec& font) const {
  font.face = sample_.face;
  font.height = sample_.height;
  font.color = sample_.color;
  font.italic = sample_.italic;
  font.weight = sample_.weight;
  font.underline = sample_.underline;
  font.strikeOut = sample_.strikeOut;
}

}  // namespace ov
