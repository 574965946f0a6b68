// The calendar tab: its four sub-tabs view, cells, shadow and fonts.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "core/render/Color.h"
#include "core/util/Paths.h"
#include "win/app/App.h"
#include "win/config/FontDialog.h"
#include "win/config/MainWindow.h"
#include "win/platform/Utf16.h"

namespace ov {

namespace {

// The image files the skin and overlay choosers offer.
const wchar_t kImageFilter[] =
    L"图像文件\0*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.emf;*.wmf;*.ico\0所有文件 (*.*)\0*.*\0";

}  // namespace

// Shared by the skin and overlay choosers: an open dialog in the given folder.
std::string ChooseImageFile(HWND owner, const std::string& current, const std::string& folder, const wchar_t* title) {
  wchar_t file[MAX_PATH * 2] = L"";
  std::wstring initial = Widen(folder);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kImageFilter;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH * 2;
  ofn.lpstrInitialDir = initial.c_str();
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  (void)current;
  if (!GetOpenFileNameW(&ofn)) return {};
  return Narrow(file);
}

void MainWindow::CreateCalendarViewPage(HWND p) {
  AddCheck(p, "CheckWeekNumbers", "星期号", 12, 10, 150, [this] {
    StoreBound("CheckWeekNumbers");
    UpdatePreview();
  });
  AddCheck(p, "CheckShowNextMonthCaption", "月份标题", 12, 34, 150, [this] {
    StoreBound("CheckShowNextMonthCaption");
    UpdatePreview();
  });
  SetHint(AddCheck(p, "CheckFloatingMonth", "浮动月份", 12, 58, 150, [this] { CheckFloatingMonthClick(); }),
          "定义当前月份从一号开始显示");
  AddLabel(p, "标题类型", 12, 92, 60);
  AddCombo(p, "ComboTitleMode", {"日期", "项目部分", "项目部分 + 日期"}, 76, 88, 120, [this] {
    StoreBound("ComboTitleMode");
    UpdatePreview();
  });
  // The Chinese calendar layer: lunar dates, festivals, solar terms and days off.
  AddCheck(p, "CheckShowLunar", "显示农历", 12, 116, 150, [this] {
    StoreBound("CheckShowLunar");
    UpdatePreview();
  });

  SetHint(AddLabel(p, "星期行数", 214, 14, 64), "显示星期行数");
  SetHint(AddSpin(p, "SpinWeekRows", 1, 50, 6, true, 282, 10, [this] {
            StoreBound("SpinWeekRows");
            UpdatePreviewFast();
          })->Handle(),
          "显示星期行数");
  SetHint(AddLabel(p, "已过星期", 214, 50, 64, 14, "LabPastWeeks"), "日历上显示的上个星期数");
  SetHint(AddSpin(p, "SpinPastWeeks", 0, 32, 0, true, 282, 46, [this] {
            StoreBound("SpinPastWeeks");
            UpdatePreviewFast();
          })->Handle(),
          "日历上显示的上个星期数");
  AddLabel(p, "开始星期", 214, 92, 64);
  SetHint(AddCombo(p, "ComboWeekDays", {}, 282, 88, 84, [this] {
            StoreBound("ComboWeekDays");
            UpdatePreviewFast();
          }),
          "选择您希望的星期的第一天。");
  // The subscribed calendars' event lines in the day cells (and on the printed page).
  AddCheck(p, "CheckShowEventLines", "显示订阅的事件", 214, 116, 160, [this] {
    StoreBound("CheckShowEventLines");
    UpdatePreview();
  });

  AddLabel(p, "默认假日", 392, 14, 64);
  HWND list = Add(p, "CheckDefaultHolidays", WC_LISTVIEWW, "",
                  LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | WS_TABSTOP, 460, 6, 92, 126, WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = Dpi(70);
  ListView_InsertColumn(list, 0, &column);
  SetHint(list, "星期天默认为红色");
}

void MainWindow::ShowWeekRows(int rows) {
  TFrEdit* spin = Spin("SpinWeekRows");
  if (!spin) return;
  // Only shown: the value is already the setting, and the desktop is being rebuilt.
  bool ready = app_.ControlsReady;
  app_.ControlsReady = false;
  spin->SetPosition(rows);
  app_.ControlsReady = ready;
}

void MainWindow::FillWeekdayControls() {
  HWND combo = H("ComboWeekDays");
  HWND list = H("CheckDefaultHolidays");
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  ListView_DeleteAllItems(list);
  for (int day = 1; day <= 7; ++day) {
    std::wstring name = Widen(app_.Locale.ShortDayName(day));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = day - 1;
    item.pszText = name.data();
    ListView_InsertItem(list, &item);
  }
  RECT rc;
  GetClientRect(list, &rc);
  ListView_SetColumnWidth(list, 0, rc.right);
}

void MainWindow::ShowHolidayChecks() {
  HWND list = H("CheckDefaultHolidays");
  bool ready = app_.ControlsReady;
  app_.ControlsReady = false;
  for (int i = 0; i < 7; ++i) ListView_SetCheckState(list, i, HolidayChecked(app_.settings.HolidayBits, i));
  app_.ControlsReady = ready;
}

void MainWindow::CheckDefaultHolidaysClickCheck(int item) {
  if (!app_.ControlsReady || item < 0 || item > 6) return;
  bool checked = ListView_GetCheckState(H("CheckDefaultHolidays"), item) != FALSE;
  app_.settings.HolidayBits = WithHoliday(app_.settings.HolidayBits, item, checked);
  UpdatePreview();
}

void MainWindow::CheckFloatingMonthClick() {
  StoreBound("CheckFloatingMonth");
  bool on = Checked("CheckFloatingMonth");
  EnableControl("SpinPastWeeks", on);
  EnableControl("LabPastWeeks", on);
  UpdatePreview();
}

void MainWindow::CreateCalendarCellsPage(HWND p) {
  SetHint(AddLabel(p, "透明", 12, 14, 70), "日历的透明级别");
  SetHint(AddSpin(p, "SpinCalendarAlpha", 0, 100, 50, true, 90, 10, [this] {
            StoreBound("SpinCalendarAlpha");
            UpdatePreviewFast();
          })->Handle(),
          "日历的透明级别");
  SetHint(AddLabel(p, "间隔", 12, 50, 70), "日期单元格之间的像素数量");
  SetHint(AddSpin(p, "SpinCellGap", 0, 10, 0, true, 90, 46, [this] {
            StoreBound("SpinCellGap");
            UpdatePreviewFast();
          })->Handle(),
          "日期单元格之间的像素数量");
  AddLabel(p, "框架对比度", 12, 86, 74);
  AddSpin(p, "SpinCellFrameContrast", -100, 100, 0, true, 90, 82, [this] {
    StoreBound("SpinCellFrameContrast");
    UpdatePreviewFast();
  });

  AddRadio(p, "RadioCellColor", "单元格颜色", 214, 14, 100, true, [this] {
    StoreBound("RadioCellColor");
    UpdatePreview();
  });
  SetHint(AddSwatch(p, "PanelCalendarColor", "选择颜色...", 320, 10, 110, 24, [this] { PanelCalendarColorClick(); }),
          "日历单元格的颜色。");
  AddRadio(p, "RadioCellImage", "单元格图像", 214, 50, 100, false, [this] {
    StoreBound("RadioCellImage");
    UpdatePreview();
  });
  SetChecked("RadioCellImage", true);
  SetHint(AddFileChooser(p, "OpenCalendarSkin", 320, 47, 236, [this] { OpenCalendarSkinClick(); }),
          "日历单元格的“皮肤”图像。");
}

void MainWindow::PanelCalendarColorClick() {
  uint32_t bgr = ToWinColor(app_.settings.CalendarColor);
  if (PickColor(bgr)) {
    app_.settings.CalendarColor = 0xFF000000u | ToArgb(bgr);
    RecolorSwatch("PanelCalendarColor");
    SetChecked("RadioCellColor", true);
    SetChecked("RadioCellImage", false);
    StoreBound("RadioCellColor");
  }
  UpdatePreview();
}

void MainWindow::OpenCalendarSkinClick() {
  std::string file = ChooseImageFile(hwnd_, app_.settings.CalendarSkinFilename,
                                     FolderText(app_.Folders.programFolder) + "Skin Images\\", nullptr);
  if (file.empty()) return;
  SetChecked("RadioCellImage", true);
  SetChecked("RadioCellColor", false);
  StoreBound("RadioCellImage");
  app_.settings.CalendarSkinFilename = file;
  SetPathText("OpenCalendarSkin", file);
  // The skin is reloaded; a file that does not decode leaves no skin.
  if (!app_.Decoder.Decode(app_.Skin, PathFromUtf8(file)).ok) app_.Skin.SetSize(0, 0);
  UpdatePreview();
}

void MainWindow::CreateCalendarShadowPage(HWND p) {
  AddCheck(p, "CheckCellShadow", "打开", 12, 10, 120, [this] { CheckCellShadowClick(); });
  AddLabel(p, "水平偏移", 12, 42, 74, 14, "LabShadow1");
  AddSpin(p, "SpinShadowX", -50, 50, 6, true, 90, 38, [this] {
    StoreBound("SpinShadowX");
    UpdatePreviewFast();
  });
  AddLabel(p, "垂直偏移", 12, 78, 74, 14, "LabShadow2");
  AddSpin(p, "SpinShadowY", -50, 50, 6, true, 90, 74, [this] {
    StoreBound("SpinShadowY");
    UpdatePreviewFast();
  });
  AddLabel(p, "透明", 214, 42, 60, 14, "LabShadow3");
  AddSpin(p, "SpinShadowAlpha", 0, 100, 50, true, 282, 38, [this] {
    StoreBound("SpinShadowAlpha");
    UpdatePreviewFast();
  });
}

void MainWindow::CheckCellShadowClick() {
  StoreBound("CheckCellShadow");
  bool on = Checked("CheckCellShadow");
  for (const char* n : {"SpinShadowX", "SpinShadowY", "SpinShadowAlpha", "LabShadow1", "LabShadow2", "LabShadow3"})
    EnableControl(n, on);
  UpdatePreview();
}

void MainWindow::CreateCalendarFontsPage(HWND p) {
  AddButton(p, "BCaptionFont", "标题", 12, 10, 100, 25, [this] { ChooseCalendarFont(true); });
  AddButton(p, "BtEntryFont", "项目", 12, 42, 100, 25, [this] { ChooseCalendarFont(false); });
  AddLabel(p, "输出类型", 140, 16, 64);
  AddCombo(p, "ComboTextOutMode", {"正常", "阴影", "边框线"}, 208, 12, 110, [this] {
    StoreBound("ComboTextOutMode");
    UpdatePreview();
  });
}

void MainWindow::ChooseCalendarFont(bool caption) {
  FontSpec& font = caption ? app_.settings.CaptionFont : app_.settings.EntryFont;
  app_.FontChooser().Execute(font);
  UpdatePreview();  // whether or not the dialog was confirmed
}

}  // namespace ov
