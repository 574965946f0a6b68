// The main window's side of the mini controller: placing and showing it after every
// rebuild, and the commands its menu shares with the main window's own menus. Commands
// whose capability belongs to the library and rotation say what attaches there.
#include <windows.h>
#include <shellapi.h>

#include "core/calendar/Sections.h"
#include "core/library/RotationQueue.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/config/MainWindow.h"
#include "win/desktop/Controller.h"
#include "win/platform/Utf16.h"

namespace ov {

void MainForm::PlaceController() {
  if (!app_.Controller) return;
  if (app_.Renderer) app_.Controller->SetBounds(WallpaperToScreen(app_.Renderer->ControllerRect, app_.Monitors.Mapping()));
  // The controller stands in for the main window on the desktop: never both at once.
  if (app_.settings.ShowController && !IsWindowVisible(Handle())) app_.Controller->ShowController();
  else app_.Controller->HideController();
}

void MainForm::ApplyShowController() {
  // The check box on "应用程序" shows the state whichever switch changed it.
  if (ui_) ui_->SetMiniControllerCheck(app_.settings.ShowController);
  PlaceController();
}

void MainForm::ChooseEntrySection(const std::string& name) {
  app_.Entries->SetCurrentSection(name);
  app_.settings.SubEntryName = app_.Entries->CurrentSection();
  // The list on the tab "项目" marks the active section: without this it would keep the
  // old one selected, and its rename and delete buttons would act on that one.
  RebuildSectionLists();
  UpdateWallpaper();
}

void MainForm::ShowWeekRows(int rows) {
  if (ui_) ui_->ShowWeekRows(rows);
}

void MainForm::ChangeWallpaperImage() { Rotate(); }

void MainForm::OpenImagesFolder() {
  ShellExecuteW(nullptr, L"open", Widen(app_.settings.ImagesPath).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainForm::RefreshImageList() { RebuildLibrary(false); }

void MainForm::SearchNewWallpapers() {
  static StdRandom random(GetTickCount64());
  if (ui_) ui_->SearchNewWallpapers(random);
}

}  // namespace ov
