#pragma once
// "导出为 .ics": the date range of the notes to export, then the file to write them to.
#include <windows.h>

#include "core/ical/NotesExport.h"
#include "win/ui/Dialog.h"

namespace ov {

struct App;

class TFExportIcs final : public Dialog {
 public:
  // Builds the dialog for the section's name and the range it starts with.
  bool Create(HWND owner, const std::string& section, DayRange range);
  // The range chosen when the dialog ended with IDOK.
  DayRange Range() const { return range_; }

 protected:
  void OnCommand(int id, int code, HWND control) override;

 private:
  DayRange range_;
  HWND from_ = nullptr, to_ = nullptr;
};

// The whole export of the active section's notes: the range dialog, the save dialog, the
// writing and the message that says how it went. owner nullptr: no window of the
// program is in front (a desktop menu).
void ExportNotesAsIcs(App& app, HWND owner);

}  // namespace ov
