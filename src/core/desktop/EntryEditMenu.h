#pragma once
// The text-editing items of the entry pop-up's menu: the ones every text field offers
// (undo, the clipboard, select all) in the system's order and with its shortcuts.
#include <string>
#include <vector>

namespace ov {

enum class EditCommand { Separator, Undo, Copy, Cut, Paste, SelectAll };

struct EditMenuItem {
  EditCommand command = EditCommand::Separator;
  std::string caption;  // UTF-8, the shortcut after a tab
  bool enabled = true;
};

struct EditMenuState {
  bool canUndo = false;           // the field has an edit to take back
  bool hasSelection = false;
  bool clipboardHasText = false;
  bool hasText = false;
};

// Undo, a separator, copy and cut (only with a selection), paste (enabled only when the
// clipboard holds text), a separator and select all (enabled when there is text).
std::vector<EditMenuItem> EntryEditMenu(const EditMenuState& state);

}  // namespace ov
