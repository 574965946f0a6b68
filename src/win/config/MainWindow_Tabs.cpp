// The main menu, the page control with its ten tabs, the tabs whose controls other parts
// build, and the tab change.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/config/MainWindow.h"
#include "win/config/MainWindow_Hooks.h"
#include "win/platform/Utf16.h"

namespace ov {

namespace {

enum MenuId { kQuit1 = 100, kSelectWallpaperFolder, kOpenImagesFolder, kRefreshImageList, kSearchNewWallpapers };

const char* const kMainTabCaptions[] = {"项目", "日历", "图像", "面板", "覆盖图像", "桌面", "应用程序", "打印机", "备份", "关于"};
const char* const kCalendarTabCaptions[] = {"查看", "日期单元格", "阴影", "字体"};

void AddTabs(HWND tab, const char* const* captions, int count) {
  for (int i = 0; i < count; ++i) {
    std::wstring text = Widen(captions[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

}  // namespace

void MainWindow::CreateMenu() {
  menu_ = ::CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kQuit1, L"退出(&X)");
  HMENU images = CreatePopupMenu();
  AppendMenuW(images, MF_STRING, kSelectWallpaperFolder, L"选择图像文件夹(&S)...");
  AppendMenuW(images, MF_STRING, kOpenImagesFolder, L"展开图像文件夹(&E)...");
  AppendMenuW(images, MF_STRING, kRefreshImageList, L"刷新图像列表(&R)");
  AppendMenuW(images, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(images, MF_STRING, kSearchNewWallpapers, L"使用 Google 搜索新的背景(&G)");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(images), L"背景图像(&B)");
  SetMenu(hwnd_, menu_);
}

void MainWindow::OnMenuCommand(int id) {
  switch (id) {
    case kQuit1: hooks::Quit1Click(app_, hwnd_); break;
    case kSelectWallpaperFolder: form_.SelectWallpaperFolder(); break;
    case kOpenImagesFolder: form_.OpenImagesFolder(); break;
    case kRefreshImageList: form_.RefreshImageList(); break;
    case kSearchNewWallpapers: hooks::SearchNewWallpapers(app_); break;
    default: break;
  }
}

void MainWindow::CreatePages() {
  // The page control is double-buffered: its tabs do not flicker while the window is sized.
  tabMain_ = CreateWindowExW(WS_EX_COMPOSITED, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_HOTTRACK,
                             0, 0, 10, 10, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tabMain_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  AddTabs(tabMain_, kMainTabCaptions, static_cast<int>(MainTab::Count));
  for (int i = 0; i < static_cast<int>(MainTab::Count); ++i) mainPages_.push_back(NewPage(hwnd_));
  auto page = [this](MainTab t) { return mainPages_[static_cast<size_t>(t)]; };
  CreateCalendarTab(page(MainTab::TabCalendar));
  CreateImageTab(page(MainTab::TabImageProcessing));
  CreateOverlayTab(page(MainTab::TabOverlay));
  CreateDesktopTab(page(MainTab::TabDesktop));
  CreateApplicationTab(page(MainTab::TabSheet2));
  CreateOtherTabs();
}

void MainWindow::CreateCalendarTab(HWND page) {
  tabCalendar_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Dpi(4), Dpi(3),
                                 Dpi(568), Dpi(162), page, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tabCalendar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  AddTabs(tabCalendar_, kCalendarTabCaptions, static_cast<int>(CalendarTab::Count));
  for (int i = 0; i < static_cast<int>(CalendarTab::Count); ++i) calendarPages_.push_back(NewPage(page));
  CreateCalendarViewPage(calendarPages_[0]);
  CreateCalendarCellsPage(calendarPages_[1]);
  CreateCalendarShadowPage(calendarPages_[2]);
  CreateCalendarFontsPage(calendarPages_[3]);
  LayoutPages(tabCalendar_, calendarPages_, 0);
}

void MainWindow::CreateOtherTabs() {
  // Entries: the section list and its buttons.
  HWND entries = mainPages_[static_cast<size_t>(MainTab::TabEntries)];
  sections_ = std::make_unique<SectionsPage>(
      app_, [this] { UpdatePreview(); }, [this] { PostMessageW(hwnd_, kMsgSectionsChanged, 0, 0); });
  sections_->Create(
      entries, 4, 2, 212, 160, [this](int v) { return Dpi(v); }, font_,
      [this](HWND control, const std::string& hint) { SetHint(control, hint); });
  // Entries: the subscribed calendars beside the sections.
  subscriptions_ = std::make_unique<SubscriptionsGroup>(app_);
  subscriptions_->Create(entries, 222, 2, 346, 160, [this](int v) { return Dpi(v); }, font_);
  // Panels: the calendar panel is placed in the preview.
  HWND panels = mainPages_[static_cast<size_t>(MainTab::TabPanels)];
  Add(panels, "LabelPanels", L"STATIC", "使用上面的预览窗口移动和更改日历面板大小", SS_CENTER, 10, 70, 556, 16);
  // About: the program's name and version.
  HWND about = mainPages_[static_cast<size_t>(MainTab::TabAbout)];
  HWND name = Add(about, "LabProgramName", L"STATIC", "Orvinta 3", SS_CENTER, 10, 40, 556, 28);
  LOGFONTW lf{};
  GetObjectW(font_, sizeof(lf), &lf);
  lf.lfHeight = -Dpi(20);
  lf.lfWeight = FW_BOLD;
  static HFONT bigFont = CreateFontIndirectW(&lf);
  SendMessageW(name, WM_SETFONT, reinterpret_cast<WPARAM>(bigFont), FALSE);
  Add(about, "LabProgname", L"STATIC", "Orvinta - ", SS_CENTER, 10, 80, 556, 16);
  // Backup: a restore changes the entries and picture settings under everything shown.
  backup_ = std::make_unique<BackupPage>(app_, [this] {
    ReleasePreview(false);
    form_.UpdateWallpaper();
    RebuildSections();
    if (IsWindowVisible(hwnd_)) RestorePreview();
  });
  backup_->Create(
      mainPages_[static_cast<size_t>(MainTab::TabBackup)], [this](int v) { return Dpi(v); }, font_,
      [this](HWND control, const std::string& hint) { SetHint(control, hint); });
  // Printer: the print options, the month and the print button.
  printer_ = std::make_unique<PrinterPage>(app_, [this] { UpdatePreview(); }, [this] { PanelPreviewResize(); });
  printer_->Create(mainPages_[static_cast<size_t>(MainTab::TabPrinter)], [this](int v) { return Dpi(v); }, font_);
}

void MainWindow::PageControlMainChange() {
  // 1. The print overlay box: only with an overlay and the background picture.
  if (printer_) printer_->ApplyOverlayEnabling();
  // 2.
  ShowWindow(H("ButtonUpdateWallpaper"), activeTab_ == MainTab::TabPrinter ? SW_HIDE : SW_SHOW);
  // 3. The default section can be neither renamed nor deleted.
  if (sections_) sections_->UpdateButtons();
  // 4.
  PanelPreviewResize();
  RedrawWindow(tabMain_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  // 5.
  if (activeTab_ == MainTab::TabPrinter) {
    // The page itself is drawn when the delay restarted by the layout runs out.
    if (printer_) printer_->TabShown();
    return;
  }
  if (activeTab_ == MainTab::TabDesktop) {
    RecolorSwatch("PanelBackgroundColor");
    RecolorSwatch("PanelIconColor");
  }
  UpdatePreviewFast();
}

void MainWindow::CalendarStatesChanged() {
  if (subscriptions_) subscriptions_->StatesChanged();
}

void MainWindow::RebuildSections() {
  if (sections_) sections_->Rebuild();
}

void MainWindow::PageControlCalendarChange() {
  if (TabCtrl_GetCurSel(tabCalendar_) == static_cast<int>(CalendarTab::TabCalendarCells))
    RecolorSwatch("PanelCalendarColor");
}

}  // namespace ov
