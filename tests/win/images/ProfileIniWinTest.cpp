#include <gtest/gtest.h>
#include <windows.h>

#include "core/images/ImageProps.h"
#include "core/images/ProfileIni.h"
#include "support/TempDir.h"
#include "win/platform/Utf16.h"
#include "win/platform/WinCodePage.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

// What the platform's profile functions read for a key; nullopt when they find none.
std::optional<std::string> WinGet(const fs::path& file, const std::string& section, const std::string& key) {
  wchar_t buf[512];
  const wchar_t* missing = L"\x1F<none>";
  GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), missing, buf, 512, file.c_str());
  std::wstring v = buf;
  if (v == missing) return std::nullopt;
  return Narrow(v);
}

bool WinSet(const fs::path& file, const std::string& section, const std::string& key, const std::string& value) {
  return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(), file.c_str());
}

class ProfileIniWinTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  WinCodePage codePage;
};

TEST_F(ProfileIniWinTest, ThePlatformReadsEveryPropertyWeWrite) {
  TImageProps p;
  p.Fit = false;
  p.Stretch = true;
  p.Zoom = 1234;
  p.OffsetX = -9999;
  p.OffsetY = 17;
  p.FlipHorz = p.Equalize = true;
  p.Contrast = -100;
  p.Brightness = 55;
  p.Gamma = -2.7;
  p.Red = 100;
  p.Green = -1;
  p.Blue = 3;
  ProfileIni ini;
  ImagePropsToIni(p, ini);
  ini.Set("Notes", "Text", "café");
  fs::path file = dir.Path() / "CRC_0badf00d.ini";
  ASSERT_TRUE(ini.Save(file, &codePage));

  const char* keys[][2] = {{"Misc", "Ver"},        {"Size", "stretch2"},    {"Size", "stretch3"},
                           {"Size", "stretch4"},   {"Size", "Magnify"},     {"Size", "OffsetX"},
                           {"Size", "OffsetY"},    {"Size", "FlipHorz"},    {"Color", "GrayScale"},
                           {"Color", "Equalize"},  {"Color", "DisableOverlay"}, {"Color", "Contrast"},
                           {"Color", "Brightness"}, {"Color", "Gamma"},     {"Color", "Red"},
                           {"Color", "Green"},     {"Color", "Blue"},       {"Notes", "Text"}};
  for (auto& k : keys) {
    auto ours = ini.Get(k[0], k[1]);
    ASSERT_TRUE(ours.has_value()) << k[1];
    EXPECT_EQ(WinGet(file, k[0], k[1]), ours) << k[0] << "/" << k[1];
  }
  EXPECT_EQ(WinGet(file, "Color", "Gamma"), "-2.7");
  EXPECT_EQ(WinGet(file, "Notes", "Text"), "café");
}

TEST_F(ProfileIniWinTest, WeReadWhatThePlatformWrites) {
  fs::path file = dir.Path() / "written.ini";
  ASSERT_TRUE(WinSet(file, "Misc", "Ver", "30"));
  ASSERT_TRUE(WinSet(file, "Size", "Magnify", "150"));
  ASSERT_TRUE(WinSet(file, "Color", "Gamma", "1.5"));
  ASSERT_TRUE(WinSet(file, "Size", "OffsetX", "-40"));  // into an earlier section
  ASSERT_TRUE(WinSet(file, "Size", "Magnify", "175"));  // replaced
  ASSERT_TRUE(WinSet(file, "Color", "Text", "café"));

  ProfileIni ini = ProfileIni::Load(file, &codePage);
  EXPECT_EQ(ini.Get("Misc", "Ver"), "30");
  EXPECT_EQ(ini.Get("Size", "Magnify"), "175");
  EXPECT_EQ(ini.Get("Size", "OffsetX"), "-40");
  EXPECT_EQ(ini.Get("Color", "Gamma"), "1.5");
  EXPECT_EQ(ini.Get("Color", "Text"), "café");
  TImageProps p = ImagePropsFromIni(ini);
  EXPECT_EQ(p.Zoom, 175);
  EXPECT_EQ(p.OffsetX, -40);
  EXPECT_EQ(p.Gamma, 1.5);

  // Our edits of a file the platform wrote read back through the platform, and the
  // platform's edits of our file through us.
  ini.Set("Size", "OffsetY", "9");
  ini.Set("Size", "Magnify", "200");
  ASSERT_TRUE(ini.Save(file, &codePage));
  EXPECT_EQ(WinGet(file, "Size", "OffsetY"), "9");
  EXPECT_EQ(WinGet(file, "Size", "Magnify"), "200");
  EXPECT_EQ(WinGet(file, "Size", "OffsetX"), "-40");
  EXPECT_EQ(WinGet(file, "Color", "Text"), "café");
  ASSERT_TRUE(WinSet(file, "Size", "OffsetY", "-9"));
  ASSERT_TRUE(WinSet(file, "Misc", "Extra", "x"));
  ProfileIni again = ProfileIni::Load(file, &codePage);
  EXPECT_EQ(again.Get("Size", "OffsetY"), "-9");
  EXPECT_EQ(again.Get("Misc", "Extra"), "x");
  EXPECT_EQ(again.Get("Size", "Magnify"), "200");
}

TEST_F(ProfileIniWinTest, HandEditedFilesReadTheSameBothWays) {
  const std::string text =
      "[Size]\r\n"
      "  Magnify =  250  \r\n"
      "offsetx=\"-12\"\r\n"
      "OffsetY='7'\r\n"
      "FlipHorz=1\r\n"
      "FlipHorz=0\r\n"
      "Empty=\r\n"
      "\r\n"
      "[color]\n"
      "Gamma=0.5\n"
      "Red = \"a\n";
  fs::path file = dir.Path() / "hand.ini";
  test::WriteFile(file, text);
  ProfileIni ini = ProfileIni::Load(file, &codePage);
  const char* keys[][2] = {{"Size", "Magnify"}, {"Size", "OffsetX"}, {"SIZE", "offsety"}, {"Size", "FlipHorz"},
                           {"Size", "Empty"},   {"Color", "Gamma"},  {"Color", "Red"},     {"Size", "Missing"},
                           {"Nothing", "Gamma"}};
  for (auto& k : keys) EXPECT_EQ(ini.Get(k[0], k[1]), WinGet(file, k[0], k[1])) << k[0] << "/" << k[1];
}

TEST_F(ProfileIniWinTest, UnicodeFilesStayReadableByThePlatform) {
  // A file the user saved as UTF-16: our edit keeps it UTF-16 and the platform reads it.
  std::wstring w = L"\xFEFF[Color]\r\nText=中文\r\n";
  test::WriteFile(dir.Path() / "u.ini", std::string(reinterpret_cast<const char*>(w.data()), w.size() * 2));
  ProfileIni ini = ProfileIni::Load(dir.Path() / "u.ini", &codePage);
  EXPECT_EQ(ini.Get("Color", "Text"), "中文");
  ini.Set("Color", "Red", "5");
  ASSERT_TRUE(ini.Save(dir.Path() / "u.ini", &codePage));
  EXPECT_EQ(WinGet(dir.Path() / "u.ini", "Color", "Text"), "中文");
  EXPECT_EQ(WinGet(dir.Path() / "u.ini", "Color", "Red"), "5");
}

}  // namespace
}  // namespace ov
