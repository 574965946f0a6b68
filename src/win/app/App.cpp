#include "win/app/App.h"

#include "core/settings/SettingsSchema.h"
#include "win/app/ApplicationWindow.h"
#include "win/app/MainForm.h"
#include "win/app/Reminders.h"
#include "win/config/FontDialog.h"
#include "win/desktop/Controller.h"
#include "win/desktop/DatePicker.h"
#include "win/desktop/EntryPopup.h"
#include "win/desktop/RepeatDialog.h"
#include "win/shell/TrayIcon.h"

namespace ov {

App::App() = default;
App::~App() = default;

void App::LoadSettings(const SettingsContext& ctx) { settings = ov::LoadSettings(SettingsStore, ctx, CodePage); }

bool App::SaveSettings() {
  if (Entries) settings.SubEntryName = Entries->CurrentSection();
  // The panel's wallpaper pixels mean a place on the screen only with the origin they
  // were measured against.
  const Point origin = Monitors.Origin();
  settings.CalendarOriginX = origin.x;
  settings.CalendarOriginY = origin.y;
  return ov::SaveSettings(SettingsStore, settings, CodePage);
}

void App::ShowDatePicker() {
  if (DatePicker) DatePicker->ShowFor(DisplayDate);
}

TFFont& App::FontChooser() {
  if (!FontDialog) {
    FontDialog = std::make_unique<TFFont>();
    FontDialog->Create(MainWindow ? MainWindow->Handle() : nullptr);
  }
  return *FontDialog;
}

TFRepeat& App::RepeatDialog() {
  if (!Repeat) {
    Repeat = std::make_unique<TFRepeat>([this](bool on) { settings.RepeatColorWithEntry = on; });
    Repeat->Create(AppWindow ? AppWindow->Handle() : nullptr);
  }
  return *Repeat;
}

void App::OpenEntryAtPoint(int32_t x, int32_t y) {
  if (const TDayCell* cell = CellAtScreenPoint(Cells, {x, y}, Monitors.Mapping())) OpenEntryForCell(*cell);
}

void App::OpenEntryForDate(double date) {
  if (const TDayCell* cell = Cells.CellForDate(date)) OpenEntryForCell(*cell);
}

void App::OpenEntryForCell(const TDayCell& cell) {
  if (EntryPopup || !Entries) return;
  // The pop-up is a window: it goes over the cell where the screen shows it.
  TFEntry::Open(*this, cell.Date, WallpaperToScreen(cell.Rect, Monitors.Mapping()));
}

}  // namespace ov
