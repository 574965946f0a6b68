#include "core/desktop/EntryEditMenu.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

// The menu as one line: captions (shortcuts dropped), "-" for separators, a trailing "!"
// on disabled items.
std::string Shown(const std::vector<EditMenuItem>& items) {
  std::string out;
  for (const EditMenuItem& i : items) {
    if (!out.empty()) out += ' ';
    if (i.command == EditCommand::Separator) {
      out += '-';
      continue;
    }
    out += i.caption.substr(0, i.caption.find('\t'));
    if (!i.enabled) out += '!';
  }
  return out;
}

TEST(EntryEditMenu, OffersWhatEveryTextFieldOffersForTheState) {
  struct Case {
    EditMenuState state;
    const char* shown;
  };
  const Case cases[] = {
      {{}, "撤销! - 粘贴! - 全选!"},
      {{true, false, true, true}, "撤销 - 粘贴 - 全选"},
      {{false, true, false, true}, "撤销! - 复制 剪切 粘贴! - 全选"},
  };
  for (const Case& c : cases) EXPECT_EQ(Shown(EntryEditMenu(c.state)), c.shown);
}

TEST(EntryEditMenu, ShortcutsAreTheSystemsOwn) {
  std::string shortcuts;
  for (const EditMenuItem& i : EntryEditMenu({true, true, true, true}))
    if (i.command != EditCommand::Separator) shortcuts += i.caption.substr(i.caption.find('\t') + 1) + ' ';
  EXPECT_EQ(shortcuts, "Ctrl+Z Ctrl+C Ctrl+X Ctrl+V Ctrl+A ");
}

}  // namespace
}  // namespace ov
