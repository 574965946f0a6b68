#pragma once
// TOVMainForm: the configuration window. It is created hidden at start-up, owns the
// start-up and shut-down sequence, and is shown on demand (tray, second start).
#include <string>

#include "win/ui/Window.h"

namespace ov {

struct App;

class MainForm final : public Window {
 public:
  explicit MainForm(App& app) : app_(app) {}

  // Creates the hidden window and runs the creation steps (folders, migration, settings).
  bool Create();
  // Runs once after all windows exist, before the message loop.
  void DeferredStart();

  // Restores the window from the tray and brings it to the front.
  void ShowMainWindow();
  // Hides the main window (and with it the task-bar button) into the tray.
  void HideToTray();

  // The one rebuild-and-install operation of the desktop picture.
  void UpdateWallpaper();
  // Composes, saves and installs the wallpaper with `file` as background; returns an
  // error text, empty on success.
  std::string BuildWallpaper(const std::string& file);

  // Saves every setting, the main window's placement included.
  void SaveSettings();

  // The mini controller: placed on the last render's controller rectangle and shown while
  // this window is hidden (when enabled); ApplyShowController follows a ShowController toggle.
  void PlaceController();
  void ApplyShowController();
  // Commands the menus share (main menu, tray, controller).
  void ChooseEntrySection(const std::string& name);
  void ShowWeekRows(int rows);
  void ChangeWallpaperImage();
  void SelectWallpaperFolder();
  void OpenImagesFolder();
  void RefreshImageList();
  void SearchNewWallpapers();
  void RebuildImageLibrary();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Creation steps.
  void ResolveFolders();
  void MigrateOldLayouts();
  void LoadRotationQueue();
  void FillWeekdayControls();
  void LoadSettings();
  void EnsureImagesPath();
  void CreateSurfaces();
  // Deferred start steps.
  void UpdateCaption();
  void PickFirstBackground();
  void ResetImageProperties();
  void RunFirstRun();
  void RebuildSectionLists();
  void RebuildControllerMonthMenu();
  void ShowHolidayChecks();
  void AttachHook();
  void StartHousekeepingTimer();

  // Messages.
  void OnClose();
  void OnMinimise();
  void OnQueryEndSession();
  void OnSizing(WPARAM edge, RECT* r);
  void OnHousekeepingTick();
  // Monitors added, removed or rearranged: the wallpaper is rebuilt at the new size.
  void OnDisplayChanged();
  void ShutDown();
  // The window's bounds and state from the "MainForm" settings (brought back onto a
  // screen when they are off every one), and back into them from the restored rectangle.
  void LoadWindowPlacement();
  void SaveWindowPlacement();

  App& app_;
  bool closing_ = false;
  bool showMaximized_ = false;
};

}  // namespace ov
