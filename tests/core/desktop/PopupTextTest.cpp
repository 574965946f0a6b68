#include <gtest/gtest.h>

#include "core/desktop/PopupText.h"

namespace ov {
namespace {

std::string Repeat(std::string_view piece, size_t times) {
  std::string s;
  s.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) s += piece;
  return s;
}

TEST(PopupText, UnitsAreTheEditControlsCount) {
  EXPECT_EQ(EditUnits(""), 0u);
  EXPECT_EQ(EditUnits("ab\ncd"), 6u);                   // LF shows as CR LF
  EXPECT_EQ(EditUnits("\xE4\xBC\x9A\xE8\xAE\xAE"), 2u);  // 会议
  EXPECT_EQ(EditUnits("\xF0\x9F\x98\x80"), 2u);          // one emoji, a surrogate pair
}

TEST(PopupText, ShownWholeWrappedUnwrappedOrCut) {
  const size_t max = kPopupMaxUnits, wrap = kPopupWrapUnits;
  struct Case {
    const char* what;
    std::string note;
    bool truncated, wrap;
    size_t shownBytes;  // of the note's beginning
  };
  const std::string lines = Repeat(std::string(99, 'x') + "\n", max / 101 + 50);
  const size_t linesFit = (max / 101) * 100;  // whole lines of 101 units that fit
  const Case cases[] = {
      {"short", "Meeting 10:30\nRoom 4", false, true, 20},
      {"exactly full", std::string(max, 'a'), false, false, max},
      {"longest wrapped line", std::string(wrap, 'a') + "\nb", false, true, wrap + 2},
      {"one unit longer", std::string("b\n").append(wrap + 1, 'a'), false, false, wrap + 3},
      {"a megabyte on one line", std::string(size_t(1) << 20, 'z'), true, false, max},
      {"many lines cut at a line end", lines, true, true, linesFit - 1},
      // 4-byte characters are two units each: the cut never splits one.
      {"emoji line", std::string("a").append(Repeat("\xF0\x9F\x98\x80", max)), true, false, 1 + 4 * ((max - 1) / 2)},
  };
  for (const Case& c : cases) {
    const PopupText shown = PopupTextFor(c.note);
    EXPECT_EQ(shown.truncated, c.truncated) << c.what;
    EXPECT_EQ(shown.wrap, c.wrap) << c.what;
    EXPECT_EQ(shown.text.size(), c.shownBytes) << c.what;
    EXPECT_EQ(shown.text, c.note.substr(0, shown.text.size())) << c.what;
    EXPECT_LE(EditUnits(shown.text), max) << c.what;
  }
}

}  // namespace
}  // namespace ov
