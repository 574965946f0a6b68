#pragma once
// The decisions of the font dialog, apart from its window: which font families its list
// offers and in which order, the list's item height, the size entries, the sample's
// background, and the working copy of the font that every control writes into.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/render/FontSpec.h"

namespace ov {

enum class FontType : uint8_t { Raster, Device, TrueType };

// One family as the system's font enumeration reports it (a family comes once per
// character set it supports).
struct FontFamilyRecord {
  std::string name;  // UTF-8
  uint8_t charSet = 1;
  FontType type = FontType::TrueType;
};

// One item of the family list.
struct FontFamilyItem {
  std::string name;
  FontType type = FontType::TrueType;
  bool ownTypeface = true;  // the name may be drawn in the family's own typeface
};

constexpr uint8_t kSymbolCharSet = 2;

// Every family once (names compared ignoring case, the first record kept), sorted ignoring
// case. Symbol-charset records and the vertical-writing variants ("@" names) are left out.
std::vector<FontFamilyItem> BuildFontFamilyList(const std::vector<FontFamilyRecord>& records);
// The item whose name equals `name` ignoring case.
std::optional<size_t> FindFontFamily(const std::vector<FontFamilyItem>& items, std::string_view name);

// The height of a family-list item: the control font's text height + 1, at least 9; a
// TrueType glyph taller than that + 1 makes it the glyph's height - 1.
int FontItemHeight(int textHeight, int trueTypeGlyphHeight);

// The size list: "6" .. "32".
constexpr int kFirstSizeEntry = 6;
constexpr int kLastSizeEntry = 32;
std::vector<std::string> SizeEntries();
// The entry that shows `points`, nullopt when the size is not in the list.
std::optional<int> SizeEntryIndex(int points);
// The size a chosen entry's text stands for: digits only, else nothing.
std::optional<int> SizeFromEntryText(std::string_view text);

// The sample's background for a font colour (platform colour, system colours resolved):
// black when the mean of red, green and blue is at least 128, else white. Returned as a
// platform colour.
uint32_t SampleBackground(uint32_t fontColor);

// The four style boxes.
struct FontStyleBoxes {
  bool italic = false, bold = false, underline = false, strikeOut = false;
  bool operator==(const FontStyleBoxes& o) const {
    return italic == o.italic && bold == o.bold && underline == o.underline && strikeOut == o.strikeOut;
  }
};

// The colour list: the default entry and the sixteen standard colours with their names,
// after the custom-colour entry.
struct NamedColor {
  uint32_t color;    // platform colour
  const char* name;  // UTF-8
};
constexpr uint32_t kDefaultFontColor = 0xFF000008;  // the system's window-text colour
extern const char kCustomColorName[];
extern const NamedColor kFontColorList[17];  // [0] is the default entry
// The list entry (0..16) of a colour; nullopt for a colour that goes into the custom entry.
std::optional<int> FontColorEntry(uint32_t color);

// The working copy of the font being edited: what the sample shows and what OK hands back.
class FontDialogModel {
 public:
  // Opens on a font: the copy takes it, with its style rebuilt from its own style boxes.
  void Open(const FontSpec& font);

  void ChooseFamily(const std::string& name) { sample_.face = name; }
  // A size entry was chosen; text that is not a size changes nothing.
  void ChooseSizeEntry(std::string_view text);
  // Any of the four boxes changed: the style is rebuilt from scratch.
  void SetStyleBoxes(const FontStyleBoxes& boxes);
  void SetColor(uint32_t color) { sample_.color = color; }

  const FontSpec& Sample() const { return sample_; }
  FontStyleBoxes StyleBoxes() const;
  uint32_t Background() const { return SampleBackground(sample_.color); }
  // OK: face, size, colour and style go back into `font`.
  void CopyBack(FontSpec& font) const;

 private:
  FontSpec sample_;
};

}  // namespace ov
