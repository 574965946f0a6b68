#pragma once
// The entry sections on the tab "项目": the list view ListSections (one column, grid
// lines, whole-row selection, captions edited in place), the buttons that create, rename
// and delete sections, and the export of the active one as an iCalendar file. The
// decisions and texts are the core's (Sections.h, NotesExport.h).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ov {

struct App;

class SectionsPage {
 public:
  // refreshPreview redraws the configuration window's preview; sectionsChanged is told
  // after a rename or a deletion (the lists are rebuilt from the folders then).
  SectionsPage(App& app, std::function<void()> refreshPreview, std::function<void()> sectionsChanged)
      : app_(app), refreshPreview_(std::move(refreshPreview)), sectionsChanged_(std::move(sectionsChanged)) {}

  // Builds the group "部分" with its controls on `page` at (x, y, w, h), given in 96-dpi
  // units that `scale` turns into pixels; hint adds a tooltip to a control.
  void Create(HWND page, int x, int y, int w, int h, const std::function<int(int)>& scale, HFONT font,
              const std::function<void(HWND, const std::string&)>& hint);
  // Refills the list from the section folders and selects the active section.
  void Rebuild();
  // Rename and delete are enabled exactly when the active section is not the default one.
  void UpdateButtons();
  // The page's WM_COMMAND and WM_NOTIFY for these controls; true when handled.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  HWND List() const { return list_; }

 private:
  void CreateClick();
  void RenameClick();
  void DeleteClick();
  void SelectionChanged(int item);
  bool EndLabelEdit(int item, const wchar_t* text);
  std::string ItemText(int item) const;
  int SelectedItem() const;

  App& app_;
  std::function<void()> refreshPreview_, sectionsChanged_;
  HWND page_ = nullptr, list_ = nullptr, create_ = nullptr, rename_ = nullptr, delete_ = nullptr;
  bool rebuilding_ = false;
};

}  // namespace ov
