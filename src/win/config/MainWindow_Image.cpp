// The image tab: adjustments and size mode of the current picture's properties.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/config/ConfigRules.h"
#include "win/app/App.h"
#include "win/config/MainWindow.h"
#include "win/platform/Utf16.h"

namespace ov {

namespace {

// The gauges run -100..100; the track bar holds them as 0..200, since not every track
// bar takes a negative range.
constexpr int kGaugeOffset = 100;

// A right-button press on a gauge sets it to 0 and counts as a user change
// (GaugeContrastMouseDown).
LRESULT CALLBACK GaugeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_RBUTTONDOWN) {
    SendMessageW(hwnd, TBM_SETPOS, TRUE, kGaugeOffset);
    SendMessageW(GetParent(hwnd), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0), reinterpret_cast<LPARAM>(hwnd));
    return 0;
  }
  if (msg == WM_RBUTTONUP || msg == WM_CONTEXTMENU) return 0;
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &GaugeProc, 1);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

HWND MainWindow::AddGauge(HWND page, std::string_view name, int tag, int x, int y, int w, int largeStep) {
  HWND g = Add(page, name, TRACKBAR_CLASSW, "", TBS_HORZ | TBS_NOTICKS | TBS_BOTH | WS_TABSTOP, x, y, w, 22);
  SendMessageW(g, TBM_SETRANGEMIN, FALSE, 0);
  SendMessageW(g, TBM_SETRANGEMAX, FALSE, 2 * kGaugeOffset);
  SendMessageW(g, TBM_SETPAGESIZE, 0, largeStep);
  SendMessageW(g, TBM_SETPOS, TRUE, kGaugeOffset);
  Find(name)->tag = tag;
  SetWindowSubclass(g, &GaugeProc, 1, 0);
  SetHint(g, "0");
  return g;
}

void MainWindow::CreateImageTab(HWND p) {
  // The two groups stay narrow so that the thumbnail grid beside them has room for its
  // text at the window's default width.
  AddGroup(p, "选项", 4, 2, 222, 160);
  struct G {
    const char* name;
    const char* caption;
    int tag, large;
  };
  const G gauges[] = {{"GaugeContrast", "对比度", 1, 10}, {"GaugeBrightness", "亮度", 2, 10},
                      {"GaugeGamma", "Gamma", 3, 1},       {"GaugeRed", "红", 10, 10},
                      {"GaugeGreen", "绿", 11, 10},        {"GaugeBlue", "蓝", 12, 10}};
  for (int i = 0; i < 6; ++i) {
    int col = i / 3, row = i % 3;
    int x = 10 + col * 106, y = 18 + row * 26;
    AddLabel(p, gauges[i].caption, x, y + 4, 44);
    AddGauge(p, gauges[i].name, gauges[i].tag, x + 42, y, 62, gauges[i].large);
  }
  struct C {
    const char* name;
    const char* caption;
    int tag;
  };
  const C checks[] = {{"CheckGrayscale", "灰度", 1}, {"CheckEqualize", "自动相等", 2}, {"CheckFlipX", "水平翻转", 3},
                      {"CheckDisableOverlay", "没有覆盖", 4}};
  for (int i = 0; i < 4; ++i) {
    int x = 10 + (i % 2) * 106, y = 96 + (i / 2) * 20;
    HWND h = AddCheck(p, checks[i].name, checks[i].caption, x, y, 100, nullptr);
    Find(checks[i].name)->tag = checks[i].tag;
    Find(checks[i].name)->onChange = [this, h] { CheckEqualizeClick(h); };
  }
  AddButton(p, "ButtonReset", "重置", 10, 136, 74, 22, [this] {
    ResetImageProperties(false);
    ImageEdited();
  });

  AddGroup(p, "大小", 230, 2, 160, 160);
  const C radios[] = {{"RadioSizeOriginal", "原始", 1}, {"RadioSizeFit", "按比例拉伸", 2}, {"RadioSizeStretch", "拉伸", 3},
                      {"RadioSizeTile", "平铺", 4}};
  for (int i = 0; i < 4; ++i) {
    int tag = radios[i].tag;
    AddRadio(p, radios[i].name, radios[i].caption, 238 + (i % 2) * 58, 18 + (i / 2) * 20, i % 2 ? 90 : 56, i == 0,
             [this, tag] { RadioSizeClick(tag); });
    Find(radios[i].name)->tag = tag;
  }
  SetChecked("RadioSizeFit", true);
  SetHint(AddLabel(p, "缩放 %", 238, 68, 50), "您也可以在上面的预览窗口中使用鼠标滚轮 放大/缩小 图像。");
  SetHint(AddSpin(p, "SpinZoom", 1, 9999, 100, false, 292, 64, [this] { SpinZoomChange(); }, 54)->Handle(),
          "您也可以在上面的预览窗口中使用鼠标滚轮 放大/缩小 图像。");
  SetHint(AddLabel(p, "X 偏移", 238, 98, 50), "您也可以拖动预览图像。");
  SetHint(AddSpin(p, "SpinXOffset", -9999, 9999, 0, false, 292, 94, [this] { SpinOffsetChange(); }, 54)->Handle(),
          "您也可以拖动预览图像。");
  SetHint(AddLabel(p, "Y 偏移", 238, 128, 50), "您也可以拖动预览图像。");
  SetHint(AddSpin(p, "SpinYOffset", -9999, 9999, 0, false, 292, 124, [this] { SpinOffsetChange(); }, 54)->Handle(),
          "您也可以拖动预览图像。");
  // The thumbnail grid fills the rest of the tab.
  CreateImageGrid(p);
}

