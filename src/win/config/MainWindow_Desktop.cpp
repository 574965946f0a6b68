// The desktop tab (background colour, wallpaper transparency, rotation, capture, icon
// text, output depth) and the colour swatches all tabs share.
#include <windows.h>
#include <commdlg.h>

#include "core/platform/SystemColors.h"
#include "core/render/Color.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/config/MainWindow.h"
#include "win/config/MainWindow_Hooks.h"

namespace ov {

namespace {

// A Windows colour or a system-colour code (0xFF0000nn) as the colour it shows.
COLORREF ResolveColor(uint32_t c) {
  if ((c & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(c & 0xFF));
  return c & 0xFFFFFF;
}

}  // namespace

void MainWindow::CreateDesktopTab(HWND p) {
  AddGroup(p, "背景图像 (墙纸)", 4, 2, 376, 160);
  AddGroup(p, "属性", 12, 18, 174, 138);
  AddCheck(p, "CheckNoBackground", "没有背景图像", 20, 36, 160, [this] { CheckNoBackgroundClick(); });
  AddSwatch(p, "PanelBackgroundColor", "背景色", 20, 60, 150, 24, [this] { PanelBackgroundColorClick(); });
  SetHint(AddLabel(p, "透明", 20, 100, 50), "背景图像的透明级别");
  SetHint(AddSpin(p, "SpinWallpaperAlpha", 0, 100, 0, true, 74, 96, [this] {
            StoreBound("SpinWallpaperAlpha");
            UpdatePreviewFast();
          })->Handle(),
          "背景图像的透明级别");

  AddGroup(p, "墙纸更换器", 192, 18, 180, 138);
  SetHint(AddCheck(p, "RotateImages", "打开循环", 200, 36, 160, [this] {
            StoreBound("RotateImages");
            hooks::RotateImagesClick(app_);
          }),
          "打开“墙纸更换器”");
  AddLabel(p, "更换背景每", 200, 64, 62, 14, "LabelRotEvery");
  AddSpin(p, "SpinRot", 1, 9999, 0, false, 264, 60, [this] {
    StoreBound("SpinRot");
    // At load the stored next rotation time stands; only an edit moves it.
    if (app_.ControlsReady) hooks::SpinRotChange(app_);
  }, 34);
  AddCombo(p, "RotCombo", {"分钟", "小时", "天"}, 318, 60, 50, [this] {
    StoreBound("RotCombo");
    form_.RotationModeChanged(app_.settings.RotationMode);
  });
  // Two lines: the caption, then the date and time of the next change.
  AddLabel(p, "下次循环时间", 200, 90, 168, 30, "LabelNextRotation");
  SetHint(AddCheck(p, "CheckBox1", "捕获背景", 200, 128, 160, [this] {
            StoreBound("CheckBox1");
            hooks::CatchWallpapersClick(app_);
          }),
          "捕获在您的系统其它地方的背景并将它们复制到您的背景集合中。");

  AddGroup(p, "其它", 386, 2, 182, 160);
  SetHint(AddCheck(p, "CheckKeepIconsTransparent", "保持桌面图标文本透明", 394, 22, 170,
                   [this] { CheckKeepIconsTransparentClick(); }),
          "如果 Windows 活动桌面已打开，该选项将不工作");
  AddSwatch(p, "PanelIconColor", "选择图标文本颜色", 394, 46, 166, 24, [this] { PanelIconColorClick(); });
  EnableControl("PanelIconColor", false);
  AddLabel(p, "输出图像的色深", 394, 88, 160);
  AddCombo(p, "ComboOutputPixelFormat", {"4 位 (16 色)", "8 位", "15 位", "16 位", "24 位 (真彩色)"}, 394, 106, 166,
           [this] { StoreBound("ComboOutputPixelFormat"); });
  // The rotation enables and labels its own controls.
  form_.SetRotationControls({H("LabelRotEvery"), H("SpinRot"), H("RotCombo"), H("LabelNextRotation"), tabMain_});
}

void MainWindow::CheckNoBackgroundClick() {
  StoreBound("CheckNoBackground");
  EnableControl("RotateImages", !app_.settings.NoBackground);
  SetChecked("RotateImages", false);
  StoreBound("RotateImages");
  // Rotation is off now: its interval controls follow, as after a click on the box.
  hooks::RotateImagesClick(app_);
  UpdatePreview();
}

void MainWindow::CheckKeepIconsTransparentClick() {
  StoreBound("CheckKeepIconsTransparent");
  EnableControl("PanelIconColor", app_.settings.DesktopIconsTransparent);
}

bool MainWindow::PickColor(uint32_t& bgr) {
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = hwnd_;
  cc.rgbResult = ResolveColor(bgr);
  cc.lpCustColors = customColors_;
  cc.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
  if (!ChooseColorW(&cc)) return false;
  bgr = cc.rgbResult & 0xFFFFFF;
  return true;
}

void MainWindow::RecolorSwatch(std::string_view name) {
  HWND h = H(name);
  if (!h) return;
  uint32_t c = 0;
  if (name == "PanelCalendarColor") c = ToWinColor(app_.settings.CalendarColor);
  else if (name == "PanelBackgroundColor") c = ResolveColor(static_cast<uint32_t>(app_.settings.DesktopColor));
  else c = app_.settings.DesktopIconTextColor == -1 ? GetSysColor(COLOR_WINDOWTEXT)
                                                     : ResolveColor(static_cast<uint32_t>(app_.settings.DesktopIconTextColor));
  SetWindowLongPtrW(h, GWLP_USERDATA, static_cast<LONG_PTR>(c));
  InvalidateRect(h, nullptr, TRUE);
}

void MainWindow::PanelBackgroundColorClick() {
  uint32_t c = static_cast<uint32_t>(app_.settings.DesktopColor);
  if (PickColor(c)) {
    app_.settings.DesktopColor = static_cast<int32_t>(c);
    RecolorSwatch("PanelBackgroundColor");
  }
  UpdatePreview();
}

void MainWindow::PanelIconColorClick() {
  uint32_t c = static_cast<uint32_t>(app_.settings.DesktopIconTextColor);
  if (!PickColor(c)) return;
  app_.settings.DesktopIconTextColor = static_cast<int32_t>(c);
  RecolorSwatch("PanelIconColor");
}

}  // namespace ov
