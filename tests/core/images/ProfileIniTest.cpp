#include <gtest/gtest.h>

#include "core/images/ProfileIni.h"
#include "core/platform/CodePage.h"
#include "support/TempDir.h"

namespace ov {
namespace {

TEST(ProfileIni, ReadsWhatTheProfileFunctionsWrite) {
  ProfileIni ini = ProfileIni::Parse("[Misc]\r\nVer=30\r\n[Size]\r\nstretch2=1\r\nMagnify=150\r\n");
  EXPECT_TRUE(ini.HasSection("Misc"));
  EXPECT_TRUE(ini.HasSection("size")) << "section names ignore case";
  EXPECT_FALSE(ini.HasSection("Color"));
  EXPECT_EQ(ini.Get("Misc", "Ver"), "30");
  EXPECT_EQ(ini.Get("SIZE", "MAGNIFY"), "150");
  EXPECT_EQ(ini.Get("Size", "Ver"), std::nullopt);
  EXPECT_EQ(ini.Get("Color", "Gamma"), std::nullopt);
}

TEST(ProfileIni, ToleratesHandEditedText) {
  ProfileIni ini = ProfileIni::Parse(
      "orphan=1\n"            // before any section: not reachable
      "  [ Size ]  \n"        // blanks around and inside the brackets
      "; comment=5\n"
      "  OffsetX  =  -12  \n"
      "Quoted=\"a b\"\n"
      "Single='x'\n"
      "Lone=\"\n"
      "novalue\n"
      "Empty=\n"
      "OffsetX=99\n"          // the first key wins
      "[Size]\n"
      "OffsetY=7\n"           // a repeated section is not searched
      "[Other\n"              // not a header: no closing bracket
      "\x1a");
  EXPECT_FALSE(ini.Get("", "orphan").has_value());
  EXPECT_EQ(ini.Get("Size", "OffsetX"), "-12");
  EXPECT_EQ(ini.Get("Size", "Quoted"), "a b");
  EXPECT_EQ(ini.Get("Size", "Single"), "x");
  EXPECT_EQ(ini.Get("Size", "Lone"), "\"");
  EXPECT_EQ(ini.Get("Size", "Empty"), "");
  EXPECT_FALSE(ini.Get("Size", "novalue").has_value());
  EXPECT_FALSE(ini.Get("Size", "; comment").has_value());
  EXPECT_FALSE(ini.Get("Size", "OffsetY").has_value());
  EXPECT_FALSE(ini.HasSection("Other"));
}

TEST(ProfileIni, SetReplacesInPlaceAndKeepsEverythingElse) {
  ProfileIni ini = ProfileIni::Parse("; made by hand\r\n[Size]\r\nOffsetX = 5\r\nKeep=me\r\n\r\n[Color]\r\nRed=1\r\n");
  ini.Set("size", "offsetx", "-3");
  ini.Set("Size", "Magnify", "200");
  ini.Set("Misc", "Ver", "30");
  EXPECT_EQ(ini.Serialize(),
            "; made by hand\r\n[Size]\r\noffsetx=-3\r\nKeep=me\r\nMagnify=200\r\n\r\n[Color]\r\nRed=1\r\n"
            "[Misc]\r\nVer=30\r\n");
}

TEST(ProfileIni, NewFileHasTheProfileFunctionsLayout) {
  ProfileIni ini;
  ini.Set("Misc", "Ver", "30");
  ini.Set("Size", "stretch2", "1");
  ini.Set("Size", "stretch3", "0");
  EXPECT_EQ(ini.Serialize(), "[Misc]\r\nVer=30\r\n[Size]\r\nstretch2=1\r\nstretch3=0\r\n");
  ProfileIni again = ProfileIni::Parse(ini.Serialize());
  EXPECT_EQ(again.Get("Size", "stretch3"), "0");
}

TEST(ProfileIni, KeepsTheEncodingOfUnicodeFiles) {
  // UTF-16 LE with a byte-order mark: "[Size]\r\nA=1\r\n".
  std::string utf16("\xFF\xFE", 2);
  for (char c : std::string("[Size]\r\nA=1\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  ProfileIni ini = ProfileIni::Parse(utf16);
  EXPECT_EQ(ini.Get("Size", "A"), "1");
  ini.Set("Size", "B", "2");
  std::string out = ini.Serialize();
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(out.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(ProfileIni::Parse(out).Get("Size", "B"), "2");

  ProfileIni be = ProfileIni::Parse(std::string("\xFE\xFF\0[\0S\0]\0\n\0k\0=\x4E\x2D", 16));
  EXPECT_EQ(be.Get("S", "k"), "中");

  ProfileIni utf8 = ProfileIni::Parse("\xEF\xBB\xBF[S]\nk=中\n");
  EXPECT_EQ(utf8.Get("S", "k"), "中");
  EXPECT_EQ(utf8.Serialize().substr(0, 3), "\xEF\xBB\xBF");
}

TEST(ProfileIni, AnsiFilesGoThroughTheCodePage) {
  Latin1CodePage cp;
  ProfileIni ini = ProfileIni::Parse("[S]\r\nk=caf\xE9\r\n", &cp);
  EXPECT_EQ(ini.Get("S", "k"), "café");
  EXPECT_EQ(ini.Serialize(&cp), "[S]\r\nk=caf\xE9\r\n");
  // A character the code page cannot hold: the file becomes UTF-16 rather than lose it.
  ini.Set("S", "k", "中");
  std::string out = ini.Serialize(&cp);
  EXPECT_EQ(out.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(ProfileIni::Parse(out, &cp).Get("S", "k"), "中");
}

TEST(ProfileIni, LoadAndSave) {
  test::TempDir dir;
  ProfileIni missing = ProfileIni::Load(dir.Path() / "none.ini");
  EXPECT_FALSE(missing.HasSection("Misc"));
  ProfileIni ini;
  ini.Set("Misc", "Ver", "30");
  ASSERT_TRUE(ini.Save(dir.Path() / "a.ini"));
  EXPECT_EQ(test::ReadFile(dir.Path() / "a.ini"), "[Misc]\r\nVer=30\r\n");
  EXPECT_FALSE(ini.Save(dir.Path() / "no-such-folder" / "a.ini"));
}

}  // namespace
}  // namespace ov
