#pragma once
// The tab "打印机": the print options, the zoom slider, the month picker and the print
// button; the page image rendered on each preview redraw of this tab, kept in a
// temporary file; and printing that file.
#include <windows.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/print/PrintBackground.h"
#include "core/render/Bitmap32.h"
#include "win/print/PrinterDevice.h"

namespace ov {

struct App;

class PrinterPage {
 public:
  // updatePreview redraws the preview (UpdatePreview); layoutPreview lays it out again
  // for the tab (PanelPreviewResize).
  PrinterPage(App& app, std::function<void()> updatePreview, std::function<void()> layoutPreview)
      : app_(app), updatePreview_(std::move(updatePreview)), layoutPreview_(std::move(layoutPreview)) {}

  // Builds the controls on `page`; coordinates in 96-dpi units that `scale` turns into
  // pixels.
  void Create(HWND page, const std::function<int(int)>& scale, HFONT font);
  // The controls from the settings, with the enabled states that follow them.
  void Load();
  // WM_COMMAND, WM_NOTIFY and WM_HSCROLL of the page's controls; true when handled.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // The tab became active: the print button and the orientation box are enabled only
  // when a printer answers. Silent otherwise.
  void TabShown();
  // The overlay box's enabled state (it depends on the overlay tab's switch too).
  void ApplyOverlayEnabling();
  // The picker shows DisplayDate.
  void ShowDisplayDate();
  // The page proportions the preview is laid out for: the printer's page in the chosen
  // orientation, or 400 x 300 without a printer.
  Size PreviewLayoutSize();

  // Renders the page image of DisplayDate's month, draws it scaled into preview and
  // saves it as the file the print button prints. owner gets the error boxes.
  void RenderPrintImage(TBitmap32& preview, HWND owner);
  // The print dialog, then the last saved page image on one page.
  void But_PrintClick();

  const std::filesystem::path& PrintImageFile() const { return printImageFile_; }

 private:
  HWND Owner() const { return GetAncestor(page_, GA_ROOT); }
  HWND Find(std::string_view control) const;
  void OptionClicked(HWND box);
  void SliderPrintZoomChange();
  void DatePicker1CloseUp();
  // Asks the printer for its page in the chosen orientation and keeps the answer for
  // the preview layout.
  std::optional<Size> QueryPrinter();
  // RenderPrintImage's work: the page image into the preview and into the print file.
  PrintImageSave RenderAndSave(TBitmap32& preview);
  static LRESULT CALLBACK DatePickerKeys(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR self) noexcept;

  App& app_;
  std::function<void()> updatePreview_, layoutPreview_;
  HWND page_ = nullptr;
  std::vector<HWND> boxes_;  // in the order of PrintOptionBoxes()
  HWND slider_ = nullptr, datePicker_ = nullptr, printButton_ = nullptr;
  PrinterDevice printer_;
  std::filesystem::path printImageFile_;  // the last page image saved, empty at start
  std::optional<Size> layoutPage_;        // the printer's answer for the preview layout
  bool layoutLandscape_ = true;
  bool layoutKnown_ = false;
};

}  // namespace ov
