#pragma once
// TFontComboBox: an owner-drawn list of the screen's font families, each name once and
// sorted, with a glyph for TrueType and device families and every name drawn in its own
// typeface. A thin wrapper around a combo box its dialog creates; the dialog forwards the
// owner-draw messages.
#include <windows.h>

#include <string>
#include <vector>

#include "core/config/FontDialogRules.h"

namespace ov {

class TFontComboBox {
 public:
  TFontComboBox() = default;
  ~TFontComboBox();
  TFontComboBox(const TFontComboBox&) = delete;
  TFontComboBox& operator=(const TFontComboBox&) = delete;

  // Takes over a combo box created with CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, its font set;
  // dpi scales the glyphs. The list is filled when a name is first selected: enumerating
  // the families is a good part of a dialog made at start-up and shown seldom.
  void Attach(HWND combo, int dpi);
  HWND Handle() const { return hwnd_; }
  // The control's font and DPI changed: the glyphs and the item height follow.
  void SetDpi(int dpi);

  // Enumerates the families again (the system's font set changed), keeping the name shown.
  void Rebuild();
  // Selects the family of that name (ignoring case), filling the list first if need be;
  // an unknown name clears the selection and stays as the text.
  void SetFontName(const std::string& name);
  std::string FontName() const;
  const std::vector<FontFamilyItem>& Items() const { return items_; }
  int ItemHeight() const { return itemHeight_; }

  void DrawItem(const DRAWITEMSTRUCT& di) const;

 private:
  void Fill();
  void MeasureItems();

  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  int itemHeight_ = 16;
  std::vector<FontFamilyItem> items_;
  bool filled_ = false;
  HBITMAP trueType_ = nullptr;
  HBITMAP device_ = nullptr;
};

// The screen's font families as the system reports them.
std::vector<FontFamilyRecord> EnumerateScreenFontFamilies();
// Draws a bitmap resource scaled into a rectangle, leaving its bottom-left pixel's colour out.
void DrawTransparentGlyph(HDC dc, HBITMAP glyph, const RECT& target);

}  // namespace ov
