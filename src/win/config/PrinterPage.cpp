#include "win/config/PrinterPage.h"

#include <commctrl.h>

#include <algorithm>

#include "core/print/PrintBackground.h"
#include "core/print/PrintPage.h"
#include "core/render/Resample.h"
#include "core/util/FileIo.h"
#include "win/app/App.h"
#include "win/platform/DateConvert.h"
#include "win/platform/Utf16.h"
#include "win/ui/MessageBoxes.h"
#include "win/ui/ModalScope.h"

namespace ov {

namespace {

// The preview stands in for the page when no printer answers.
constexpr Size kNoPrinterLayout{400, 300};

// What the print button reports when the page cannot go to the printer.
constexpr char kNoPrintImageMessage[] = "没有可打印的日历图像。";
constexpr char kPrintFailedMessage[] = "无法打印日历：打印机报告了错误。";

bool IsChecked(HWND h) { return SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Check(HWND h, bool on) { SendMessageW(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

CreateResult CreateNewFile(const std::filesystem::path& file) {
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    return CreateResult::Created;
  }
  const DWORD e = GetLastError();
  return e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS ? CreateResult::Exists : CreateResult::Failed;
}

}  // namespace

void PrinterPage::Create(HWND page, const std::function<int(int)>& scale, HFONT font) {
  page_ = page;
  auto add = [&](const wchar_t* cls, std::string_view text, DWORD style, int x, int y, int w, int h) {
    HWND c = CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, scale(x), scale(y), scale(w),
                             scale(h), page, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (c && font) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  // Group "选项": the option boxes in two columns.
  add(L"BUTTON", "选项", BS_GROUPBOX, 4, 2, 330, 160);
  const std::vector<PrintOptionBox>& options = PrintOptionBoxes();
  for (size_t i = 0; i < options.size(); ++i) {
    const int column = static_cast<int>(i) / 5, row = static_cast<int>(i) % 5;
    boxes_.push_back(add(L"BUTTON", options[i].caption, BS_AUTOCHECKBOX | WS_TABSTOP, 16 + column * 160, 20 + row * 27,
                         150, 18));
  }
  // Group "选择年月": the month printed.
  add(L"BUTTON", "选择年月", BS_GROUPBOX, 340, 2, 228, 52);
  datePicker_ = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT,
                                scale(352), scale(22), scale(150), scale(22), page, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
  if (datePicker_) {
    if (font) SendMessageW(datePicker_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(datePicker_, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"yyyy'年'M'月'"));
    SetWindowSubclass(datePicker_, &PrinterPage::DatePickerKeys, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  // The page image's resolution as a share of the printer's.
  add(L"STATIC", "图像分辨率", SS_LEFT, 344, 64, 100, 14);
  slider_ = add(TRACKBAR_CLASSW, "", TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 340, 80, 228, 30);
  SendMessageW(slider_, TBM_SETRANGE, FALSE, MAKELPARAM(kMinPrintZoom, kMaxPrintZoom));
  SendMessageW(slider_, TBM_SETTICFREQ, 5, 0);
  SendMessageW(slider_, TBM_SETLINESIZE, 0, 5);
  SendMessageW(slider_, TBM_SETPAGESIZE, 0, 5);
  printButton_ = add(L"BUTTON", "打印日历", BS_PUSHBUTTON | WS_TABSTOP, 344, 126, 120, 28);
}

HWND PrinterPage::Find(std::string_view control) const {
  const std::vector<PrintOptionBox>& options = PrintOptionBoxes();
  for (size_t i = 0; i < options.size() && i < boxes_.size(); ++i)
    if (options[i].control == control) return boxes_[i];
  return nullptr;
}

void PrinterPage::Load() {
  if (!page_) return;
  const std::vector<PrintOptionBox>& options = PrintOptionBoxes();
  for (size_t i = 0; i < options.size() && i < boxes_.size(); ++i) Check(boxes_[i], app_.settings.*options[i].flag);
  ApplyOverlayEnabling();
  EnableWindow(Find("CheckPrintEntryName"), PrintEntryNameEnabled(app_.settings));
  // A value set by hand between the steps is shown and used as the nearest step.
  app_.settings.PrintZoomFactor = SnapPrintZoom(app_.settings.PrintZoomFactor);
  SendMessageW(slider_, TBM_SETPOS, TRUE, app_.settings.PrintZoomFactor);
  ShowDisplayDate();
}

void PrinterPage::ApplyOverlayEnabling() {
  EnableWindow(Find("CheckPrintOverlay"), PrintOverlayEnabled(app_.settings));
}

void PrinterPage::ShowDisplayDate() {
  if (!datePicker_) return;
  SYSTEMTIME st = SystemTimeFromDays(app_.DisplayDate);
  SendMessageW(datePicker_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

bool PrinterPage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!page_) return false;
  switch (msg) {
    case WM_COMMAND: {
      if (HIWORD(wp) != BN_CLICKED) return false;
      HWND from = reinterpret_cast<HWND>(lp);
      if (from == printButton_) {
        But_PrintClick();
      } else if (std::find(boxes_.begin(), boxes_.end(), from) != boxes_.end()) {
        OptionClicked(from);
      } else {
        return false;
      }
      result = 0;
      return true;
    }
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
      if (hdr->hwndFrom != datePicker_) return false;
      if (hdr->code == DTN_CLOSEUP) DatePicker1CloseUp();
      result = 0;
      return true;
    }
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lp) != slider_) return false;
      // The end of a drag repeats the last position.
      if (LOWORD(wp) != TB_ENDTRACK) SliderPrintZoomChange();
      result = 0;
      return true;
    default:
      return false;
  }
}

void PrinterPage::OptionClicked(HWND box) {
  const std::vector<PrintOptionBox>& options = PrintOptionBoxes();
  const auto at = static_cast<size_t>(std::find(boxes_.begin(), boxes_.end(), box) - boxes_.begin());
  if (at >= options.size()) return;
  const PrintOptionBox& option = options[at];
  app_.settings.*option.flag = IsChecked(box);
  if (!app_.ControlsReady) return;
  const std::string_view name = option.control;
  if (name == "CheckPrintLandscape") {
    // The page turns: the preview takes the new proportions and is redrawn.
    if (layoutPreview_) layoutPreview_();
    return;
  }
  if (name == "CheckPrintFullsizeCalendar" || name == "CheckPrintIncludeBackground" || name == "CheckPrintOverlay")
    ApplyOverlayEnabling();
  if (name == "CheckPrintBlank") EnableWindow(Find("CheckPrintEntryName"), PrintEntryNameEnabled(app_.settings));
  if (updatePreview_) updatePreview_();
}

void PrinterPage::SliderPrintZoomChange() {
  const auto raw = static_cast<int32_t>(SendMessageW(slider_, TBM_GETPOS, 0, 0));
  const int32_t zoom = SnapPrintZoom(raw);
  if (zoom != raw) SendMessageW(slider_, TBM_SETPOS, TRUE, zoom);
  if (zoom == app_.settings.PrintZoomFactor) return;
  app_.settings.PrintZoomFactor = zoom;
  if (app_.ControlsReady && updatePreview_) updatePreview_();
}

void PrinterPage::DatePicker1CloseUp() {
  SYSTEMTIME st{};
  if (SendMessageW(datePicker_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return;
  app_.DisplayDate = DaysFromSystemTime(st);
  if (updatePreview_) updatePreview_();
}

LRESULT CALLBACK PrinterPage::DatePickerKeys(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                             DWORD_PTR self) noexcept {
  // Enter in the picker takes the date as a close-up does, instead of reaching the window.
  if (msg == WM_GETDLGCODE && lp && reinterpret_cast<const MSG*>(lp)->wParam == VK_RETURN)
    return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, msg, wp, lp);
  if (msg == WM_KEYDOWN && wp == VK_RETURN) {
    try {
      reinterpret_cast<PrinterPage*>(self)->DatePicker1CloseUp();
    } catch (...) {
      // A failed redraw leaves the previous preview; nothing unwinds into the system.
    }
    return 0;
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &PrinterPage::DatePickerKeys, 1);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

std::optional<Size> PrinterPage::QueryPrinter() {
  const bool landscape = app_.settings.CheckPrintLandscape;
  printer_.SetLandscape(landscape);
  layoutPage_ = printer_.PageSize();
  layoutLandscape_ = landscape;
  layoutKnown_ = true;
  return layoutPage_;
}

void PrinterPage::TabShown() {
  // The preview was laid out just before with the answer of the last visit; a printer
  // added, removed or changed since then lays it out again.
  const std::optional<Size> before = layoutPage_;
  const bool printer = QueryPrinter().has_value();
  if (layoutPage_ != before && layoutPreview_) layoutPreview_();
  EnableWindow(printButton_, printer);
  EnableWindow(Find("CheckPrintLandscape"), printer);
}

Size PrinterPage::PreviewLayoutSize() {
  // Sizing the window lays the preview out many times a second: the printer is asked
  // again only when the orientation changed or the tab was entered anew.
  if (!layoutKnown_ || layoutLandscape_ != app_.settings.CheckPrintLandscape) QueryPrinter();
  return layoutPage_.value_or(kNoPrinterLayout);
}

void PrinterPage::RenderPrintImage(TBitmap32& preview, HWND owner) {
  if (preview.Empty() || !app_.Props || !app_.Renderer) return;
  PrintImageSave saved;
  {
    // The window comes back enabled also when rendering, encoding or saving throws (a
    // large page can run out of memory).
    BusyWindow busy(owner);
    saved = RenderAndSave(preview);
  }
  for (const std::string& message : saved.messages) {
    if (message == kNoTempFileMessage)
      MessageBoxW(owner, Widen(message).c_str(), Widen(kApplicationTitle).c_str(), MB_OK);
    else
      ErrorBox(owner, message);
  }
}

PrintImageSave PrinterPage::RenderAndSave(TBitmap32& preview) {
  printer_.SetLandscape(app_.settings.CheckPrintLandscape);
  const std::optional<Size> device = printer_.PageSize();
  const TBitmap32 page = RenderPrintPage(app_.settings, *app_.Renderer, *app_.Props, &app_.Overlay, device,
                                         app_.DisplayDate, app_.Clock.Now());
  ResampleInto(preview, {0, 0, preview.Width(), preview.Height()}, page, {0, 0, page.Width(), page.Height()},
               StretchFilter::Spline, DrawMode::Opaque);

  const std::filesystem::path folder = app_.Folders.tempFolder;
  const PrintImageSave saved = SavePrintImage(
      page, printImageFile_,
      [&] { return MakeTempFileName(folder, kPrintTempPrefix, static_cast<uint16_t>(GetTickCount()), CreateNewFile); },
      [](const std::filesystem::path& file, const std::string& bytes) { return WriteFileAtomic(file, bytes); },
      [](int ms) { Sleep(static_cast<DWORD>(ms)); });
  printImageFile_ = saved.file;
  return saved;
}

void PrinterPage::But_PrintClick() {
  printer_.SetLandscape(app_.settings.CheckPrintLandscape);
  if (!printer_.ShowPrintDialog(Owner())) return;
  const std::optional<Dib24> bitmap =
      printImageFile_.empty() ? std::nullopt : Dib24::Load(app_.Decoder, printImageFile_);
  if (!bitmap) {
    ErrorBox(Owner(), kNoPrintImageMessage);
    return;
  }
  if (printer_.PrintPage(*bitmap) != PrinterDevice::JobResult::Printed) ErrorBox(Owner(), kPrintFailedMessage);
}

}  // namespace ov
