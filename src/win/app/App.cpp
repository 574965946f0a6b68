#include "win/app/App.h"

#include "core/settings/SettingsSchema.h"
#include "win/app/ApplicationWindow.h"
#include "win/app/MainForm.h"
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
  return ov::SaveSettings(SettingsStore, settings, CodePage);
}

void App::ShowDatePicker() {
  if (DatePicker) DatePicker->ShowFor(DisplayDate);
}

void App::OpenEntryAtPoint(int32_t x, int32_t y) {
  if (EntryPopup || !Entries) return;
  if (const TDayCell* cell = Cells.CellAtPoint(x, y)) TFEntry::Open(*this, cell->Date, cell->Rect);
}

void App::OpenEntryForDate(double date) {
  if (const TDayCell* cell = Cells.CellForDate(date)) OpenEntryAtPoint(cell->Rect.left, cell->Rect.top + 1);
}

}  // namespace ov
