// The preview area (chequered background, the preview picture, the apply button), the
// preview's content and its redraw timer, and releasing and restoring it around the
// window being hidden.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <ctime>

#include "core/config/PreviewContent.h"
#include "core/preview/PreviewGeometry.h"
#include "core/wallpaper/MonitorLayout.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/app/Timers.h"
#include "win/config/MainWindow.h"
#include "win/config/MainWindow_Hooks.h"
#include "win/wallpaper/DesktopWallpaper.h"

namespace ov {

namespace {

const wchar_t kPreviewPanelClass[] = L"OVPreviewPanel";
const wchar_t kPreviewBackClass[] = L"OVPreviewBack";

// PaintBoxChessboard: 8 x 8 squares of 0xB0B0B0 and 0xC0C0C0, as a 16 x 16 pattern.
HBRUSH ChessboardBrush() {
  static HBRUSH brush = [] {
    uint32_t bits[16 * 16];
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) bits[y * 16 + x] = ((x / 8) % 2 == (y / 8) % 2) ? 0xB0B0B0 : 0xC0C0C0;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC dc = GetDC(nullptr);
    HBITMAP bmp = CreateDIBitmap(dc, &bi.bmiHeader, CBM_INIT, bits, &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    HBRUSH b = CreatePatternBrush(bmp);
    DeleteObject(bmp);
    return b;
  }();
  return brush;
}

}  // namespace

void MainWindow::CreatePreviewArea() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(inst, kPreviewPanelClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &MainWindow::PreviewPanelProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPreviewPanelClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPreviewBackClass;
    RegisterClassExW(&wc);
  }
  // PanelPreviewBack: a lowered frame around the preview.
  previewBack_ = CreateWindowExW(WS_EX_CLIENTEDGE, kPreviewBackClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                 0, 10, 10, hwnd_, nullptr, inst, nullptr);
  previewPanel_ = CreateWindowExW(0, kPreviewPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 10, 10,
                                  previewBack_, nullptr, inst, nullptr);
  SetWindowLongPtrW(previewPanel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  HWND button = Add(previewPanel_, "ButtonUpdateWallpaper", L"BUTTON", "更新背景", BS_PUSHBUTTON | WS_TABSTOP, 0, 0,
                    120, 25);
  Find("ButtonUpdateWallpaper")->onChange = [this] { SetAsDesktopWallpaper1Click(); };
  (void)button;
}

LRESULT CALLBACK MainWindow::PreviewPanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    if ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_SETCURSOR || msg == WM_CONTEXTMENU ||
        msg == WM_CAPTURECHANGED) {
      LRESULT r = 0;
      if (self->OnPreviewMouse(msg, wp, lp, r)) return r;
    }
    switch (msg) {
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        self->PaintPreviewPanel(dc);
        EndPaint(hwnd, &ps);
        return 0;
      }
      case WM_ERASEBKGND:
        return 1;
      case WM_SIZE: {
        // ButtonUpdateWallpaper stays at the bottom right.
        HWND b = self->H("ButtonUpdateWallpaper");
        int w = self->Dpi(120), h = self->Dpi(25), m = self->Dpi(4);
        MoveWindow(b, LOWORD(lp) - w - m, HIWORD(lp) - h - m, w, h, TRUE);
        return 0;
      }
      case WM_COMMAND: {
        LRESULT r = 0;
        if (self->OnControlMessage(msg, wp, lp, r)) return r;
        break;
      }
      default:
        break;
    }
  } catch (...) {
    // A failed redraw leaves the previous picture; nothing unwinds into the system.
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void MainWindow::PaintPreviewPanel(HDC dc) {
  RECT rc;
  GetClientRect(previewPanel_, &rc);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  bool show = imagePreviewVisible_ && !preview_.Empty();
  if (show) ExcludeClipRect(dc, imagePreview_.left, imagePreview_.top, imagePreview_.right, imagePreview_.bottom);
  FillRect(dc, &rc, ChessboardBrush());
  SelectClipRgn(dc, nullptr);
  if (!show) return;
  // On the "面板" tab the label and the frame lie over the picture; the preview itself
  // stays as drawn, so moving the frame needs no redraw of the picture.
  const TBitmap32* shown = &preview_;
  if (panelFrame_.Visible()) {
    panelShown_ = preview_;
    DrawPanelLayers(panelShown_, panelLabel_, panelFrame_.Frame());
    shown = &panelShown_;
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = shown->Width();
  bi.bmiHeader.biHeight = -shown->Height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  SetDIBitsToDevice(dc, imagePreview_.left, imagePreview_.top, static_cast<DWORD>(shown->Width()),
                    static_cast<DWORD>(shown->Height()), 0, 0, 0, static_cast<UINT>(shown->Height()),
                    shown->Bits(), &bi, DIB_RGB_COLORS);
}

void MainWindow::LayoutPreview(int w, int h, bool restart) {
  RECT rc;
  GetClientRect(previewPanel_, &rc);
  const Rect r = LayoutPreviewRect(w, h, rc.right, rc.bottom);
  imagePreview_ = RECT{r.left, r.top, r.right, r.bottom};
  const Size size{static_cast<int32_t>(r.Width()), static_cast<int32_t>(r.Height())};
  if (imagePreviewVisible_) preview_.SetSize(size.width, size.height);
  // The library grid's second column follows here with the library.
  if (panelFrame_.Visible())
    panelFrame_.Place(app_.settings.CalendarRect, app_.WallpaperSize, size);
  InvalidateRect(previewPanel_, nullptr, FALSE);
  if (restart) schedule_.RestartDelay();
}

void MainWindow::PanelPreviewResize() {
  if (!previewPanel_) return;
  if (activeTab_ == MainTab::TabPrinter) {
    // The printer's page in the chosen orientation; without a printer 400 x 300.
    const Size page = printer_ ? printer_->PreviewLayoutSize() : Size{400, 300};
    LayoutPreview(page.width, page.height, true);
    return;
  }
  LayoutPreview(app_.WallpaperSize.width, app_.WallpaperSize.height, true);
}

void MainWindow::StartDelayTimer(uint32_t ms) { SetTimer(hwnd_, kTimerPreviewDelay, ms, nullptr); }
void MainWindow::StopDelayTimer() { KillTimer(hwnd_, kTimerPreviewDelay); }

void MainWindow::DrawPreview(PreviewQuality quality, bool adjust) {
  // 1.
  if (printer_) printer_->ShowDisplayDate();
  // 2.
  if (!app_.ControlsReady || !app_.Props || !app_.Renderer || preview_.Empty()) return;
  // 3.
  if (activeTab_ == MainTab::TabPrinter) {
    hooks::PrintPreview(app_);
    return;
  }
  // 4.-10.
  PreviewInput in{app_.settings, *app_.Props, &app_.Overlay, *app_.Renderer, app_.WallpaperSize};
  in.now = app_.Clock.Now();  // today's weeks, whatever month DisplayDate shows
  in.showCalendar =
      activeTab_ == MainTab::TabCalendar || activeTab_ == MainTab::TabEntries || activeTab_ == MainTab::TabDesktop;
  in.keepPicture = activeTab_ == MainTab::TabImageProcessing;
  in.taskbars = TaskbarRects(app_.Monitors);
  ComposePreview(preview_, in, quality, adjust, &previewCache_);
  // 11.
  InvalidateRect(previewPanel_, &imagePreview_, FALSE);
}

void MainWindow::ReleasePreview(bool saveProps) {
  schedule_.Cancel();
  previewCache_.Clear();
  preview_.SetSize(0, 0);
  imagePreviewVisible_ = false;
  InvalidateRect(previewPanel_, nullptr, FALSE);
  if (!app_.Props) return;
  if (saveProps && app_.Props->Modified()) app_.Props->WriteImageProps(app_.Props->ShownPicture());
  app_.ImagePropsModified = app_.Props->Modified();
  app_.Props->ShownPicture().SetSize(0, 0);
}

void MainWindow::RestorePreview() {
  imagePreviewVisible_ = true;
  PanelPreviewResize();
  hooks::SelectBackgroundRow(app_);
  ShowImageProperties();
  UpdatePreviewFast();
}

void MainWindow::SetAsDesktopWallpaper1Click() {
  ReleasePreview(true);
  // The picture last chosen in the library grid becomes the background.
  if (!app_.SelectedImage.empty()) app_.settings.WallpaperBackground = app_.SelectedImage;
  form_.UpdateWallpaper();
  RestorePreview();
  SetForegroundWindow(hwnd_);
}

}  // namespace ov