void MainWindow::ImageEdited() {
  app_.ImagePropsModified = true;
  if (app_.Props) app_.Props->SetModified(true);
}

void MainWindow::GaugeContrastUserChange(HWND gauge) {
  Control* c = byHandle_[gauge];
  int pos = static_cast<int>(SendMessageW(gauge, TBM_GETPOS, 0, 0)) - kGaugeOffset;
  // The hint shows the position.
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = GetParent(gauge);
  ti.uId = reinterpret_cast<UINT_PTR>(gauge);
  std::wstring text = std::to_wstring(pos);
  ti.lpszText = text.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  if (!app_.ControlsReady || !app_.Props) return;
  if (const ImagePropBinding* b = FindImagePropBinding(ControlKind::Numeric, c->tag))
    StoreControlValue(*b, app_.Props->Props(ImageSlot::Current), pos);
  ImageEdited();
  UpdatePreviewFast();
}

void MainWindow::CheckEqualizeClick(HWND check) {
  if (!app_.ControlsReady || !app_.Props) return;
  Control* c = byHandle_[check];
  if (const ImagePropBinding* b = FindImagePropBinding(ControlKind::Check, c->tag))
    StoreControlValue(*b, app_.Props->Props(ImageSlot::Current), Checked(c->name) ? 1 : 0);
  ImageEdited();
  UpdatePreview();
}

void MainWindow::RadioSizeClick(int tag) {
  if (!app_.ControlsReady || !app_.Props) return;
  SetSizeMode(app_.Props->Props(ImageSlot::Current), tag);
  ImageEdited();
  UpdatePreview();
}

void MainWindow::SpinZoomChange() {
  if (!app_.ControlsReady || !app_.Props) return;
  ImageEdited();
  TImageProps& p = app_.Props->Props(ImageSlot::Current);
  int z1 = Spin("SpinZoom")->Position();
  p.OffsetX = RescaleOffset(p.OffsetX, p.Zoom, z1);
  p.OffsetY = RescaleOffset(p.OffsetY, p.Zoom, z1);
  p.Zoom = z1;
  Spin("SpinZoom")->SetStep(static_cast<int16_t>(ZoomStep(z1)));
  UpdatePreviewDrag();
  app_.ControlsReady = false;
  Spin("SpinXOffset")->SetPosition(p.OffsetX);
  Spin("SpinYOffset")->SetPosition(p.OffsetY);
  app_.ControlsReady = true;
}

void MainWindow::SpinOffsetChange() {
  if (!app_.ControlsReady || !app_.Props) return;
  TImageProps& p = app_.Props->Props(ImageSlot::Current);
  p.OffsetX = Spin("SpinXOffset")->Position();
  p.OffsetY = Spin("SpinYOffset")->Position();
  ImageEdited();
  UpdatePreviewFast();
}

void MainWindow::ShowImageProperties() {
  if (!app_.Props) return;
  bool ready = app_.ControlsReady;
  app_.ControlsReady = false;
  const TImageProps& p = app_.Props->Props(ImageSlot::Current);
  for (const ImagePropBinding& b : ImagePropBindings()) {
    Control* c = Find(b.control);
    if (!c) continue;
    int32_t v = ControlValueFor(b, p);
    if (c->frame) c->frame->SetPosition(v);
    else if (b.kind == ControlKind::Check) SetChecked(b.control, v != 0);
    else {
      SendMessageW(c->hwnd, TBM_SETPOS, TRUE, v + kGaugeOffset);
      GaugeContrastUserChange(c->hwnd);  // the hint follows
    }
  }
  Spin("SpinZoom")->SetStep(static_cast<int16_t>(ZoomStep(p.Zoom)));
  // "原始" first; the stored flags then pick stretch, fit or tile.
  int tag = SizeModeTag(p);
  for (const char* n : {"RadioSizeOriginal", "RadioSizeFit", "RadioSizeStretch", "RadioSizeTile"})
    SetChecked(n, Find(n)->tag == tag);
  (void)ready;
  app_.ControlsReady = true;
}

void MainWindow::ResetImageProperties(bool quiet) {
  if (!app_.Props) return;
  TImageProps& p = app_.Props->Props(ImageSlot::Current);
  p = TImageProps{};
  p.Fit = true;
  p.Stretch = p.Tile = false;
  p.Zoom = 100;
  p.OffsetX = p.OffsetY = 0;
  if (quiet) return;
  ShowImageProperties();
  UpdatePreview();
}

}  // namespace ov
