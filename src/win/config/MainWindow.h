#pragma once
// The controls of the configuration window TOVMainForm: main menu, preview, the page
// control with its settings tabs, and the operations the tabs share (preview redraws,
// image properties, colour swatches). MainForm owns the window and the start-up and
// shut-down; it hands messages here. One file per tab builds that tab's controls.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/config/PreviewContent.h"
#include "core/config/PreviewSchedule.h"
#include "core/config/SettingBindings.h"
#include "core/preview/PanelFrame.h"
#include "core/render/Bitmap32.h"
#include "win/config/FrameEdit.h"
#include "win/config/BackupPage.h"
#include "win/config/PrinterPage.h"
#include "win/config/SectionsPage.h"
#include "win/config/SubscriptionsGroup.h"
#include "win/ui/Window.h"

namespace ov {

struct App;
class MainForm;
class ImageGrid;
class ThumbnailWorker;
class FolderWatcher;
class IRandom;

enum class MainTab {
  TabEntries, TabCalendar, TabImageProcessing, TabPanels, TabOverlay, TabDesktop, TabSheet2, TabPrinter, TabBackup,
  TabAbout, Count
};
enum class CalendarTab { TabCalendarView, TabCalendarCells, TabCalendarShadow, TabCalendarFonts, Count };

// A page of a tab control: a plain child window that hands its controls' messages to
// the main window.
class TabPage final : public Window {
 public:
  using Handler = std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)>;
  bool Create(HWND parent, Handler handler);
  // From now on the page's messages go to the default procedure only (its owner is
  // going away while the page's window still exists).
  void Disconnect() { handler_ = nullptr; }
 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
 private:
  Handler handler_;
};

class MainWindow final : public IPreviewHost {
 public:
  MainWindow(App& app, MainForm& form);
  ~MainWindow() override;

  // Creates the menu, the preview area and every tab (main-window creation).
  void Create();
  // Lets the window handle a message of the form; false when it is not one of ours.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // --- start-up steps that wait for this window ---
  void FillWeekdayControls();        // ComboWeekDays, CheckDefaultHolidays: short day names
  void LoadControls();               // every bound control from the settings
  void SetChooserFolders();          // skin and overlay choosers start in the program's folders
  void ShowFirstPage();              // TabImageProcessing; hints stay 4000 ms
  void ShowHolidayChecks();          // check marks from HolidayBits
  void RebuildSections();            // the entry-section list of the tab 项目
  void CalendarStatesChanged();      // the states of the subscribed calendars changed
  void SetDisableHintsCheck(bool checked, bool runHandler);
  // CheckMiniController follows ShowController changed elsewhere (tray, mini controller),
  // without running its click handler.
  void SetMiniControllerCheck(bool checked);
  // Shows where the notes live on the application tab.
  void ShowNotesFolder();
  // SpinWeekRows shows VisibleWeeks set elsewhere (the mini controller's "星期行数").
  void ShowWeekRows(int rows);
  void UpdateCaption(const std::string& versionText);

  // --- operations offered to other parts ---
  void UpdatePreview() { schedule_.Full(); }
  void UpdatePreviewFast() { schedule_.Fast(); }
  void UpdatePreviewDrag() { schedule_.Drag(); }
  void PreviewDelayElapsed() { schedule_.DelayElapsed(); }
  void ShowImageProperties();
  void ResetImageProperties(bool quiet);
  void ReleasePreview(bool saveProps);
  void RestorePreview();
  void SetAsDesktopWallpaper1Click();
  MainTab ActiveTab() const { return activeTab_; }
  // The backup tab's "上次备份:" age, kept current by the housekeeping tick.
  void ShowBackupAge() {
    if (backup_) backup_->ShowBackupAge();
  }
  void SelectTab(MainTab tab);
  const TBitmap32& PreviewSurface() const { return preview_; }
  // The printer tab's preview: the page image, rendered and saved for printing.
  void RenderPrintPreview();

