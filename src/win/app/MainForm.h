#pragma once
// TOVMainForm: the configuration window. It is created hidden at start-up, owns the
// start-up and shut-down sequence, and is shown on demand (tray, second start).
#include <memory>
#include <set>
#include <string>

#include "core/library/Capture.h"
#include "win/ui/Window.h"

namespace ov {

struct App;
class MainWindow;
class NotesWatcher;

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
  // `rotation`: a due rotation, which schedules the next one whatever picture it showed.
  std::string BuildWallpaper(const std::string& file, bool rotation = false);

  // Saves every setting, the main window's placement included.
  void SaveSettings();

  // The mini controller: placed on the last render's controller rectangle and shown while
  // this window is hidden (when enabled); ApplyShowController follows a ShowController toggle.
  void PlaceController();
  void ApplyShowController();
  // Watches the notes folder for changes made elsewhere (another computer's sync); the
  // watch stops while the notes folder is being moved.
  void StartWatchingNotes();
  void StopWatchingNotes();
  // Commands the menus share (main menu, tray, controller).
  void ChooseEntrySection(const std::string& name);
  void ShowWeekRows(int rows);
  void ChangeWallpaperImage();
  void SelectWallpaperFolder();
  void OpenImagesFolder();
  void RefreshImageList();
  void SearchNewWallpapers();
  // Wallpaper rotation and capture (MainForm_Rotation.cpp).
  // The desktop tab's rotation controls, enabled and disabled with the rotation.
  struct RotationControls {
    HWND rotLabel = nullptr, spinRot = nullptr, rotCombo = nullptr, labelNextRotation = nullptr;
    HWND pageControl = nullptr;
  };
  void SetRotationControls(const RotationControls& controls);
  // Installs the next picture of the rotation queue ("更换背景图像" and a due tick).
  void Rotate();
  std::string PickNextImage();
  void SaveRotationQueue();
  // Refreshes LabelNextRotation and returns its text.
  std::string ShowNextRotation();
  // Handlers of "打开循环", SpinRot, RotCombo and "捕获背景".
  void RotateImagesChanged(bool ticked);
  void RotationIntervalChanged(int interval);
  void RotationModeChanged(int mode);
  void CatchWallpapersChanged(bool ticked);
  // Takes a wallpaper another program installed into the library (housekeeping tick).
  void CaptureCheck();
  // "设置为桌面背景": the picture becomes the background now, which restarts the interval.
  void SetAsDesktopWallpaper(const std::string& file);
  // Pictures were added, removed or renamed under the library folder: it is rescanned,
  // keeping the rotation queue and the picture chosen in the grid.
  void LibraryFolderChanged();
  // Rescans the library folder; with the flag the rotation queue starts afresh.
  void RebuildLibrary(bool clearQueue);

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
  // The notes changed on disk: codes are read again, the section lists rebuilt and the
  // wallpaper drawn with the new notes.
  void OnNotesChanged();
  // Merges the conflict copies of the codes files a sync service left in the notes
  // folder, and logs what that did and which copies of picture properties are there,
  // each once per run.
  void MergeSyncedCodes();
  // Paints the program's windows and the task bar again a few times after an install.
  void StartRedrawOverWallpaper();
  void OnRedrawOverWallpaperTimer();
  void OnReleaseWallpaperLayerTimer();
  // Monitors added, removed or rearranged: the wallpaper is rebuilt at the new size.
  void OnDisplayChanged();
  void ShutDown();
  // The window's bounds and state from the "MainForm" settings (brought back onto a
  // screen when they are off every one), and back into them from the restored rectangle.
  void LoadWindowPlacement();
  void SaveWindowPlacement();

  App& app_;
  std::unique_ptr<MainWindow> ui_;
  std::unique_ptr<NotesWatcher> notesWatcher_;
  RotationControls rotationControls_;
  WallpaperCapture capture_;
  bool closing_ = false;
  int redrawsLeft_ = 0;
  bool showMaximized_ = false;
  std::set<std::string> loggedMerges_;  // log lines of codes merges written this run
  bool notesFolderMissing_ = false;  // the chosen notes folder could not be reached
};

}  // namespace ov
