#include "core/desktop/EntryEditMenu.h"

namespace ov {

std::vector<EditMenuItem> EntryEditMenu(const EditMenuState& state) {
  using C = EditCommand;
  std::vector<EditMenuItem> items;
  items.push_back({C::Undo, "撤销\tCtrl+Z", state.canUndo});
  items.push_back({});
  if (state.hasSelection) {
    items.push_back({C::Copy, "复制\tCtrl+C", true});
    items.push_back({C::Cut, "剪切\tCtrl+X", true});
  }
  items.push_back({C::Paste, "粘贴\tCtrl+V", state.clipboardHasText});
  items.push_back({});
  items.push_back({C::SelectAll, "全选\tCtrl+A", state.hasText});
  return items;
}

}  // namespace ov