  // --- the picture library (MainWindow_Library.cpp) ---
  // Rescans ImagesPath into the library and the grid. `folderChanged`: the rescan follows
  // a change seen in the folder, not a choice of the user; the picture chosen last stays
  // chosen when it is still there (else the background row is chosen), and a folder that
  // is briefly empty or away changes no setting.
  void RebuildLibrary(bool clearQueue, bool folderChanged = false);
  void SelectBackgroundRow();
  // Loads the library entry of `row` into the preview (only remembered while hidden).
  void SelectImage(size_t row);
  // The shared actions SetAsBottomImage and ClearBottomImage (grid and preview menus).
  void SetAsBottomImage();
  void ClearBottomImage();
  void SearchNewWallpapers(IRandom& random);
  // CheckNoBackground unticked as if clicked (a new library folder was chosen).
  void UntickNoBackground();
  // Ends the thumbnail and folder-watch threads (before the window goes).
  void StopLibraryWork();

  // IPreviewHost: the redraw itself and the 300 ms delay timer.
  void DrawPreview(PreviewQuality quality, bool adjust) override;
  void StartDelayTimer(uint32_t ms) override;
  void StopDelayTimer() override;

 private:
  struct Control {
    std::string name;
    HWND hwnd = nullptr;
    int tag = 0;
    TFrEdit* frame = nullptr;
    std::function<void()> onChange;
  };

  // --- building (96-dpi units, relative to the page) ---
  static void RegisterControlClasses();
  int Dpi(int v) const { return MulDiv(v, static_cast<int>(dpi_), 96); }
  HWND Add(HWND page, std::string_view name, const wchar_t* cls, std::string_view text, DWORD style, int x, int y,
           int w, int h, DWORD exStyle = 0);
  HWND AddLabel(HWND page, std::string_view text, int x, int y, int w, int h = 14, std::string_view name = {});
  HWND AddCheck(HWND page, std::string_view name, std::string_view caption, int x, int y, int w,
                std::function<void()> onClick);
  HWND AddRadio(HWND page, std::string_view name, std::string_view caption, int x, int y, int w, bool first,
                std::function<void()> onClick);
  HWND AddButton(HWND page, std::string_view name, std::string_view caption, int x, int y, int w, int h,
                 std::function<void()> onClick);
  HWND AddGroup(HWND page, std::string_view caption, int x, int y, int w, int h);
  HWND AddCombo(HWND page, std::string_view name, const std::vector<std::string>& items, int x, int y, int w,
                std::function<void()> onChange);
  TFrEdit* AddSpin(HWND page, std::string_view name, int minimum, int maximum, int reset, bool bar, int x, int y,
                   std::function<void()> onChange, int editWidth = 36);
  HWND AddGauge(HWND page, std::string_view name, int tag, int x, int y, int w, int largeStep);
  HWND AddSwatch(HWND page, std::string_view name, std::string_view caption, int x, int y, int w, int h,
                 std::function<void()> onClick);
  HWND AddFileChooser(HWND page, std::string_view name, int x, int y, int w, std::function<void()> onBrowse);
  void SetHint(HWND control, std::string_view hint);
  HWND NewPage(HWND parent);

  Control* Find(std::string_view name);
  HWND H(std::string_view name);
  TFrEdit* Spin(std::string_view name);
  bool Checked(std::string_view name);
  void SetChecked(std::string_view name, bool checked);
  void EnableControl(std::string_view name, bool enabled);
  int ComboIndex(std::string_view name);
  std::string Text(std::string_view name);
  void SetText(std::string_view name, std::string_view text);
  // A file path in a read-only field, shortened in the middle so that its name shows.
  void SetPathText(std::string_view name, const std::string& path);
  // Stores a bound control's value into the settings through its conversion.
  void StoreBound(std::string_view name);

  bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void LayoutChildren();
  // WM_DPICHANGED: every control moves and grows by the new DPI, with a new font.
  void OnDpiChanged(UINT dpi, const RECT* suggested);
  HFONT CreateWindowFont() const;
  void LayoutPages(HWND tab, const std::vector<HWND>& pages, int active);

  // --- tabs ---
  void CreateMenu();
  void CreatePreviewArea();
  void CreatePages();
  void CreateCalendarTab(HWND page);
  void CreateCalendarViewPage(HWND page);
  void CreateCalendarCellsPage(HWND page);
  void CreateCalendarShadowPage(HWND page);
  void CreateCalendarFontsPage(HWND page);
  void CreateImageTab(HWND page);
  void CreateOverlayTab(HWND page);
  void CreateDesktopTab(HWND page);
  void CreateApplicationTab(HWND page);
  void CreateOtherTabs();
  void OnMenuCommand(int id);

