#include <gtest/gtest.h>

#include <algorithm>

#include "core/shell/Autostart.h"

namespace ov {
namespace {

TEST(Autostart, ArgumentsForEveryCombination) {
  struct Case {
    bool quit;
    int delay;
    const char* args;
  } cases[] = {
      {true, 0, "/quit"},          {false, 0, ""},         {true, 5, "/quit /delay 5"},
      {false, 5, " /delay 5"},     {true, 30, "/quit /delay 30"},
      {false, 99, " /delay 30"},   {true, -4, "/quit"},  // outside 0..30: held to it
  };
  for (const Case& c : cases) EXPECT_EQ(AutostartArguments(c.quit, c.delay), c.args) << c.quit << " " << c.delay;
}

TEST(Autostart, ManifestIsTwentyOneTabIndentedCrLfLines) {
  const std::string& m = VisualStylesManifest();
  EXPECT_EQ(std::count(m.begin(), m.end(), '\n'), 21);
  EXPECT_EQ(std::count(m.begin(), m.end(), '\r'), 21);
  EXPECT_EQ(m.substr(0, 57), "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n");
  EXPECT_NE(m.find("\r\n\t\t\t\tname=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"\r\n"), std::string::npos);
  EXPECT_NE(m.find("\r\n\t\t\t\tpublicKeyToken=\"6595b64144ccf1df\"\r\n\t\t\t\tlanguage=\"*\"\r\n\t\t\t/>\r\n"),
            std::string::npos);
  EXPECT_EQ(m.substr(m.size() - 13), "</assembly>\r\n");
  // Tabs only at the start of a line, never spaces.
  EXPECT_EQ(m.find("\n "), std::string::npos);
  EXPECT_EQ(m.size(), 613u);  // the 21 lines, their tabs and line ends
}

}  // namespace
}  // namespace ov
