#include "win/config/MainWindow_Hooks.h"

#include "core/util/Paths.h"
#include "win/app/App.h"
#include "win/app/Commands.h"
#include "win/app/MainForm.h"
#include "win/config/MainWindow.h"
#include "win/shell/Autostart.h"

namespace ov::hooks {

void RotateImagesClick(App& app) {
  if (app.MainWindow) app.MainWindow->RotateImagesChanged(app.settings.RotateImages);
}

void SpinRotChange(App& app) {
  if (app.MainWindow) app.MainWindow->RotationIntervalChanged(app.settings.RotationInterval);
}

void ShowNextRotation(App& app) {
  if (app.MainWindow) app.MainWindow->ShowNextRotation();
}

void CatchWallpapersClick(App& app) {
  if (app.MainWindow) app.MainWindow->CatchWallpapersChanged(app.settings.CaptureWallpaper);
}

void CheckAutoStartClick(App& app) { SyncAutostart(app); }

void CheckMiniControllerClick(App& app) {
  if (app.MainWindow) app.MainWindow->ApplyShowController();
}

void Quit1Click(App& app, HWND) { RunSharedCommand(app, kCmdQuit); }

void SearchNewWallpapers(App& app) {
  if (app.MainWindow) app.MainWindow->SearchNewWallpapers();
}

void SelectBackgroundRow(App& app) {
  if (app.MainWindow && app.MainWindow->Ui()) app.MainWindow->Ui()->SelectBackgroundRow();
}

void PrintPreview(App& app) {
  if (app.MainWindow && app.MainWindow->Ui()) app.MainWindow->Ui()->RenderPrintPreview();
}

}  // namespace ov::hooks