  // --- handlers shared by several controls ---
  void PageControlMainChange();
  void PageControlCalendarChange();
  void CheckFloatingMonthClick();
  void CheckCellShadowClick();
  void CheckBoxOverlayClick();
  void CheckNoBackgroundClick();
  void CheckKeepIconsTransparentClick();
  void CheckDisableHintsClick();
  // "启用提醒" or "提前提醒" changed: stored, and the next reminder looked up again.
  void ReminderSettingChanged(std::string_view control);
  void CheckAutoStartClick();
  void ApplyAutoStartEnabling();
  void CheckDefaultHolidaysClickCheck(int item);
  void GaugeContrastUserChange(HWND gauge);
  void CheckEqualizeClick(HWND check);
  void RadioSizeClick(int tag);
  void SpinZoomChange();
  void SpinOffsetChange();
  void ImageEdited();
  bool PickColor(uint32_t& bgr);
  void RecolorSwatch(std::string_view name);
  void PanelCalendarColorClick();
  void PanelBackgroundColorClick();
  void PanelIconColorClick();
  void OpenCalendarSkinClick();
  void OpenOverlayImageClick();
  void ApplyOverlayEnabling();
  void ChooseCalendarFont(bool caption);

  // --- picture library ---
  void CreateImageGrid(HWND page);
  bool HandleLibraryMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void WatchLibraryFolder();
  void SetNoBackgroundTick(bool ticked);
  bool FindLibraryRow(const std::string& file, size_t& row) const;
  void ImageGridClick();
  void ImageGridDblClick();
  void PopupGrid(POINT screen);
  void DeleteFromDisk();

  // --- preview ---
  void LayoutPreview(int w, int h, bool restart);
  void PanelPreviewResize();
  void PaintPreviewPanel(HDC dc);
  static LRESULT CALLBACK PreviewPanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;

  // --- mouse over the preview, its menu, the panel frame (MainWindow_PreviewMouse.cpp) ---
  bool OnPreviewMouse(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void ImagePreviewMouseDown(bool leftButton, Point p);
  void ImagePreviewMouseMove(Point p);
  void ImagePreviewMouseUp();
  void ImagePreviewMouseWheel(int delta);
  void PushPreviewOffsets();
  void PopupImagePreview(POINT screen);
  void TabPanelsShow();
  void TabPanelsHide();
  bool SetPreviewCursor(Point p);
  Point PreviewPoint(LPARAM clientLp) const;

  bool pictureDragging_ = false;
  Point lastDrag_{0, 0};
  PanelFrame panelFrame_;
  TBitmap32 panelLabel_, panelShown_;

  App& app_;
  MainForm& form_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  HFONT font_ = nullptr;
  HWND tooltip_ = nullptr;
  HMENU menu_ = nullptr;
  HWND previewBack_ = nullptr, previewPanel_ = nullptr;
  RECT imagePreview_{};  // ImagePreview inside PanelPreview
  bool imagePreviewVisible_ = false;  // shown with the window
  HWND tabMain_ = nullptr, tabCalendar_ = nullptr;
  std::vector<HWND> mainPages_, calendarPages_;
  std::vector<std::unique_ptr<TabPage>> pageWindows_;
  std::vector<std::unique_ptr<TFrEdit>> frames_;
  std::unique_ptr<SectionsPage> sections_;
  std::unique_ptr<SubscriptionsGroup> subscriptions_;
  std::unique_ptr<BackupPage> backup_;
  std::unique_ptr<PrinterPage> printer_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::unordered_map<HWND, Control*> byHandle_;
  std::unordered_map<std::string, Control*> byName_;
  MainTab activeTab_ = MainTab::TabImageProcessing;
  int nextId_ = 1000;
  PreviewSchedule schedule_{*this};
  TBitmap32 preview_;
  PreviewCache previewCache_;  // the placed picture between redraws
  HBRUSH pageBrush_ = nullptr;
  COLORREF customColors_[16]{};
  bool swatchPressed_ = false;
  std::unique_ptr<ImageGrid> imageGrid_;
  std::unique_ptr<ThumbnailWorker> thumbs_;
  std::unique_ptr<FolderWatcher> watcher_;
  uint64_t libraryGeneration_ = 0;  // thumbnails of older builds are dropped
};

}  // namespace ov
