#include "win/ical/ExportIcsDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <ctime>

#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/desktop/PopupPlacement.h"
#include "win/app/App.h"
#include "win/app/ApplicationWindow.h"
#include "win/platform/DateConvert.h"
#include "win/platform/ShellFolders.h"
#include "win/platform/Utf16.h"
#include "win/ui/MessageBoxes.h"
#include "win/wallpaper/Monitors.h"

namespace ov {

namespace {

enum : int { kIdFrom = 300, kIdTo = 301 };
constexpr int kClientWidth = 300, kClientHeight = 132;

void SetPicker(HWND picker, int64_t day) {
  SYSTEMTIME st = SystemTimeFromDays(double(day));
  DateTime_SetSystemtime(picker, GDT_VALID, &st);
}

int64_t PickerDay(HWND picker, int64_t fallback) {
  SYSTEMTIME st{};
  return DateTime_GetSystemtime(picker, &st) == GDT_VALID ? int64_t(DayNumber(DaysFromSystemTime(st))) : fallback;
}

// The file to write, from the system's save dialog; empty when cancelled.
std::wstring AskFileName(HWND owner, const std::string& section) {
  std::wstring filter = Widen(kExportIcsFilter);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  std::wstring file(MAX_PATH * 4, L'\0');
  Widen(DefaultExportFileName(section)).copy(file.data(), file.size() - 1);
  const std::wstring title = Widen(kExportIcsDialogCaption);
  // Documents to start with; later the folder the system remembers for this dialog.
  const std::wstring documents = GetSpecialFolder(SpecialFolder::MyDocuments).wstring();
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrInitialDir = documents.empty() ? nullptr : documents.c_str();
  ofn.lpstrDefExt = L"ics";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!GetSaveFileNameW(&ofn)) return {};
  return file.c_str();
}

}  // namespace

bool TFExportIcs::Create(HWND owner, const std::string& section, DayRange range) {
  range_ = range;
  if (!CreateDialogWindow(L"TFExportIcs", Widen(kExportIcsDialogCaption), kClientWidth, kClientHeight, owner, nullptr,
                          0))
    return false;
  AddLabel(Widen("部分: " + section), 12, 12, 276, 18);
  AddGroup(L"日期范围", 8, 34, 284, 58);
  AddLabel(L"从", 18, 60, 20, 18);
  from_ = AddControl(DATETIMEPICK_CLASSW, L"", WS_TABSTOP | DTS_SHORTDATEFORMAT, 40, 56, 104, 24, kIdFrom);
  AddLabel(L"到", 156, 60, 20, 18);
  to_ = AddControl(DATETIMEPICK_CLASSW, L"", WS_TABSTOP | DTS_SHORTDATEFORMAT, 178, 56, 104, 24, kIdTo);
  SetPicker(from_, range.first);
  SetPicker(to_, range.last);
  AddButton(L"导出...", 136, 100, 75, 25, IDOK, true);
  AddButton(L"取消", 217, 100, 75, 25, IDCANCEL);
  defaultButton_ = IDOK;
  return true;
}

void TFExportIcs::OnCommand(int id, int code, HWND control) {
  if (id == IDOK) {
    const DayRange chosen{PickerDay(from_, range_.first), PickerDay(to_, range_.last)};
    // A range the export would refuse is told here, and the dialog stays for a correction.
    const std::string problem = ExportRangeProblem(chosen);
    if (!problem.empty()) {
      ErrorBox(Handle(), problem);
      SetFocus(to_);
      return;
    }
    range_ = chosen;
    EndDialog(IDOK);
  } else if (id == IDCANCEL) {
    EndDialog(IDCANCEL);
  }
}

void ExportNotesAsIcs(App& app, HWND owner) {
  // The desktop menus stay usable while the dialogs are open: one export at a time.
  static bool running = false;
  if (running || !app.Entries) return;
  running = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{running};

  const std::string section = app.Entries->CurrentSection();
  HWND parent = owner ? owner : (app.AppWindow ? app.AppWindow->Handle() : nullptr);
  TFExportIcs dialog;
  if (!dialog.Create(parent, section, DefaultExportRange(DayNumber(app.Clock.Now())))) return;
  // Centred on the pointer (where the menu or the button was), inside its monitor's work area.
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT wr;
  GetWindowRect(dialog.Handle(), &wr);
  const Point pointer{static_cast<int32_t>(cursor.x), static_cast<int32_t>(cursor.y)};
  const Point at = CenterOnPointKeptInArea(
      pointer, {static_cast<int32_t>(wr.right - wr.left), static_cast<int32_t>(wr.bottom - wr.top)}, WorkAreaAt(pointer));
  SetWindowPos(dialog.Handle(), HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE);
  const bool confirmed = dialog.ShowModal(parent) == IDOK;
  const DayRange range = dialog.Range();
  dialog.Destroy();
  if (!confirmed) return;

  const std::wstring file = AskFileName(parent, section);
  if (file.empty()) return;
  const ExportOutcome r = ExportNotesToFile(*app.Entries, range, std::filesystem::path(file), int64_t(std::time(nullptr)));
  if (r.status == ExportStatus::WriteFailed || r.status == ExportStatus::BadRange)
    ErrorBox(parent, r.message);
  else
    InfoBox(parent, r.message);
}

}  // namespace ov
