#pragma once
// TFFont "选择字体": the program's own modal font chooser for the calendar's caption and
// entry fonts, each with its colour: family list with type glyphs, size list, style boxes,
// colour box and a live sample. Created once at start-up and reused.
#include <windows.h>

#include "core/config/FontDialogRules.h"
#include "core/render/FontSpec.h"
#include "win/config/FontComboBox.h"
#include "win/ui/Dialog.h"

namespace ov {

// Control ids (the style boxes carry their tags 1..4 as offsets).
enum FontDialogId : int {
  kIdFontCombo = 100,
  kIdComboSize = 101,
  kIdCheckItalic = 111,
  kIdCheckBold = 112,
  kIdCheckUnderlined = 113,
  kIdCheckStrike = 114,
  kIdColorBox = 120,
  kIdPanelPreview = 130,
};

class TFFont final : public Dialog {
 public:
  TFFont() = default;
  ~TFFont() override;

  bool Create(HWND owner);
  // Shows the modal "选择字体" dialog on `font`; on OK copies face, size, style and colour
  // back and returns true; on Cancel leaves `font` untouched and returns false.
  bool Execute(FontSpec& font);

  // The working copy the sample shows (for tests and the owner's own preview).
  const FontSpec& Sample() const { return model_.Sample(); }

 protected:
  void DpiChanged(UINT fromDpi, UINT toDpi) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void CreateStyleBox(int id, const wchar_t* caption, int x, int y);
  void SelectColor(uint32_t color);
  void ColorBoxChanged();
  void StyleBoxChanged();
  void SampleChanged();
  void DrawColorItem(const DRAWITEMSTRUCT& di) const;
  void DrawPreview(const DRAWITEMSTRUCT& di) const;
  void FreeFonts();

  FontDialogModel model_;
  TFontComboBox fontCombo_;
  HWND comboSize_ = nullptr;
  HWND colorBox_ = nullptr;
  HWND preview_ = nullptr;
  HFONT styleFonts_[4] = {};
  HFONT sampleFont_ = nullptr;
  uint32_t customColor_ = 0x000000;
  int colorIndex_ = 0;
  bool filling_ = false;  // controls are being set from the font: no notifications
};

}  // namespace ov
