// The overlay tab: overlay switch, file and transparency.
#include "core/util/Paths.h"
#include "win/app/App.h"
#include "win/config/MainWindow.h"

namespace ov {

std::string ChooseImageFile(HWND owner, const std::string& current, const std::string& folder, const wchar_t* title);

void MainWindow::CreateOverlayTab(HWND p) {
  AddGroup(p, "覆盖", 4, 2, 564, 160);
  AddCheck(p, "CheckBoxOverlay", "打开", 16, 22, 120, [this] { CheckBoxOverlayClick(); });
  AddLabel(p, "图像文件", 16, 56, 70, 14, "LabelOverlayFile");
  AddFileChooser(p, "OpenOverlayImage", 90, 52, 460, [this] { OpenOverlayImageClick(); });
  AddLabel(p, "透明", 16, 92, 70, 14, "LabelOverlayAlphaAmount");
  AddSpin(p, "SpinOverlayAlpha", 0, 100, 50, true, 90, 88, [this] {
    StoreBound("SpinOverlayAlpha");
    app_.Overlay.SetAlpha(app_.settings.OverlayAlpha);
    UpdatePreviewFast();
  });
  HWND hasAlpha = AddLabel(p, "选择自身包含透明信息的覆盖图像", 16, 130, 400, 14, "LabelOverlayHasAlpha");
  ShowWindow(hasAlpha, SW_HIDE);
}

void MainWindow::ApplyOverlayEnabling() {
  bool on = app_.settings.Overlay;
  for (const char* n : {"OpenOverlayImage", "OpenOverlayImage.Button", "LabelOverlayFile", "LabelOverlayHasAlpha"})
    EnableControl(n, on);
  bool ownAlpha = app_.Overlay.HasOwnAlpha() && !app_.Overlay.Picture().Empty();
  ShowWindow(H("LabelOverlayHasAlpha"), ownAlpha ? SW_SHOW : SW_HIDE);
  EnableControl("SpinOverlayAlpha", on && !ownAlpha);
  EnableControl("LabelOverlayAlphaAmount", on && !ownAlpha);
}

void MainWindow::CheckBoxOverlayClick() {
  StoreBound("CheckBoxOverlay");
  // LoadOverlay: decoded only while the overlay is on.
  app_.Overlay.Load(app_.Decoder, PathFromUtf8(app_.settings.OverlayFilename), app_.settings.Overlay,
                    app_.settings.OverlayAlpha);
  ApplyOverlayEnabling();
  UpdatePreview();
}

void MainWindow::OpenOverlayImageClick() {
  std::string file = ChooseImageFile(hwnd_, app_.settings.OverlayFilename,
                                     FolderText(app_.Folders.programFolder) + "Overlay Images\\", L"打开覆盖图像");
  if (file.empty()) return;
  app_.settings.OverlayFilename = file;
  SetPathText("OpenOverlayImage", file);
  app_.Overlay.Load(app_.Decoder, PathFromUtf8(file), app_.settings.Overlay, app_.settings.OverlayAlpha);
  ApplyOverlayEnabling();
  UpdatePreview();
}

void MainWindow::SetChooserFolders() {
  // The choosers open in ProgramFolder\Skin Images\ and \Overlay Images\ (ChooseImageFile).
}

}  // namespace ov
