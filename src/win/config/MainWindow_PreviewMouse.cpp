// The mouse over the preview: dragging the picture, zooming it with the wheel, the
// preview's context menu, and the "面板" tab's frame that places the calendar panel.
#include <windows.h>
#include <windowsx.h>

#include "core/config/ConfigRules.h"
#include "core/preview/PreviewGeometry.h"
#include "core/wallpaper/MonitorLayout.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/config/MainWindow.h"
#include "win/ui/MenuTracking.h"

namespace ov {

namespace {

enum PreviewMenuId { kShowTaskbar1 = 1, kResetImage1, kSetBottomImage1, kClearBottomImage, kOpenImagesFolder1 };

LPCWSTR FrameCursor(uint8_t hit) {
  switch (hit) {
    case kFrameMove: return IDC_SIZEALL;
    case kFrameLeft:
    case kFrameRight: return IDC_SIZEWE;
    case kFrameTop:
    case kFrameBottom: return IDC_SIZENS;
    case kFrameLeft | kFrameTop:
    case kFrameRight | kFrameBottom: return IDC_SIZENWSE;
    case kFrameRight | kFrameTop:
    case kFrameLeft | kFrameBottom: return IDC_SIZENESW;
    default: return nullptr;
  }
}

}  // namespace

Point MainWindow::PreviewPoint(LPARAM clientLp) const {
  return {GET_X_LPARAM(clientLp) - imagePreview_.left, GET_Y_LPARAM(clientLp) - imagePreview_.top};
}

bool MainWindow::OnPreviewMouse(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const Point p = PreviewPoint(lp);
      if (!PtInRect(&imagePreview_, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) return false;
      ImagePreviewMouseDown(msg == WM_LBUTTONDOWN, p);
      return true;
    }
    case WM_MOUSEMOVE:
      ImagePreviewMouseMove(PreviewPoint(lp));
      return true;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
      ImagePreviewMouseUp();
      return true;
    case WM_RBUTTONUP:
      ImagePreviewMouseUp();
      return false;  // the default handling turns it into WM_CONTEXTMENU
    case WM_CAPTURECHANGED:
      // Capture taken away (a menu, another window): the drag ends where it is.
      if (pictureDragging_ || panelFrame_.Dragging()) ImagePreviewMouseUp();
      return false;
    case WM_CONTEXTMENU: {
      POINT screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (screen.x == -1 && screen.y == -1) {  // from the keyboard: at the preview's corner
        screen = POINT{imagePreview_.left, imagePreview_.top};
        ClientToScreen(previewPanel_, &screen);
      }
      POINT client = screen;
      ScreenToClient(previewPanel_, &client);
      if (!PtInRect(&imagePreview_, client) && !(GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1)) return false;
      PopupImagePreview(screen);
      return true;
    }
    case WM_MOUSEWHEEL: {
      POINT client{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ScreenToClient(previewPanel_, &client);
      if (!PtInRect(&imagePreview_, client)) return false;
      ImagePreviewMouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
      return true;
    }
    case WM_SETCURSOR: {
      if (LOWORD(lp) != HTCLIENT || reinterpret_cast<HWND>(wp) != previewPanel_) return false;
      POINT c;
      GetCursorPos(&c);
      ScreenToClient(previewPanel_, &c);
      if (!SetPreviewCursor(Point{c.x - imagePreview_.left, c.y - imagePreview_.top})) return false;
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

bool MainWindow::SetPreviewCursor(Point p) {
  LPCWSTR cursor = pictureDragging_ ? IDC_SIZEALL : FrameCursor(panelFrame_.HitTest(p));
  if (!cursor) return false;
  SetCursor(LoadCursorW(nullptr, cursor));
  return true;
}

void MainWindow::ImagePreviewMouseDown(bool leftButton, Point p) {
  // Any press gives the preview the focus, so the wheel comes here.
  SetFocus(previewPanel_);
  if (!app_.Props) return;
  if (leftButton && panelFrame_.Press(p)) {
    SetCapture(previewPanel_);
    SetPreviewCursor(p);
    return;
  }
  const bool onFrame = panelFrame_.HitTest(p) != kFrameNone;
  if (!StartsPictureDrag(leftButton, onFrame, app_.Props->Props(ImageSlot::Current))) return;
  pictureDragging_ = true;
  lastDrag_ = p;
  SetCapture(previewPanel_);
  SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
}

void MainWindow::ImagePreviewMouseMove(Point p) {
  if (panelFrame_.Dragging()) {
    if (std::optional<Rect> r = panelFrame_.MoveTo(p)) {
      app_.settings.CalendarRect = *r;
      InvalidateRect(previewPanel_, &imagePreview_, FALSE);
      UpdateWindow(previewPanel_);
    }
    return;
  }
  if (!pictureDragging_ || !app_.Props) return;
  if (p.x == lastDrag_.x && p.y == lastDrag_.y) return;
  TImageProps& props = app_.Props->Props(ImageSlot::Current);
  props.OffsetX = DraggedOffset(props.OffsetX, p.x, lastDrag_.x, preview_.Width(), app_.WallpaperSize.width);
  props.OffsetY = DraggedOffset(props.OffsetY, p.y, lastDrag_.y, preview_.Height(), app_.WallpaperSize.height);
  lastDrag_ = p;
  ImageEdited();
  UpdatePreviewDrag();
  UpdateWindow(previewPanel_);
  PushPreviewOffsets();
}

void MainWindow::PushPreviewOffsets() {
  if (!app_.Props) return;
  const TImageProps& props = app_.Props->Props(ImageSlot::Current);
  app_.ControlsReady = false;
  for (auto [name, value] : {std::pair{"SpinXOffset", props.OffsetX}, std::pair{"SpinYOffset", props.OffsetY}}) {
    TFrEdit* field = Spin(name);
    field->SetPosition(value);
    UpdateWindow(field->Handle());
  }
  app_.ControlsReady = true;
}

void MainWindow::ImagePreviewMouseUp() {
  if (panelFrame_.Dragging()) {
    panelFrame_.Release();
    if (GetCapture() == previewPanel_) ReleaseCapture();
    // A panel dropped partly off its monitor, or into a corner no monitor shows, moves
    // onto the monitor that holds its centre, where every cell can be seen and clicked.
    app_.settings.CalendarRect = CalendarRectOnItsMonitor(app_.settings.CalendarRect, app_.Monitors);
    panelFrame_.Place(app_.settings.CalendarRect, app_.WallpaperSize,
                      {static_cast<int32_t>(imagePreview_.right - imagePreview_.left),
                       static_cast<int32_t>(imagePreview_.bottom - imagePreview_.top)});
    InvalidateRect(previewPanel_, &imagePreview_, FALSE);
    return;
  }
  if (!pictureDragging_) return;
  pictureDragging_ = false;
  if (GetCapture() == previewPanel_) ReleaseCapture();
  PushPreviewOffsets();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void MainWindow::ImagePreviewMouseWheel(int delta) {
  if (delta == 0 || !app_.Props) return;
  // Wheel down (towards the user) zooms in. The zoom field's own change handling rescales
  // the offsets and redraws.
  const int32_t zoom = ZoomAfterWheel(Spin("SpinZoom")->Position(), delta < 0);
  Spin("SpinZoom")->SetPosition(zoom);
  // Show the redrawn preview before the next turn of the wheel is handled.
  UpdateWindow(previewPanel_);
}

void MainWindow::PopupImagePreview(POINT screen) {
  HMENU menu = CreatePopupMenu();
  const bool printer = activeTab_ == MainTab::TabPrinter;
  const bool bottomSet = !app_.settings.BottomImageFilename.empty();
  AppendMenuW(menu, MF_STRING | (app_.settings.PreviewTaskBar ? MF_CHECKED : 0) | (printer ? MF_GRAYED : 0),
              kShowTaskbar1, L"显示任务栏");
  AppendMenuW(menu, MF_STRING, kResetImage1, L"重置图像");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kSetBottomImage1, L"设置为底层图像");
  AppendMenuW(menu, MF_STRING | (bottomSet ? 0 : MF_GRAYED), kClearBottomImage, L"禁用底层图像");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kOpenImagesFolder1, L"展开图像文件夹(&E)...");
  const int id =
      TrackMenuInWorkArea(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x, screen.y, hwnd_);
  DestroyMenu(menu);
  switch (id) {
    case kShowTaskbar1:
      app_.settings.PreviewTaskBar = !app_.settings.PreviewTaskBar;
      UpdatePreview();
      break;
    case kResetImage1:
      ResetImageProperties(false);
      // The reset belongs in the picture's file like any other edit of its properties.
      ImageEdited();
      break;
    case kSetBottomImage1:
      SetAsBottomImage();
      break;
    case kClearBottomImage:
      ClearBottomImage();
      break;
    case kOpenImagesFolder1:
      form_.OpenImagesFolder();
      break;
    default:
      break;
  }
}

void MainWindow::TabPanelsShow() {
  const Settings& s = app_.settings;
  FontSpec font = s.CaptionFont;
  font.height = -12;
  font.weight = 400;
  MakePanelLabel(panelLabel_, app_.Text, font, s.CalendarColor, s.CalendarAlpha);
  const Size size{static_cast<int32_t>(imagePreview_.right - imagePreview_.left),
                  static_cast<int32_t>(imagePreview_.bottom - imagePreview_.top)};
  app_.settings.CalendarRect =
      panelFrame_.Show(CalendarRectOnItsMonitor(s.CalendarRect, app_.Monitors), app_.WallpaperSize, size);
  InvalidateRect(previewPanel_, &imagePreview_, FALSE);
}

void MainWindow::TabPanelsHide() {
  if (panelFrame_.Dragging() && GetCapture() == previewPanel_) ReleaseCapture();
  panelFrame_.Hide();
  panelLabel_.SetSize(0, 0);
  panelShown_.SetSize(0, 0);
  InvalidateRect(previewPanel_, &imagePreview_, FALSE);
}

}  // namespace ov
