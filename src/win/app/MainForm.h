#pragma once
// TOVMainForm: the configuration window. It is created hidden at start-up, owns the
// start-up and shut-down sequence, and is shown on demand (tray, second start).
#include <memory>
#include <string>

#include "win/ui/Window.h"

namespace ov {

struct App;
class MainWindow;

class MainForm final : public Window {
 public:
  explicit MainForm(App& app);
  ~MainForm() override;

  // The window's controls: menu, preview and settings tabs.
  MainWindow* Ui() { return ui_.get(); }

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

  // Menu actions of the picture library.
  void SelectWallpaperFolder();
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
  void ShutDown();
  // The window's bounds and state from the "MainForm" settings (brought back onto a
  // screen when they are off every one), and back into them from the restored rectangle.
  void LoadWindowPlacement();
  void SaveWindowPlacement();

  App& app_;
  std::unique_ptr<MainWindow> ui_;
  bool closing_ = false;
  bool showMaximized_ = false;
};

}  // namespace ov
