#pragma once
// Colour codes: eight colours a day can be marked with (code 0 means holiday), stored per
// calendar year in one file of 370 little-endian 32-bit masks shared by all sections.
#include <array>
#include <cstdint>
#include <filesystem>

namespace ov {

// One item of the entry pop-up's colour-code menu "颜色代码".
struct ColorCodeItem {
  int index;             // the item's tag: colour code 0..7, -1 for "clear"
  const char* itemName;  // the menu item's name in the program
  const char* caption;   // menu caption
  uint32_t rgb;          // pixel colour 0xRRGGBB (unused for "clear")
};

// In menu order; bit i of a day's mask means colour i.
inline constexpr std::array<ColorCodeItem, 8> kColorCodeTable = {{
    {0, "mn_ColorCode", "红色 (假日)", 0xFF0000},
    {1, "Green1", "绿色", 0x00FF00},
    {2, "Blue1", "蓝色", 0x0000FF},
    {3, "Yellow1", "黄色", 0xFFFF00},
    {4, "Cyan1", "表色", 0x00FFFF},
    {5, "Lilac1", "粉红", 0xFF00FF},
    {6, "Black1", "暗色", 0x000000},
    {7, "White1", "亮色", 0xFFFFFF},
}};
// Follows a separator after the eight colours.
inline constexpr ColorCodeItem kColorCodeClearItem = {-1, "Clear1", "清除", 0};
// Menu caption of the colour-code sub-menu.
inline constexpr char kColorCodeMenuCaption[] = "颜色代码";

// Pixel colour 0xRRGGBB of colour code 0..7; 0 for any other index.
uint32_t ColorCodeRgb(int index);
// The colour code a mask shows: its lowest set bit among 0..7, or -1.
int ColorCodeOfMask(uint32_t mask);

inline constexpr int kCodesPerYear = 370;
inline constexpr size_t kCodesFileSize = kCodesPerYear * 4;  // 1480 bytes

using YearCodes = std::array<uint32_t, kCodesPerYear>;  // value k = day of year k + 1

// "Codes%d.dat" in the entries folder.
std::filesystem::path CodesFilePath(const std::filesystem::path& entriesFolder, int year);

struct YearCodesRead {
  YearCodes values{};     // all zero where the file has no data
  bool readable = true;   // false: a file is there but could not be read; its values are
                          // unknown and the year must not be written back from `values`
};

// Reads one codes file (as ReadYearCodes does, by its path).
YearCodesRead ReadCodesFile(const std::filesystem::path& file);

// Reads the year's file: a missing file gives zeros; a shorter file (1000 bytes) gives its
// whole values and zeros after them; a longer one only its first 1480 bytes.
YearCodesRead ReadYearCodes(const std::filesystem::path& entriesFolder, int year);

// Writes the 1480 bytes through a temporary file, so a failure keeps the old file whole.
// False on failure (nothing is reported to the user).
bool WriteYearCodes(const std::filesystem::path& entriesFolder, int year, const YearCodes& values);

// One year of codes held in memory (the year last read by the entry store).
struct CodesCache {
  int year = 0;  // 0 = none
  YearCodesRead codes;

  void Load(const std::filesystem::path& entriesFolder, int year);
  // The mask of a day (1-based day of year) of the cached year.
  uint32_t MaskOfDay(int dayOfYear) const;
};

// Changes day masks across years, one year file at a time: the year is read when the
// first of its days is set and written when another year is reached or on Flush. A year
// whose file exists but could not be read is left alone, so its other days keep their
// codes.
class YearCodesEditor {
 public:
  explicit YearCodesEditor(std::filesystem::path entriesFolder) : entriesFolder_(std::move(entriesFolder)) {}
  // Sets the mask of a whole day in 0001..9999 (other days are ignored).
  void Set(double date, uint32_t mask);
  // Writes the year being edited. False when a write failed (nothing is reported).
  bool Flush();

 private:
  std::filesystem::path entriesFolder_;
  int year_ = 0;
  YearCodesRead working_;
  bool dirty_ = false;
  bool ok_ = true;
};

}  // namespace ov
